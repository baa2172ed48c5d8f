// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "toolkit.h"
#include "windowmodel.h"

#include <functional>
#include <memory>
#include <vector>

namespace tessaro
{

class WindowHost;

// A loaded window as every toolkit builds it: the element interface over the
// window model, the handlers' events and the window's life. A toolkit
// derives from it, creates its widgets from model() and shows each change it
// is told of; writes that change nothing never reach it.
class ModelWindow : public Window
{
public:
    ModelWindow(const WindowDef &def, WindowEvents &events, WindowHost &host);
    ~ModelWindow() override;
    ModelWindow(const ModelWindow &) = delete;
    ModelWindow &operator=(const ModelWindow &) = delete;

    // Runs the handlers' onLoad(), then starts the timers.
    void load();

    void setCaption(ElementKey key, std::string_view text) final;
    void setBackColor(ElementKey key, Colour colour) final;
    void setVisible(ElementKey key, bool visible) final;
    void setBorderStyle(ElementKey key, int style) final;
    [[nodiscard]] int value(ElementKey key) const final;
    void setAccessibleName(ElementKey key, std::string_view name) final;
    // Keeps the window's own description (empty key); an element key is
    // checked but kept nowhere, as elements carry no description yet.
    void setAccessibleDescription(ElementKey key, std::string_view text) final;
    void unload() final;

    [[nodiscard]] const WindowModel &model() const { return m_model; }
    [[nodiscard]] bool isUnloaded() const { return m_unloaded; }

protected:
    // The toolkit's part.
    virtual void showChange(std::size_t element, Change change) = 0;
    virtual void startTimer(std::size_t element, int intervalMs) = 0;
    virtual void stopTimers() = 0;
    virtual void closeNativeWindow() = 0;
    // The window's description changed; a toolkit without accessibility
    // has nothing to show.
    virtual void showAccessibleDescription() {}

    // What the toolkit reports of its widgets.
    void clicked(std::size_t element);
    // A check box changed by any means (mouse, keyboard, an accessibility
    // action): its handler runs once for each real change.
    void valueChanged(std::size_t element, int value);
    void timerFired(std::size_t element);

private:
    template <typename Write> void write(ElementKey key, Change change, Write &&write);

    WindowModel m_model;
    WindowEvents &m_events;
    WindowHost &m_host;
    bool m_unloaded = false;
};

// Owns the loaded windows of a toolkit. A window may be unloaded from inside
// one of its own handlers; it is destroyed once that handler has returned.
class WindowHost
{
public:
    virtual ~WindowHost();

    // Takes the window, runs its load, and returns it.
    ModelWindow &adopt(std::unique_ptr<ModelWindow> window);
    // Called by an unloaded window: destroyed on a later turn of the event loop.
    void release(ModelWindow &window);

protected:
    // Runs `task` once the event being handled has been handled.
    virtual void runLater(std::function<void()> task) = 0;
    // Destroys every window at once, for a toolkit that goes away.
    void destroyAll();

private:
    void destroyReleased();

    std::vector<std::unique_ptr<ModelWindow>> m_windows;
    std::vector<std::unique_ptr<ModelWindow>> m_released;
};

} // namespace tessaro
