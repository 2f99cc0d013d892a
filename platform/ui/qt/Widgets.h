#pragma once
// The widgets the window draws elements with, in the program's dark look.
// Private to platform_ui_qt.

#include <QAbstractButton>
#include <QColor>
#include <QListWidget>
#include <QPixmap>
#include <QSlider>
#include <QWidget>
#include <string>

#include "platform/ui/Image.h"
#include "platform/ui/LayoutLoader.h"

namespace platform::ui::qt {

// The colours of the look, where a layout leaves them open.
namespace palette {
inline const QColor kWindow{0x0e, 0x13, 0x18};
inline const QColor kText{0xe8, 0xee, 0xf4};
inline const QColor kDim{0x8d, 0x9a, 0xa8};
inline const QColor kAccent{0x4c, 0xc9, 0xa0};
inline const QColor kKey{0x26, 0x31, 0x3e};
inline const QColor kTrack{0x3a, 0x46, 0x54};
}  // namespace palette

// A colour from "#rrggbb"; `fallback` when the text is empty or not a colour.
QColor colorOf(const std::string& text, const QColor& fallback);

// A decoded picture, cached by file while Qt runs.
QPixmap pixmapOf(const ImageRef& image);

// A plain view: its layout's fill with rounded corners, or nothing.
class BoxWidget : public QWidget {
public:
    BoxWidget(const ElementStyle& style, double scale, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    double radius_;
};

// A picture scaled to fit its frame, keeping its proportions, centred. A
// screen reader finds it as a graphic by its name; an unnamed picture is
// decoration (a dot of a chord diagram, whose fingering the chord's name says
// in words) and is not offered to it at all.
class PictureWidget : public QWidget {
public:
    explicit PictureWidget(QWidget* parent);
    void setPicture(const ImageRef& image);
    const ImageRef& picture() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ImageRef image_;
    QPixmap pixmap_;
};

// A list of choices that points at its chosen row only while it has the
// keyboard's focus. A screen reader takes the row a list points at for the
// focus, so two lists side by side would otherwise both claim it.
class ChoiceList : public QListWidget {
public:
    explicit ChoiceList(QWidget* parent) : QListWidget(parent) {}
    // Chooses `row` without telling the list's listeners.
    void showChosen(int row);
    // The chosen row, or -1.
    int chosenRow() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Points at `row` (or nowhere for -1), leaving the choice and the listeners alone.
    void pointAt(int row);
};

// An on/off switch drawn as a rounded track with a knob, ringed while it has
// the keyboard's focus; Space or Enter flips it.
class ToggleSwitch : public QAbstractButton {
public:
    explicit ToggleSwitch(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// A horizontal slider that takes the mouse wheel only while it has the
// keyboard's focus: a wheel turned over it otherwise scrolls the page, so
// scrolling past it never changes it. It counts kStepsPerUnit positions per
// unit of the model's value, for a smooth drag; a screen reader hears the
// model's value (0 to 10, not 0 to 1000).
class FocusedWheelSlider : public QSlider {
public:
    static constexpr int kStepsPerUnit = 100;
    explicit FocusedWheelSlider(QWidget* parent);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace platform::ui::qt
