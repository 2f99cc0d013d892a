#pragma once
// The trace drawn as a line over time: the scale's centre and its ends as
// faint lines, the in-tune zone as a band across the whole time, and the
// values as a line, the latest at the right edge and the oldest the span's
// length before it, each stretch in the lamps' colours (green within the
// zone, amber outside it), broken where there was no value. A screen reader
// finds it by the trace's name, with its latest spoken value.
// Private to platform_ui_qt; main thread.

#include <QWidget>
#include <vector>

#include "platform/ui/Trace.h"

namespace platform::ui::qt {

class TraceWidget : public QWidget {
public:
    TraceWidget(const QString& accessibleName, QWidget* parent);
    // Takes the points, the scale and the spoken value from the model.
    void setTrace(const Trace& trace);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The vertical pixel of a value on the scale, held within its ends.
    double yOf(float value) const;

    std::vector<Trace::Point> points_;
    double span_ = 1.0;
    float minimum_ = -1.0f;
    float maximum_ = 1.0f;
    float zone_ = 0.0f;
};

}  // namespace platform::ui::qt
