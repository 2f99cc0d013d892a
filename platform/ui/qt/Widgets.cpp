#include "platform/ui/qt/Widgets.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QSignalBlocker>
#include <QString>
#include <QWheelEvent>
#include <cmath>

namespace platform::ui::qt {
namespace {

// Pixels of the ring a focused switch wears.
constexpr double kFocusRingWidth = 2.0;

// What a screen reader hears of a slider: the model's value and range, in
// whole units, and the value as its text.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(FocusedWheelSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return QString::number(std::lround(units(slider()->value())));
        return QAccessibleWidget::text(kind);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return units(slider()->value()); }
    void setCurrentValue(const QVariant& value) override {
        slider()->setValue(static_cast<int>(std::lround(value.toDouble() * FocusedWheelSlider::kStepsPerUnit)));
    }
    QVariant maximumValue() const override { return units(slider()->maximum()); }
    QVariant minimumValue() const override { return units(slider()->minimum()); }
    QVariant minimumStepSize() const override { return units(slider()->singleStep()); }

private:
    static double units(int steps) { return static_cast<double>(steps) / FocusedWheelSlider::kStepsPerUnit; }
    FocusedWheelSlider* slider() const { return static_cast<FocusedWheelSlider*>(widget()); }
};

class PictureAccessible : public QAccessibleWidget {
public:
    explicit PictureAccessible(PictureWidget* picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (widget()->accessibleName().isEmpty()) state.invisible = true;
        return state;
    }
};

QAccessibleInterface* pictureAccessible(const QString&, QObject* object) {
    auto* picture = dynamic_cast<PictureWidget*>(object);
    return picture ? new PictureAccessible(picture) : nullptr;
}

// The slider has no meta-object of its own, so it is known by its type, not its class name.
QAccessibleInterface* sliderAccessible(const QString&, QObject* object) {
    auto* slider = dynamic_cast<FocusedWheelSlider*>(object);
    return slider ? new SliderAccessible(slider) : nullptr;
}

}  // namespace

QColor colorOf(const std::string& text, const QColor& fallback) {
    if (text.empty()) return fallback;
    const QColor color(QString::fromStdString(text));
    return color.isValid() ? color : fallback;
}

QPixmap pixmapOf(const ImageRef& image) {
    if (!image) return {};
    const QString file = QString::fromStdString(image->path.string());
    QPixmap pixmap;
    if (!QPixmapCache::find(file, &pixmap)) {
        pixmap.load(file);
        QPixmapCache::insert(file, pixmap);
    }
    return pixmap;
}

BoxWidget::BoxWidget(const ElementStyle& style, double scale, QWidget* parent)
    : QWidget(parent), fill_(colorOf(style.background, Qt::transparent)), radius_(style.cornerRadius * scale) {}

void BoxWidget::paintEvent(QPaintEvent*) {
    if (fill_.alpha() == 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    painter.drawRoundedRect(rect(), radius_, radius_);
}

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent) {
    QAccessible::installFactory(pictureAccessible);
}

void PictureWidget::setPicture(const ImageRef& image) {
    image_ = image;
    pixmap_ = pixmapOf(image);
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    if (pixmap_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = pixmap_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target((width() - fitted.width()) / 2, (height() - fitted.height()) / 2, fitted.width(),
                       fitted.height());
    painter.drawPixmap(target, pixmap_);
}

void ChoiceList::showChosen(int row) {
    const QSignalBlocker quiet(this);
    setCurrentRow(row);
    if (!hasFocus()) pointAt(-1);
}

int ChoiceList::chosenRow() const {
    const QModelIndexList chosen = selectionModel()->selectedIndexes();
    return chosen.isEmpty() ? -1 : chosen.front().row();
}

void ChoiceList::focusInEvent(QFocusEvent* event) {
    // Before Qt's own handling, which would point at the first row and report it chosen.
    pointAt(chosenRow());
    QListWidget::focusInEvent(event);
}

void ChoiceList::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    pointAt(-1);
}

void ChoiceList::pointAt(int row) {
    const QSignalBlocker quiet(this);
    selectionModel()->setCurrentIndex(row >= 0 ? model()->index(row, 0) : QModelIndex(), QItemSelectionModel::NoUpdate);
}

ToggleSwitch::ToggleSwitch(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ToggleSwitch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

FocusedWheelSlider::FocusedWheelSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // Again for each slider: Qt forgets its factories when the application object goes.
    QAccessible::installFactory(sliderAccessible);
}

void FocusedWheelSlider::wheelEvent(QWheelEvent* event) {
    if (hasFocus()) {
        QSlider::wheelEvent(event);
        return;
    }
    // Handed to the page that scrolls rather than left to rise to it: Qt
    // passes only the window system's own wheel events on to the parents.
    for (QWidget* above = parentWidget(); above; above = above->parentWidget()) {
        if (auto* page = qobject_cast<QAbstractScrollArea*>(above)) {
            QCoreApplication::sendEvent(page->viewport(), event);
            return;
        }
    }
    event->ignore();
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(hasFocus() ? QPen(palette::kText, kFocusRingWidth) : QPen(Qt::NoPen));
    const double inset = kFocusRingWidth;
    const QRectF track = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const double radius = track.height() / 2.0;
    QColor fill = isChecked() ? palette::kAccent : palette::kTrack;
    if (!isEnabled()) fill = fill.darker(160);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);
    painter.setPen(Qt::NoPen);
    const double knob = track.height() - 4.0;
    const double x = isChecked() ? track.right() - knob - 2.0 : track.left() + 2.0;
    painter.setBrush(palette::kText);
    painter.drawEllipse(QRectF(x, track.top() + 2.0, knob, knob));
}

}  // namespace platform::ui::qt
