#include "platform/ui/qt/MicrophoneMenu.h"

#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include "platform/audio/MicrophoneChoice.h"
#include "platform/core/Bundle.h"

namespace platform::ui::qt {

QMenu* makeMicrophoneMenu(QWidget* parent) {
    const MicrophoneChoice& offer = microphoneChoice();
    if (!offer.offered()) return nullptr;
    const auto text = [](const char* key, const char* english) {
        return QString::fromStdString(Bundle::mainBundle().localizedString(key, english, ""));
    };
    auto* menu = new QMenu(text("MicrophoneMenuTitle", "Microphone"), parent);
    menu->setObjectName("microphoneMenu");
    auto* group = new QActionGroup(menu);
    const std::string chosen = offer.chosen();
    const auto add = [&](const QString& title, const std::string& name) {
        QAction* action = menu->addAction(title);
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
