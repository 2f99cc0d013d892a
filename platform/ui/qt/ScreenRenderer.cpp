#include "platform/ui/qt/ScreenRenderer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/LayoutLoader.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/qt/FocusOrder.h"
#include "platform/ui/qt/GaugeWidget.h"
#include "platform/ui/qt/SpokenPacer.h"
#include "platform/ui/qt/TraceWidget.h"
#include "platform/ui/qt/Widgets.h"

namespace platform::ui::qt {
namespace {

// Slider positions per unit of the model's value: Qt's slider counts in integers.
constexpr int kSliderSteps = FocusedWheelSlider::kStepsPerUnit;
constexpr double kDefaultFontSize = 15.0;
constexpr double kPickerFontSize = 20.0;
// One face for every text, and one that has the sharp and flat signs (U+266F,
// U+266D) of the chord names: a desktop's own face may lack them and borrow
// them, smaller, from another.
constexpr const char* kFontFamily = "DejaVu Sans";

QString text(const std::string& value) { return QString::fromStdString(value); }

QFont fontFor(const ElementStyle& style, double scale) {
    QFont font(kFontFamily);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround((style.fontSize > 0 ? style.fontSize : kDefaultFontSize) * scale))));
    font.setBold(style.bold);
    return font;
}

Qt::Alignment alignmentFor(const ElementStyle& style) {
    const Qt::Alignment vertical = style.wraps ? Qt::AlignTop : Qt::AlignVCenter;
    switch (style.align) {
        case ElementStyle::Align::Center: return Qt::AlignHCenter | vertical;
        case ElementStyle::Align::Right: return Qt::AlignRight | vertical;
        case ElementStyle::Align::Left: break;
    }
    return Qt::AlignLeft | vertical;
}

// A focused control wears a light ring; a disabled one is dimmed; the
// selected one of a row of choices takes the accent.
QString buttonSheet(const ElementStyle& style, double scale) {
    const QColor fill = colorOf(style.background, Qt::transparent);
    return QString("QPushButton { background: %1; color: %2; border: 2px solid transparent; border-radius: %3px;"
                   " padding: 0; }"
                   "QPushButton:pressed { background: %4; }"
                   "QPushButton:focus { border-color: %5; }"
                   "QPushButton:disabled { color: %6; background: %7; }"
                   "QPushButton:checked { background: %8; color: %9; }")
        .arg(fill.alpha() ? fill.name() : "transparent", colorOf(style.color, palette::kText).name())
        .arg(style.cornerRadius * scale)
        .arg(fill.alpha() ? fill.darker(130).name() : "rgba(255, 255, 255, 40)")
        .arg(palette::kText.name(), palette::kDim.darker(150).name(),
             fill.alpha() ? fill.darker(150).name() : "transparent", palette::kAccent.name(), palette::kWindow.name());
}

// Shows whether a button is the selected one of its row. A button that can
// be selected is checkable, so a screen reader says which one is.
void showSelected(const Button& button, QPushButton* widget) {
    const QSignalBlocker block(widget);
    widget->setCheckable(widget->isCheckable() || button.isSelected());
    widget->setChecked(button.isSelected());
}

const QString kSliderSheet =
    "QSlider { border: 2px solid transparent; border-radius: 8px; }"
    "QSlider:focus { border-color: #e8eef4; }"
    "QSlider::groove:horizontal { height: 4px; background: #3a4654; border-radius: 2px; }"
    "QSlider::sub-page:horizontal { background: #4cc9a0; border-radius: 2px; }"
    "QSlider::handle:horizontal { background: #e8eef4; width: 20px; margin: -8px 0; border-radius: 10px; }"
    "QSlider::handle:horizontal:focus { background: #4cc9a0; }";

const QString kPickerSheet =
    "QListWidget { background: #171e26; color: #e8eef4; border: 2px solid transparent; border-radius: 10px;"
    " outline: none; }"
    "QListWidget:focus { border-color: #e8eef4; }"
    "QListWidget::item { padding: 4px 10px; }"
    "QListWidget::item:selected { background: #26313e; color: #4cc9a0; border-radius: 6px; }";

template <typename Kind>
std::weak_ptr<Kind> weakOf(Kind& element) {
    return std::static_pointer_cast<Kind>(element.shared_from_this());
}

// The controller shown on top of `root`, alerts aside.
ViewController* displayedController(ViewController* root) {
    ViewController* shown = root;
    while (shown && shown->presentedViewController() &&
           !dynamic_cast<AlertController*>(shown->presentedViewController().get())) {
        shown = shown->presentedViewController().get();
    }
    return shown;
}

// The element's spoken name, "Lamp: in tune", or a label's text; empty for
// the others, which keep what Qt reads for them (a button's title).
QString spokenName(const View& view) {
    if (view.accessibilityLabel().empty()) {
        const auto* label = dynamic_cast<const Label*>(&view);
        return label ? text(label->text()) : QString();
    }
    QString name = text(view.accessibilityLabel());
    if (!view.accessibilityValue().empty()) name += ": " + text(view.accessibilityValue());
    return name;
}

// Tells screen readers a new spoken name, at the pace they can follow: a
// frequency label changes with every tick while a string sounds. A label
// named so no longer announces each new text itself.
void describeForScreenReaders(const View& view, QWidget* widget) {
    const QString name = spokenName(view);
    if (name.isEmpty() && widget->accessibleName().isEmpty()) return;
    SpokenPacer::of(widget, [widget](const QString& said) {
        if (widget->accessibleName() != said) widget->setAccessibleName(said);
    }).setText(name);
}

// A panel: a view holding a control that closes it.
bool isPanel(const View& view) {
    for (const auto& child : view.subviews()) {
        const auto* control = dynamic_cast<const Control*>(child.get());
        if ((control && control->closesScreen()) || isPanel(*child)) return true;
    }
    return false;
}

// The last visible, enabled control under `view`, on its own screen, that `wanted` says is the one.
Control* lastControlWhere(View& view, const std::function<bool(const Control&)>& wanted) {
    if (view.isHidden()) return nullptr;
    Control* found = nullptr;
    if (auto* control = dynamic_cast<Control*>(&view); control && control->isEnabled() && wanted(*control)) {
        found = control;
    }
    for (const auto& child : view.subviews()) {
        if (child->nextResponderViewController()) continue;
        if (Control* below = lastControlWhere(*child, wanted)) found = below;
    }
    return found;
}

void fillPicker(PickerView& picker, QWidget* widget) {
    auto lists = widget->findChildren<ChoiceList*>(QString(), Qt::FindDirectChildrenOnly);
    for (int component = 0; component < lists.size(); ++component) {
        ChoiceList* list = lists[component];
        const QSignalBlocker block(list);
        list->clear();
        if (!picker.dataSource() || !picker.delegate()) continue;
        const int64_t rows = picker.dataSource()->pickerViewNumberOfRowsInComponent(picker, component);
        for (int64_t row = 0; row < rows; ++row) {
            auto* item = new QListWidgetItem(text(picker.delegate()->pickerViewTitleForRow(picker, row, component)), list);
            item->setTextAlignment(Qt::AlignCenter);
        }
        const int64_t selected = picker.selectedRowInComponent(component);
        if (selected >= 0 && selected < rows) {
            list->showChosen(static_cast<int>(selected));
            // Centred like a spinning wheel's choice, once the list has its size.
            QTimer::singleShot(0, list, [list] {
                if (QListWidgetItem* chosen = list->item(list->chosenRow())) {
                    list->scrollToItem(chosen, QAbstractItemView::PositionAtCenter);
                }
            });
        }
    }
}

// Makes the widget that draws an element of each kind.
class WidgetMaker : public ElementVisitor {
public:
    WidgetMaker(const ElementStyle& style, double scale, QWidget* parent)
        : style_(style), scale_(scale), parent_(parent) {}

    QWidget* widget() const { return widget_; }

    void visit(View& /*box*/) override { widget_ = new BoxWidget(style_, scale_, parent_); }

    void visit(Label& label) override {
        auto* qlabel = new QLabel(text(label.text()), parent_);
        qlabel->setFont(fontFor(style_, scale_));
        qlabel->setAlignment(alignmentFor(style_));
        qlabel->setWordWrap(style_.wraps);
        qlabel->setStyleSheet(QString("color: %1; background: transparent;").arg(colorOf(style_.color, palette::kText).name()));
        widget_ = qlabel;
    }

    void visit(ImageView& picture) override {
        auto* qpicture = new PictureWidget(parent_);
        qpicture->setPicture(picture.image());
        widget_ = qpicture;
    }

    void visit(Button& button) override {
        auto* qbutton = new QPushButton(text(button.title()), parent_);
        qbutton->setFont(fontFor(style_, scale_));
        qbutton->setStyleSheet(buttonSheet(style_, scale_));
        qbutton->setCursor(Qt::PointingHandCursor);
        qbutton->setFocusPolicy(Qt::StrongFocus);
        // Enter presses a focused button as Space does.
        qbutton->setAutoDefault(true);
        qbutton->setEnabled(button.isEnabled());
        showSelected(button, qbutton);
        // A tap selects nothing by itself: the screen decides what is selected.
        QObject::connect(qbutton, &QPushButton::clicked, [model = weakOf(button), qbutton] {
            if (auto tapped = model.lock()) {
                tapped->userTap();
                showSelected(*tapped, qbutton);
            }
        });
        widget_ = qbutton;
    }

    void visit(Switch& toggle) override {
        auto* qswitch = new ToggleSwitch(parent_);
        qswitch->setChecked(toggle.isOn());
        qswitch->setEnabled(toggle.isEnabled());
        QObject::connect(qswitch, &ToggleSwitch::clicked, [model = weakOf(toggle)](bool on) {
            if (auto flipped = model.lock()) flipped->userSetOn(on);
        });
        widget_ = qswitch;
    }

    void visit(Slider& slider) override {
        auto* qslider = new FocusedWheelSlider(parent_);
        qslider->setRange(static_cast<int>(std::lround(slider.minimumValue() * kSliderSteps)),
                          static_cast<int>(std::lround(slider.maximumValue() * kSliderSteps)));
        qslider->setValue(static_cast<int>(std::lround(slider.value() * kSliderSteps)));
        qslider->setStyleSheet(kSliderSheet);
        qslider->setFocusPolicy(Qt::StrongFocus);
        // An arrow key or a wheel step moves a whole level, as a release
        // there would: the level in force, the slider and the stored value agree.
        qslider->setSingleStep(kSliderSteps);
        qslider->setPageStep(kSliderSteps);
        qslider->setEnabled(slider.isEnabled());
        const auto send = [model = weakOf(slider), qslider] {
            if (auto slid = model.lock()) slid->userSetValue(static_cast<float>(qslider->value()) / kSliderSteps);
        };
        // The value is sent when the thumb is let go, or at once for a click on the track.
        QObject::connect(qslider, &QSlider::sliderReleased, send);
        QObject::connect(qslider, &QSlider::valueChanged, [qslider, send] {
            if (!qslider->isSliderDown()) send();
        });
        widget_ = qslider;
    }

    void visit(PickerView& picker) override {
        auto* box = new QWidget(parent_);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(static_cast<int>(4 * scale_));
        ElementStyle pickerStyle = style_;
        if (pickerStyle.fontSize <= 0) pickerStyle.fontSize = kPickerFontSize;
        const int64_t components = picker.dataSource() ? picker.dataSource()->numberOfComponentsInPickerView(picker) : 1;
        for (int64_t component = 0; component < components; ++component) {
            auto* list = new ChoiceList(box);
            list->setStyleSheet(kPickerSheet);
            list->setFont(fontFor(pickerStyle, scale_));
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            // A list is spoken by its picker's name.
            list->setAccessibleName(text(picker.accessibilityLabel()));
            QObject::connect(list, &QListWidget::currentRowChanged, [model = weakOf(picker), component](int chosen) {
                if (auto spun = model.lock(); spun && chosen >= 0) spun->userSelectRow(chosen, component);
            });
            row->addWidget(list);
        }
        fillPicker(picker, box);
        widget_ = box;
    }

    void visit(Gauge& gauge) override {
        auto* qgauge = new GaugeWidget(text(gauge.accessibilityLabel()), parent_);
        qgauge->setGauge(gauge);
        widget_ = qgauge;
    }

    void visit(Trace& trace) override {
        auto* qtrace = new TraceWidget(text(trace.accessibilityLabel()), parent_);
        qtrace->setTrace(trace);
        widget_ = qtrace;
    }

private:
    const ElementStyle& style_;
    double scale_;
    QWidget* parent_;
    QWidget* widget_ = nullptr;
};

// Shows one changed aspect (a text, a picture, a value ...) of an element on
// the widget that draws it; an aspect the element's kind lacks changes nothing.
class WidgetUpdater : public ElementVisitor {
public:
    WidgetUpdater(Change change, QWidget* widget) : change_(change), widget_(widget) {}

    void visit(View& /*box*/) override {}

    void visit(Label& label) override {
        if (change_ != Change::Text) return;
        static_cast<QLabel*>(widget_)->setText(text(label.text()));
        describeForScreenReaders(label, widget_);
    }

    void visit(ImageView& picture) override {
        if (change_ == Change::Image) static_cast<PictureWidget*>(widget_)->setPicture(picture.image());
    }

    void visit(Button& button) override {
        auto* qbutton = static_cast<QPushButton*>(widget_);
        if (change_ == Change::Text) qbutton->setText(text(button.title()));
        if (change_ == Change::Image) {
            const QPixmap pixmap = pixmapOf(button.imageForState(ControlState::Normal));
            qbutton->setIcon(QIcon(pixmap));
            qbutton->setIconSize(pixmap.isNull() ? QSize() : widget_->size());
        }
        if (change_ == Change::Selection) showSelected(button, qbutton);
        showEnabled(button);
    }

    void visit(Switch& toggle) override {
        if (change_ == Change::On) {
            const QSignalBlocker block(widget_);
            static_cast<ToggleSwitch*>(widget_)->setChecked(toggle.isOn());
        }
        showEnabled(toggle);
    }

    void visit(Slider& slider) override {
        if (change_ == Change::Value) {
            const QSignalBlocker block(widget_);
            static_cast<QSlider*>(widget_)->setValue(static_cast<int>(std::lround(slider.value() * kSliderSteps)));
        }
        showEnabled(slider);
    }

    void visit(PickerView& picker) override {
        if (change_ == Change::Selection) fillPicker(picker, widget_);
    }

    void visit(Gauge& gauge) override {
        if (change_ == Change::Value) static_cast<GaugeWidget*>(widget_)->setGauge(gauge);
    }

    void visit(Trace& trace) override {
        if (change_ == Change::Value) static_cast<TraceWidget*>(widget_)->setTrace(trace);
    }

private:
    void showEnabled(const Control& control) {
        if (change_ == Change::Enabled) widget_->setEnabled(control.isEnabled());
    }

    Change change_;
    QWidget* widget_;
};

}  // namespace

ScreenRenderer::ScreenRenderer(QWidget* stage)
    : stage_(stage), previousObserver_(setUiObserver(this)), alerts_(stage) {}

ScreenRenderer::~ScreenRenderer() { setUiObserver(previousObserver_); }

QRect ScreenRenderer::scaled(const Rect& frame) const {
    const auto at = [this](double points) { return static_cast<int>(std::lround(points * scale_)); };
    return QRect(at(frame.x), at(frame.y), at(frame.x + frame.width) - at(frame.x),
                 at(frame.y + frame.height) - at(frame.y));
}

void ScreenRenderer::setViewport(QSize viewport, double scale) {
    viewport_ = viewport;
    scale_ = scale;
    render();
}

bool ScreenRenderer::pressCloseControl() {
    return pressControlWhere([](const Control& control) { return control.closesScreen(); });
}

bool ScreenRenderer::pressKey(const std::string& key) {
    return pressControlWhere([&key](const Control& control) {
        const auto& keys = control.keyEquivalents();
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    });
}

bool ScreenRenderer::pressControlWhere(const std::function<bool(const Control&)>& wanted) {
    Control* control = sceneRoot_ ? lastControlWhere(*sceneRoot_, wanted) : nullptr;
    const auto found = control ? widgets_.find(control) : widgets_.end();
    if (found == widgets_.end()) return false;
    if (auto* button = qobject_cast<QAbstractButton*>(found->second)) button->click();
    return true;
}

bool ScreenRenderer::focusNextInOpenPanel(bool forward) {
    const std::shared_ptr<View> panel = openPanel_.lock();
    const auto found = panel ? widgets_.find(panel.get()) : widgets_.end();
    if (found == widgets_.end() || !found->second->isVisibleTo(stage_)) return false;
    return focusNextWithin(found->second, forward);
}

void ScreenRenderer::render() {
    renderPending_ = false;
    // Redrawing the same screen keeps the reader's place: the keyboard's focus
    // and how far the page is scrolled.
    const View* focused = nullptr;
    for (const auto& [view, widget] : widgets_) {
        if (widget == QApplication::focusWidget()) focused = view;
    }
    const std::shared_ptr<View> previousRoot = sceneRoot_;
    const double scrolledPoints = sceneScroll_ ? sceneScroll_->verticalScrollBar()->value() / renderedScale_ : 0.0;
    widgets_.clear();
    if (scene_) {
        // Redraws run from the event loop, never inside a widget's own
        // handler, so the old scene can go at once. The focus stays in the window.
        if (scene_->isAncestorOf(QApplication::focusWidget())) stage_->setFocus(Qt::OtherFocusReason);
        delete scene_.data();
    }
    scene_ = nullptr;
    sceneScroll_ = nullptr;
    sceneRoot_.reset();
    frames_.reset();
    renderedScale_ = scale_;

    const Rect screen = Screen::mainBounds();
    stageSize_ = viewport_.isEmpty() ? scaled(screen).size() : viewport_;
    const auto window = Application::sharedApplication()->keyWindow();
    ViewController* shown = window ? displayedController(window->rootViewController().get()) : nullptr;
    if (shown && shown->view()) {
        sceneRoot_ = shown->view();
        frames_ = std::make_unique<SceneFrames>(*sceneRoot_);
        scene_ = buildScene(shown->view());
    } else {
        const std::string explanation = Application::sharedApplication()->noWindowExplanation();
        auto* empty = new QLabel(
            QString::fromStdString(
                Bundle::mainBundle()->localizedString("NoLayoutForThisScreen", "No layout for this screen", "") +
                (explanation.empty() ? "" : "\n\n" + explanation)),
            stage_);
        empty->setAlignment(Qt::AlignCenter);
        empty->setWordWrap(true);
        empty->setMargin(16);
        empty->setStyleSheet("color: #8d9aa8;");
        empty->setGeometry(QRect(QPoint(0, 0), stageSize_));
        scene_ = empty;
    }
    scene_->show();
    if (sceneRoot_ && sceneRoot_ == previousRoot) {
        if (sceneScroll_) sceneScroll_->verticalScrollBar()->setValue(static_cast<int>(std::lround(scrolledPoints * scale_)));
        if (const auto found = focused ? widgets_.find(focused) : widgets_.end(); found != widgets_.end()) {
            found->second->setFocus(Qt::OtherFocusReason);
        }
    } else if (focused) {
        // A new screen: the keyboard starts at its first control.
        focusFirstControl(scene_);
    }
    alerts_.showVisible();
}

QWidget* ScreenRenderer::buildScene(const std::shared_ptr<View>& root) {
    const Rect frame = root->frame();
    const QSize content = scaled({0, 0, frame.width, frames_->contentBottom()}).size();
    // Built inside the stage even when it moves into a scroll area: a widget
    // without a parent would open as a window of its own for a moment.
    QWidget* widget = build(root, stage_);
    widget->resize(content);
    if (viewport_.isEmpty() && content.height() > scaled(frame).height()) {
        // As large as the screen, with a scroll bar beside it for the rest of the scene.
        stageSize_ = QSize(content.width() + kScrollBarWidth, scaled(frame).height());
    }
    if (content.width() <= stageSize_.width() && content.height() <= stageSize_.height()) {
        widget->move((stageSize_.width() - content.width()) / 2, 0);
        return widget;
    }
    // Larger than the window: the scene scrolls, with thin bars beside and below it.
    auto* area = new QScrollArea(stage_);
    area->setObjectName("sceneScroll");
    area->setFrameShape(QFrame::NoFrame);
    // The page is scrolled by the wheel, the bars and the focus moving; it is no control to Tab to.
    area->setFocusPolicy(Qt::NoFocus);
    area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QString bar = QString("QScrollBar { background: %1; }"
                                "QScrollBar:vertical { width: %2px; } QScrollBar:horizontal { height: %2px; }"
                                "QScrollBar::handle { background: #3a4654; border-radius: 4px; min-height: 40px;"
                                " min-width: 40px; }"
                                "QScrollBar::add-line, QScrollBar::sub-line { height: 0; width: 0; }")
                            .arg(palette::kWindow.name())
                            .arg(kScrollBarWidth);
    area->verticalScrollBar()->setStyleSheet(bar);
    area->horizontalScrollBar()->setStyleSheet(bar);
    area->setWidget(widget);
    area->setGeometry(QRect(QPoint(0, 0), stageSize_));
    sceneScroll_ = area;
    return area;
}

QWidget* ScreenRenderer::build(const std::shared_ptr<View>& view, QWidget* parent) {
    static const ElementStyle kPlain;
    const ElementStyle* styled = layoutStyleOf(*view);
    WidgetMaker maker(styled ? *styled : kPlain, scale_, parent);
    view->accept(maker);
    QWidget* widget = maker.widget();

    widget->setObjectName(text(view->name()));
    widget->setGeometry(scaled(frames_->frameOf(*view)));
    widget->setVisible(!view->isHidden());
    widget->setAccessibleName(spokenName(*view));
    // A button's picture is drawn at the size of its widget, known only now.
    WidgetUpdater picture(Change::Image, widget);
    view->accept(picture);
    widgets_[view.get()] = widget;
    for (const auto& child : view->subviews()) {
        // Another screen's view (a presented scene, an alert) is drawn on its own.
        if (!child->nextResponderViewController()) build(child, widget);
    }
    return widget;
}

void ScreenRenderer::update(View& view, Change change, QWidget* widget) {
    switch (change) {
        case Change::Hidden: {
            const ElementStyle* style = layoutStyleOf(view);
            if (style && style->collapses) {
                scheduleRender();  // the elements around it move
                break;
            }
            widget->setVisible(!view.isHidden());
            if (!view.isHidden()) {
                shown(view, widget);
            } else if (isPanel(view)) {
                if (openPanel_.lock().get() == &view) openPanel_.reset();
                if (focusBeforePanel_) focusBeforePanel_->setFocus(Qt::OtherFocusReason);
            }
            break;
        }
        case Change::Frame: widget->setGeometry(scaled(frames_ ? frames_->frameOf(view) : view.frame())); break;
        case Change::Accessibility: describeForScreenReaders(view, widget); break;
        case Change::Subviews:
        case Change::Presentation:
        case Change::Visibility: scheduleRender(); break;
        case Change::Text:
        case Change::Image:
        case Change::On:
        case Change::Value:
        case Change::Selection:
        case Change::Enabled: {
            WidgetUpdater updater(change, widget);
            view.accept(updater);
            break;
        }
    }
}

void ScreenRenderer::shown(View& view, QWidget* widget) {
    if (!isPanel(view)) return;
    // A panel opened from anywhere on a scrolled page is shown whole, and the
    // keyboard moves into it.
    if (sceneScroll_) sceneScroll_->ensureWidgetVisible(widget, 0, 0);
    openPanel_ = view.shared_from_this();
    focusBeforePanel_ = QApplication::focusWidget();
    focusFirstControl(widget);
}

void ScreenRenderer::viewDidChange(View& view, Change change) {
    if (change == Change::Subviews || change == Change::Presentation || change == Change::Visibility) {
        scheduleRender();
        return;
    }
    auto found = widgets_.find(&view);
    if (found != widgets_.end()) update(view, change, found->second);
}

void ScreenRenderer::scheduleRender() {
    // Widgets may be inside their own signal handlers now: redraw afterwards.
    if (renderPending_) return;
    renderPending_ = true;
    QTimer::singleShot(0, stage_, [this] {
        if (renderPending_) render();
    });
}

}  // namespace platform::ui::qt
