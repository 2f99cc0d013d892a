#pragma once
// Remembers the window's size for each screen class between runs, in a file
// of the window's own, "$XDG_CONFIG_HOME/pallqa-tuner/window.ini"
// (~/.config when unset), beside the program's settings but apart from them:
// the program's first-run reset empties its settings, and a window size is no
// setting of the tuner. Without a configuration folder of the user's own, or
// with something other than a regular file at the file's name, sizes are not
// remembered. Private to platform_ui_qt; main thread.

#include <QSize>
#include <QString>
#include <optional>

#include "platform/core/Geometry.h"

namespace platform::ui::qt {

class WindowSizeMemory {
public:
    // For the screen class whose main screen is `screen` points large.
    explicit WindowSizeMemory(const Rect& screen);

    // The size last stored for this screen class; none when there is none or
    // the file cannot be read.
    std::optional<QSize> remembered() const;
    void remember(QSize size) const;


private:
    // The file, when it can be used.
    static std::optional<QString> usableFile();

    QString key_;
};

}  // namespace platform::ui::qt
