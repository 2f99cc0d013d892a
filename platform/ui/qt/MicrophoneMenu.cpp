#include "platform/ui/qt/MicrophoneMenu.h"

#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include "platform/audio/MicrophoneChoice.h"
#include "platform/core/Bundle.h"

namespace platform::ui::qt {
namespace {

// The window's dark look, not the desktop's light default.
const QString kMenuSheet =
    "QMenu { background: #1d2631; color: #e8eef4; border: 1px solid #3a4654; padding: 4px; }"
    "QMenu::item { padding: 6px 24px 6px 28px; border-radius: 4px; }"
    "QMenu::item:selected { background: #26313e; color: #4cc9a0; }"
    "QMenu::item:disabled { color: #8d9aa8; font-weight: bold; }"
    "QMenu::indicator { left: 8px; }";

}  // namespace

QMenu* makeMicrophoneMenu(QWidget* parent) {
    const MicrophoneChoice& offer = microphoneChoice();
    if (!offer.offered()) return nullptr;
    const auto text = [](const char* key, const char* english) {
        return QString::fromStdString(Bundle::mainBundle()->localizedString(key, english, ""));
    };
    const QString title = text("MicrophoneMenuTitle", "Microphone");
    auto* menu = new QMenu(title, parent);
    menu->setObjectName("microphoneMenu");
    menu->setStyleSheet(kMenuSheet);
    // Titled for the eye and for screen readers, which read a pop-up by its name.
    menu->setAccessibleName(title);
    menu->setWindowTitle(title);
    QAction* heading = menu->addAction(title);
    heading->setObjectName("microphoneMenuTitle");
    heading->setEnabled(false);
    menu->addSeparator();
    auto* group = new QActionGroup(menu);
    const std::string chosen = offer.chosen();
    const auto add = [&](const QString& label, const std::string& name) {
        QAction* action = menu->addAction(label);
        action->setCheckable(true);
        action->setChecked(name == chosen);
        action->setActionGroup(group);
        QObject::connect(action, &QAction::triggered, [name] {
            const MicrophoneChoice& current = microphoneChoice();
            if (current.offered()) current.choose(name);
        });
    };
    add(text("MicrophoneMenuSystemDefault", "The system's default"), "");
    for (const std::string& name : offer.microphones()) add(QString::fromStdString(name), name);
    return menu;
}

void addMicrophoneMenu(QWidget* window) {
    window->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(window, &QWidget::customContextMenuRequested, window, [window](const QPoint& at) {
        QMenu* menu = makeMicrophoneMenu(window);
        if (menu == nullptr) return;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(window->mapToGlobal(at));
    });
}

}  // namespace platform::ui::qt
