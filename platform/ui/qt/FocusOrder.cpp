#include "platform/ui/qt/FocusOrder.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>

namespace platform::ui::qt {

std::vector<QWidget*> tabStopsIn(QWidget* widget) {
    std::vector<QWidget*> stops;
    for (auto* child : widget->findChildren<QWidget*>()) {
        if ((child->focusPolicy() & Qt::TabFocus) && child->isVisibleTo(widget) && child->isEnabled()) {
            stops.push_back(child);
        }
    }
    return stops;
}

bool focusFirstControl(QWidget* widget) {
    const std::vector<QWidget*> stops = tabStopsIn(widget);
    if (stops.empty()) return false;
    stops.front()->setFocus(Qt::TabFocusReason);
    return true;
}

bool focusNextWithin(QWidget* panel, bool forward) {
    const std::vector<QWidget*> stops = tabStopsIn(panel);
    if (stops.empty()) return false;
    const auto focused = std::find(stops.begin(), stops.end(), QApplication::focusWidget());
    const long count = static_cast<long>(stops.size());
    long next = forward ? 0 : count - 1;
    if (focused != stops.end()) next = ((focused - stops.begin()) + (forward ? 1 : count - 1)) % count;
    stops[static_cast<size_t>(next)]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

}  // namespace platform::ui::qt
