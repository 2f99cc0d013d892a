#pragma once
// Draws the key window's screen: the top-most presented scene as widgets (a
// scroll area where the scene runs past the screen's height), alerts as
// dialogs over it. It observes the element model: a change of a text, a
// picture, a switch ... updates its widget at once; a change of the tree or of
// what is presented redraws the screen once the current event is over.
// Widgets are named after their elements. Private to platform_qt; main thread.

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "platform/ui/View.h"

class QDialog;

namespace platform::qt {

class ScreenRenderer : private UiObserver {
public:
    // Draws into `stage` at `scale` widget pixels per point; installs itself as
    // the UI observer for its lifetime.
    ScreenRenderer(QWidget* stage, double scale);
    ~ScreenRenderer() override;
    ScreenRenderer(const ScreenRenderer&) = delete;
    ScreenRenderer& operator=(const ScreenRenderer&) = delete;

    // Redraws the whole screen from the model now.
    void render();
    // The widgets' extent: the screen, widened by a scroll bar when the scene scrolls.
    QSize stageSize() const;

private:
    void viewDidChange(View& view, Change change) override;
    void scheduleRender();
    QWidget* build(const std::shared_ptr<View>& view, QWidget* parent);
    QWidget* buildScene(const std::shared_ptr<View>& root);
    void update(View& view, Change change, QWidget* widget);
    void showAlerts();
    QDialog* makeAlertDialog(const std::string& title, const std::string& message,
                             const std::vector<std::string>& buttons, std::function<void(size_t)> tap,
                             std::function<void()> cancel);
    QRect scaled(const Rect& frame) const;

    QWidget* stage_;
    const double scale_;
    UiObserver* previousObserver_;
    QPointer<QWidget> scene_;
    QSize stageSize_;
    std::map<const View*, QWidget*> widgets_;
    std::map<const void*, QPointer<QDialog>> dialogs_;  // by the alert they show
    bool renderPending_ = false;
};

}  // namespace platform::qt
