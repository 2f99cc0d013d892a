#pragma once
// Draws the key window's screen: the top-most presented scene as widgets,
// scaled to the window and inside a scroll area where the scene runs past it,
// with the alerts over it (AlertDialogs.h). It observes the element model: a change of a
// text, a picture, a switch ... updates that one widget, and only when the
// value differs from what the widget shows; a change of the tree or of what
// is presented redraws the screen once the current event is over. Widgets
// are named after their elements and carry their spoken names for screen
// readers. Private to platform_ui_qt; main thread.

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/ui/View.h"
#include "platform/ui/qt/AlertDialogs.h"
#include "platform/ui/qt/SceneFrames.h"

class QScrollArea;

namespace platform {
class Control;
}  // namespace platform

namespace platform::ui::qt {

class ScreenRenderer : private UiObserver {
public:
    // Pixels of the bars beside and below a scene that scrolls.
    static constexpr int kScrollBarWidth = 8;

    // Draws into `stage`; installs itself as the UI observer for its lifetime.
    explicit ScreenRenderer(QWidget* stage);
    ~ScreenRenderer() override;
    ScreenRenderer(const ScreenRenderer&) = delete;
    ScreenRenderer& operator=(const ScreenRenderer&) = delete;

    // Redraws the screen at `scale` widget pixels per point into an area of
    // `viewport` pixels; an empty viewport is as large as the scene needs.
    void setViewport(QSize viewport, double scale);
    // Redraws the whole screen from the model now.
    void render();
    // The widgets' extent: the viewport, or what the scene needs when none was given.
    QSize stageSize() const { return stageSize_; }
    double scale() const { return scale_; }

    // Moves the keyboard's focus round the controls of the panel last opened,
    // while it stays open (what Tab and Shift+Tab do then): nothing under it
    // is reached. False when no panel is open.
    bool focusNextInOpenPanel(bool forward);

    // Presses the control that closes the top-most open panel, or else the
    // one that leaves the screen (what Escape does); false when there is none.
    bool pressCloseControl();
    // Presses the control on show that `key` ("1", "Escape") is a key
    // equivalent of; false when there is none.
    bool pressKey(const std::string& key);

private:
    void viewDidChange(View& view, Change change) override;
    bool pressControlWhere(const std::function<bool(const Control&)>& wanted);
    void scheduleRender();
    QWidget* build(const std::shared_ptr<View>& view, QWidget* parent);
    QWidget* buildScene(const std::shared_ptr<View>& root);
    void update(View& view, Change change, QWidget* widget);
    void shown(View& view, QWidget* widget);
    QRect scaled(const Rect& frame) const;

    QWidget* stage_;
    double scale_ = 1.0;
    double renderedScale_ = 1.0;  // of the scene on show
    QSize viewport_;
    UiObserver* previousObserver_;
    QPointer<QWidget> scene_;
    QPointer<QScrollArea> sceneScroll_;
    std::shared_ptr<View> sceneRoot_;
    std::unique_ptr<SceneFrames> frames_;
    QSize stageSize_;
    std::map<const View*, QWidget*> widgets_;
    AlertDialogs alerts_;
    QPointer<QWidget> focusBeforePanel_;
    std::weak_ptr<View> openPanel_;
    bool renderPending_ = false;
};

}  // namespace platform::ui::qt
