#include "platform/ui/qt/WindowSizeMemory.h"

#include <QSettings>
#include <cmath>

#include "platform/core/Log.h"
#include "platform/core/RegularFile.h"
#include "platform/core/UserFolders.h"

namespace platform::ui::qt {
namespace {

constexpr const char* kFileName = "window.ini";

}  // namespace

WindowSizeMemory::WindowSizeMemory(const Rect& screen)
    : key_(QString("size/%1x%2").arg(std::lround(screen.width)).arg(std::lround(screen.height))) {}

std::optional<QString> WindowSizeMemory::usableFile() {
    const UserFolder folder = configFolder();
    if (!folder.path) return std::nullopt;
    const std::filesystem::path file = *folder.path / kFileName;
    // QSettings would wait on a FIFO and replace whatever is there; anything
    // but a regular file is left alone, and the window sizes are not kept.
    if (!isRegularFileOrAbsent(file)) {
        static bool said = false;
        if (!std::exchange(said, true)) {
            NSLog("Window sizes are not remembered: %@ is not a regular file", file.string());
        }
        return std::nullopt;
    }
    return QString::fromStdString(file.string());
}

std::optional<QSize> WindowSizeMemory::remembered() const {
    const auto file = usableFile();
    if (!file) return std::nullopt;
    const QSettings settings(*file, QSettings::IniFormat);
    const QSize size = settings.value(key_).toSize();
    if (!size.isValid() || size.isEmpty()) return std::nullopt;
    return size;
}

void WindowSizeMemory::remember(QSize size) const {
    const auto file = usableFile();
    if (!file) return;
    QSettings settings(*file, QSettings::IniFormat);
    settings.setValue(key_, size);
}

}  // namespace platform::ui::qt
