// SPDX-License-Identifier: GPL-3.0-or-later
// A toolkit that keeps windows as plain records of what was written to them.
#pragma once

#include "toolkit.h"

#include <memory>
#include <string>
#include <vector>

namespace tessaro::testing
{

class FakeWindow final : public Window
{
public:
    FakeWindow(const WindowDef &windowDef, WindowEvents &handlers)
        : def(windowDef), events(handlers)
    {
    }

    void setCaption(ElementKey key, std::string_view text) override
    {
        writes.push_back(std::string(key.name) + "=" + std::string(text));
    }
    void setBackColor(ElementKey, Colour) override {}
    void setVisible(ElementKey, bool) override {}
    void setBorderStyle(ElementKey, int) override {}
    int value(ElementKey) const override { return 0; }
    void setTitle(std::string_view text) override
    {
        writes.push_back("title=" + std::string(text));
    }
    void show() override { ++shows; }
    void unload() override
    {
        loaded = false;
        events.onUnloaded();
    }

    const WindowDef &def;
    WindowEvents &events;
    std::vector<std::string> writes;
    int shows = 0;
    bool loaded = true;
};

class FakeToolkit final : public Toolkit
{
public:
    Window &load(const WindowDef &def, WindowEvents &events) override
    {
        windows.push_back(std::make_unique<FakeWindow>(def, events));
        events.onLoad(*windows.back());
        return *windows.back();
    }
    void endProgram() override {}
    void messageBox(std::string_view, std::string_view) override {}

    [[nodiscard]] int loadedWindows() const
    {
        int count = 0;
        for (const auto &window : windows)
            count += window->loaded ? 1 : 0;
        return count;
    }
    void click(std::string_view name) { windows.back()->events.onClick(*windows.back(), {name}); }

    std::vector<std::unique_ptr<FakeWindow>> windows;
};

} // namespace tessaro::testing
