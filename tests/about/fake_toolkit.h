// SPDX-License-Identifier: GPL-3.0-or-later
// A toolkit that keeps windows as plain records, for the dialog's handlers.
#pragma once

#include "toolkit.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tessaro::testing
{

class FakeWindow final : public Window
{
public:
    FakeWindow(const WindowSpec &windowSpec, WindowEvents &events)
        : spec(windowSpec), events_(events)
    {
        for (const ElementSpec &element : windowSpec.elements)
            captions[std::string(element.key.name)] = std::string(element.caption);
    }

    void setCaption(ElementKey key, std::string_view text) override
    {
        captions.at(std::string(key.name)) = text;
        writes.push_back(std::string(key.name) + "=" + std::string(text));
    }
    void setBackColor(ElementKey, Colour) override {}
    void setVisible(ElementKey, bool) override {}
    void setBorderStyle(ElementKey, int) override {}
    int value(ElementKey) const override { return 0; }

    void setTitle(std::string_view text) override
    {
        title = text;
        writes.push_back("title=" + title);
    }
    void show() override { ++shows; }
    void unload() override
    {
        loaded = false;
        events_.onUnloaded();
    }

    // The user clicks an element.
    void click(std::string_view name) { events_.onClick(*this, {name}); }

    const WindowSpec &spec;
    std::map<std::string, std::string> captions;
    std::vector<std::string> writes;
    std::string title;
    int shows = 0;
    bool loaded = true;

private:
    WindowEvents &events_;
};

class FakeToolkit final : public Toolkit
{
public:
    Window &load(const WindowSpec &spec, WindowEvents &events) override
    {
        windows.push_back(std::make_unique<FakeWindow>(spec, events));
        events.onLoad(*windows.back());
        return *windows.back();
    }
    void endProgram() override { ended = true; }
    void messageBox(std::string_view text, std::string_view title) override
    {
        messages.push_back(std::string(title) + ": " + std::string(text));
    }

    [[nodiscard]] std::size_t loadedWindows() const
    {
        std::size_t count = 0;
        for (const auto &window : windows)
            count += window->loaded ? 1 : 0;
        return count;
    }
    FakeWindow &last() { return *windows.back(); }

    std::vector<std::unique_ptr<FakeWindow>> windows;
    std::vector<std::string> messages;
    bool ended = false;
};

} // namespace tessaro::testing
