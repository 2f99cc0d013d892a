#include "platform/ui/qt/AlertDialogs.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "platform/ui/Alert.h"
#include "platform/ui/Application.h"

namespace platform::ui::qt {
namespace {

constexpr double kAlertWidth = 300.0;

const QString kDialogSheet =
    "QDialog { background: #1d2631; }"
    "QLabel { color: #e8eef4; }"
    "QPushButton { background: #26313e; color: #4cc9a0; border: none; border-radius: 8px; padding: 10px; }"
    "QPushButton:pressed { background: #1b232c; }"
    "QPushButton:focus { border: 2px solid #e8eef4; padding: 8px; }";

QString text(const std::string& value) { return QString::fromStdString(value); }

}  // namespace

AlertDialogs::~AlertDialogs() {
    for (auto& [alert, dialog] : dialogs_) {
        if (dialog) delete dialog;
    }
}

void AlertDialogs::showVisible() {
    std::map<const void*, std::function<QDialog*()>> shown;
    const auto window = Application::sharedApplication()->keyWindow();
    if (window) {
        for (ViewController* controller = window->rootViewController().get(); controller;
             controller = controller->presentedViewController().get()) {
            auto* alert = dynamic_cast<AlertController*>(controller);
            if (!alert || !alert->isVisible()) continue;
            std::weak_ptr<ViewController> model = controller->presentingViewController()->presentedViewController();
            shown[alert] = [this, alert, model] {
                std::vector<std::string> titles;
                std::optional<size_t> cancel;
                for (size_t i = 0; i < alert->actions().size(); ++i) {
                    titles.push_back(alert->actions()[i].title());
                    if (alert->actions()[i].style() == AlertActionStyle::Cancel) cancel = i;
                }
                const auto tap = [model](size_t index) {
                    if (auto live = std::static_pointer_cast<AlertController>(model.lock())) live->userTapAction(index);
                };
                return makeDialog(alert->title(), alert->message(), titles, tap, [tap, cancel] {
                    if (cancel) tap(*cancel);
                });
            };
        }
        for (const auto& child : window->subviews()) {
            auto* alert = dynamic_cast<AlertView*>(child.get());
            if (!alert || !alert->isVisible()) continue;
            std::weak_ptr<AlertView> model = std::static_pointer_cast<AlertView>(child);
            shown[alert] = [this, alert, model] {
                std::vector<std::string> titles;
                for (int64_t i = 0; i < alert->numberOfButtons(); ++i) titles.push_back(alert->buttonTitleAtIndex(i));
                const auto tap = [model](size_t index) {
                    if (auto live = model.lock()) live->userTapButtonAtIndex(static_cast<int64_t>(index));
                };
                const bool hasCancel = alert->cancelButtonIndex() >= 0;
                return makeDialog(alert->title(), alert->message(), titles, tap, [tap, hasCancel] {
                    if (hasCancel) tap(0);
                });
            };
        }
    }
    for (auto it = dialogs_.begin(); it != dialogs_.end();) {
        if (shown.count(it->first) && it->second) {
            ++it;
            continue;
        }
        if (it->second) it->second->deleteLater();
        it = dialogs_.erase(it);
    }
    for (auto& [alert, make] : shown) {
        if (dialogs_.count(alert)) continue;
        QDialog* dialog = make();
        dialogs_[alert] = dialog;
        dialog->open();
    }
}

QDialog* AlertDialogs::makeDialog(const std::string& title, const std::string& message,
                                  const std::vector<std::string>& buttons, std::function<void(size_t)> tap,
                                  std::function<void()> cancel) {
    auto* dialog = new QDialog(stage_->window());
    dialog->setWindowTitle(text(title));
    dialog->setStyleSheet(kDialogSheet);
    dialog->setFixedWidth(static_cast<int>(kAlertWidth));
    auto* column = new QVBoxLayout(dialog);
    auto* heading = new QLabel(text(title), dialog);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPixelSize(17);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignCenter);
    heading->setWordWrap(true);
    column->addWidget(heading);
    auto* body = new QLabel(text(message), dialog);
    body->setAlignment(Qt::AlignCenter);
    body->setWordWrap(true);
    column->addWidget(body);
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(text(buttons[i]), dialog);
        button->setObjectName(QString("alertButton%1").arg(i));
        QObject::connect(button, &QPushButton::clicked, dialog, [tap, i] { tap(i); });
        column->addWidget(button);
    }
    // Closing the dialog any other way answers as its cancel button does.
    QObject::connect(dialog, &QDialog::rejected, dialog, [cancel] { cancel(); });
    return dialog;
}

}  // namespace platform::ui::qt
