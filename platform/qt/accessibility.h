// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tessaro::qt {

// Lets screen readers read the painted labels and cells: a label reports its
// accessible name (or its text) as name and its text as description, so a
// decimal readout exposes its current value.
void installAccessibility();

// Tells an active screen reader that a label's text changed.
void notifyDescriptionChanged(QWidget *widget);

} // namespace tessaro::qt
