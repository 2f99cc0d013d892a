#pragma once
// Where Tab takes the keyboard's focus among the window's controls: in the
// layout's reading order, and round within an open panel, which holds the
// focus until it closes. Private to platform_ui_qt; main thread.

#include <vector>

class QWidget;

namespace platform::ui::qt {

// The controls under `widget` that Tab stops at (shown, enabled, taking the
// focus from the keyboard), in creation order, which is the layout's reading order.
std::vector<QWidget*> tabStopsIn(QWidget* widget);

// Gives the focus to the first of them; false when there is none.
bool focusFirstControl(QWidget* widget);

// Moves the focus to the stop after (or before) the focused one under `panel`,
// from the last round to the first and back; from outside the panel, to its
// first (or last). False when the panel has no stop.
bool focusNextWithin(QWidget* panel, bool forward);

}  // namespace platform::ui::qt
