#include "platform/ui/PickerView.h"

namespace platform {

void PickerView::selectRow(int64_t row, int64_t component, bool) {
    selected_[component] = row;
    notify(Change::Selection);
}

int64_t PickerView::selectedRowInComponent(int64_t component) const {
    auto it = selected_.find(component);
    return it == selected_.end() ? -1 : it->second;
}

void PickerView::userSelectRow(int64_t row, int64_t component) {
    selectRow(row, component, true);
    if (delegate_) delegate_->pickerViewDidSelectRow(*this, static_cast<uint64_t>(row), component);
}

}  // namespace platform
