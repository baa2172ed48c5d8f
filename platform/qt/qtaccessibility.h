// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "accessibility.h"

#include <vector>

class QWidget;

namespace tessaro::qt
{

// Lets screen readers read the painted labels, cells, the web-address box
// and the picture: their roles, names, values and descriptions come from
// the window's accessibility model, the same as on every toolkit. The main
// window is a frame and a dialog a dialog.
void installAccessibility();

// Hands a window's widgets (by model position) to their accessible objects,
// and takes them back before the widgets go.
void attachAccessible(const AccessibleWindow &window, const std::vector<QWidget *> &widgets);
void detachAccessible(const std::vector<QWidget *> &widgets);

// The property of a window's top-level widget that marks a dialog frame: a
// dialog is a window of its own here, not a Qt::Dialog, yet a dialog to a
// screen reader.
inline constexpr char dialogFrameProperty[] = "tessaroDialogFrame";

// Tells an active screen reader of a name change, when the accessibility
// model says it is one.
void notifyNameChanged(QWidget *widget, AccessibleEvent event);

// Tells an active screen reader that an element was shown or hidden, as the
// change of its "visible" state besides Qt's own change of "showing".
void notifyVisibleChanged(QWidget *widget, bool visible);

} // namespace tessaro::qt
