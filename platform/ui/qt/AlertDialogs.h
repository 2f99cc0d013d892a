#pragma once
// The alerts of the key window as dialogs over the window: the alert
// controllers presented on its screens and the alert views it holds. A
// dialog opens when its alert becomes visible and closes when the alert goes;
// its buttons and its closing answer the alert as its own buttons would.
// Private to platform_ui_qt; main thread.

#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QDialog;

namespace platform::ui::qt {

class AlertDialogs {
public:
    // Opens the dialogs over the window that holds `stage`.
    explicit AlertDialogs(QWidget* stage) : stage_(stage) {}
    // Closes every dialog still open.
    ~AlertDialogs();
    AlertDialogs(const AlertDialogs&) = delete;
    AlertDialogs& operator=(const AlertDialogs&) = delete;

    // Opens a dialog for each visible alert that has none and closes those
    // whose alert is gone or hidden.
    void showVisible();

private:
    QDialog* makeDialog(const std::string& title, const std::string& message, const std::vector<std::string>& buttons,
                        std::function<void(size_t)> tap, std::function<void()> cancel);

    QWidget* stage_;
    std::map<const void*, QPointer<QDialog>> dialogs_;  // by the alert they show
};

}  // namespace platform::ui::qt
