// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tessaro::qt
{

// Lets screen readers read the painted labels and cells: a label reports its
// accessible name (or its text) as name and its text as description; cells
// are labels too; the web-address box is named by its address; the main
// window is a frame and a dialog a dialog whose description is its text.
void installAccessibility();

// The property of a window's top-level widget that marks a dialog frame: a
// dialog is a window of its own here, not a Qt::Dialog, yet a dialog to a
// screen reader.
inline constexpr char dialogFrameProperty[] = "tessaroDialogFrame";

// Tells an active screen reader that a label's text changed.
void notifyDescriptionChanged(QWidget *widget);

// Tells an active screen reader that an element was shown or hidden, as the
// change of its "visible" state besides Qt's own change of "showing".
void notifyVisibleChanged(QWidget *widget, bool visible);

} // namespace tessaro::qt
