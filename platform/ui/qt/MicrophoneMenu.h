#pragma once
// The window's microphone setting: a "Microphone" menu (the window's context
// menu, titled and in the window's look) listing the inputs the desktop's
// audio offers, the chosen one ticked.
// Choosing one listens to it at once and keeps it for the next run. Nothing
// is shown where nothing is offered. Private to platform_ui_qt; main thread.

class QMenu;
class QWidget;

namespace platform::ui::qt {

// The menu as it stands now, owned by `parent`; null when nothing is offered.
QMenu* makeMicrophoneMenu(QWidget* parent);

// Opens that menu where the user asks for the window's context menu.
void addMicrophoneMenu(QWidget* window);

}  // namespace platform::ui::qt
