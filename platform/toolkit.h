// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"
#include "windowdef.h"

#include <string_view>

namespace tessaro
{

class Window;

// What a window reports to the program's handlers. Every call arrives on the
// user-interface thread, one at a time.
class WindowEvents
{
public:
    virtual ~WindowEvents() = default;
    // After the elements exist, before the window is first shown.
    virtual void onLoad(Window &) {}
    // A button or check box was clicked (for a check box: after its Value changed).
    virtual void onClick(Window &, ElementKey) {}
    // A timer element fired.
    virtual void onTimer(Window &, ElementKey) {}
    // The window went away (closed by the user or unloaded by code). The
    // Window object must not be used after this call.
    virtual void onUnloaded() {}
};

// A loaded window. It is also the element interface of its elements.
class Window : public Elements
{
public:
    virtual void setTitle(std::string_view title) = 0;
    // Shows the window modeless, without an owner.
    virtual void show() = 0;
    // Closes the window and destroys its elements; reports onUnloaded().
    virtual void unload() = 0;
};

// The window toolkit as the program sees it.
class Toolkit
{
public:
    virtual ~Toolkit() = default;
    // Builds a window and its elements from the description, runs the
    // handlers' onLoad(), and returns it hidden. The toolkit owns the window.
    virtual Window &load(const WindowDef &def, WindowEvents &events) = 0;
    // Ends the program at once: every window closes, the event loop returns 0.
    virtual void endProgram() = 0;
    // A message box with one OK button and no icon; returns when closed.
    virtual void messageBox(std::string_view text, std::string_view title) = 0;
};

} // namespace tessaro
