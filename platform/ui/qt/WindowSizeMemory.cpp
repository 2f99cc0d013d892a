#include "platform/ui/qt/WindowSizeMemory.h"

#include <QDir>
#include <QSettings>
#include <QtGlobal>
#include <cmath>

namespace platform::ui::qt {

WindowSizeMemory::WindowSizeMemory(const Rect& screen)
    : key_(QString("size/%1x%2").arg(std::lround(screen.width)).arg(std::lround(screen.height))) {}

QString WindowSizeMemory::filePath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative XDG path is to be ignored, as the base directory rules say.
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) config = QDir::homePath() + "/.config";
    return config + "/pallqa-tuner/window.ini";
}

std::optional<QSize> WindowSizeMemory::remembered() const {
    const QSettings file(filePath(), QSettings::IniFormat);
    const QSize size = file.value(key_).toSize();
    if (!size.isValid() || size.isEmpty()) return std::nullopt;
    return size;
}

void WindowSizeMemory::remember(QSize size) const {
    QSettings file(filePath(), QSettings::IniFormat);
    file.setValue(key_, size);
}

}  // namespace platform::ui::qt
