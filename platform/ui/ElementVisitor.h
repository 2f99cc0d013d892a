#pragma once
// The one list of element kinds that a frontend draws or reports. A frontend
// (the window's renderer, the console, the layout loader that fills elements
// in) handles the kinds by implementing a visitor, and every visit is pure:
// a new kind, added here and based on Visitable below, leaves each
// frontend that lacks its visit abstract, so the build fails until every one
// handles it.

#include <type_traits>

namespace platform {

class View;
class Label;
class ImageView;
class Button;
class Switch;
class Slider;
class PickerView;
class Gauge;
class Trace;

template <bool IsConst>
class BasicElementVisitor {
    template <typename Kind>
    using Ref = std::conditional_t<IsConst, const Kind&, Kind&>;

public:
    virtual ~BasicElementVisitor() = default;
    // A plain view: a box that holds others, or a kind no frontend draws apart.
    virtual void visit(Ref<View> box) = 0;
    virtual void visit(Ref<Label> label) = 0;
    virtual void visit(Ref<ImageView> picture) = 0;
    virtual void visit(Ref<Button> button) = 0;
    virtual void visit(Ref<Switch> toggle) = 0;
    virtual void visit(Ref<Slider> slider) = 0;
    virtual void visit(Ref<PickerView> picker) = 0;
    virtual void visit(Ref<Gauge> gauge) = 0;
    virtual void visit(Ref<Trace> trace) = 0;
};

using ElementVisitor = BasicElementVisitor<false>;
using ConstElementVisitor = BasicElementVisitor<true>;

// The base of every element kind above but View itself: `Kind` accepts a
// visitor as itself, on top of `Base` (View, Control for the controls, Gauge
// for the trace).
template <typename Kind, typename Base>
class Visitable : public Base {
public:
    void accept(ElementVisitor& visitor) override { visitor.visit(static_cast<Kind&>(*this)); }
    void accept(ConstElementVisitor& visitor) const override { visitor.visit(static_cast<const Kind&>(*this)); }
};

}  // namespace platform
