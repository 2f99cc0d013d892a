#pragma once
// A spinning picker of rows in components, fed by a data source and reporting
// the user's selection to a delegate.

#include <cstdint>
#include <map>
#include <string>

#include "platform/ui/View.h"

namespace platform {

class PickerView;

class PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    virtual int64_t numberOfComponentsInPickerView(PickerView& picker) = 0;
    virtual int64_t pickerViewNumberOfRowsInComponent(PickerView& picker, int64_t component) = 0;
};

class PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    virtual std::string pickerViewTitleForRow(PickerView& picker, int64_t row, int64_t component) = 0;
    virtual void pickerViewDidSelectRow(PickerView& picker, uint64_t row, int64_t component) = 0;
};

class PickerView : public Visitable<PickerView, View> {
public:
    // Neither is owned: a screen is the data source and delegate of its own pickers.
    void setDataSource(PickerViewDataSource* dataSource) { dataSource_ = dataSource; }
    void setDelegate(PickerViewDelegate* delegate) { delegate_ = delegate; }
    PickerViewDataSource* dataSource() const { return dataSource_; }
    PickerViewDelegate* delegate() const { return delegate_; }

    // Shows `row` as selected; tells no delegate.
    void selectRow(int64_t row, int64_t component, bool animated);
    // The selected row of a component; -1 when none.
    int64_t selectedRowInComponent(int64_t component) const;
    void reloadAllComponents() { notify(Change::Selection); }
    // The user spins `component` to `row`: selected, then the delegate is told.
    void userSelectRow(int64_t row, int64_t component);

private:
    PickerViewDataSource* dataSource_ = nullptr;
    PickerViewDelegate* delegate_ = nullptr;
    std::map<int64_t, int64_t> selected_;
};

}  // namespace platform
