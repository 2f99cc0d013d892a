// Every element kind, made by a layout or by hand, is visited as itself:
// what the renderer, the console and the loader do for a kind depends on it.

#include "platform/ui/ElementVisitor.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/LayoutLoader.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/Trace.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tests/support/PlainPlatform.h"

namespace {

// Records the kind it was last asked to visit, through either constness.
template <bool IsConst>
class KindRecorder : public platform::BasicElementVisitor<IsConst> {
    template <typename Kind>
    using Ref = std::conditional_t<IsConst, const Kind&, Kind&>;

public:
    std::string kind;
    void visit(Ref<platform::View>) override { kind = "View"; }
    void visit(Ref<platform::Label>) override { kind = "Label"; }
    void visit(Ref<platform::ImageView>) override { kind = "ImageView"; }
    void visit(Ref<platform::Button>) override { kind = "Button"; }
    void visit(Ref<platform::Switch>) override { kind = "Switch"; }
    void visit(Ref<platform::Slider>) override { kind = "Slider"; }
    void visit(Ref<platform::PickerView>) override { kind = "PickerView"; }
    void visit(Ref<platform::Gauge>) override { kind = "Gauge"; }
    void visit(Ref<platform::Trace>) override { kind = "Trace"; }
};

void expectVisitedAs(platform::View& view, const std::string& kind) {
    KindRecorder<false> changing;
    view.accept(changing);
    EXPECT_EQ(changing.kind, kind);
    KindRecorder<true> reading;
    static_cast<const platform::View&>(view).accept(reading);
    EXPECT_EQ(reading.kind, kind);
}

const char* const kKinds[] = {"View", "Label", "ImageView", "Button", "Switch", "Slider", "PickerView", "Gauge", "Trace"};

class ElementVisitorTest : public testing_support::PlainPlatformTest {};

TEST_F(ElementVisitorTest, AnElementMadeByALayoutIsVisitedAsItsKind) {
    std::string elements;
    for (const char* kind : kKinds) {
        elements += std::string(elements.empty() ? "" : ", ") + R"({"type": ")" + kind + R"(", "name": ")" + kind +
                    R"(", "frame": [0, 0, 1, 1]})";
    }
    const auto storyboard = platform::Storyboard::fromText(
        "Kinds",
        R"({"initialScene": "A", "scenes": [{"id": "A", "class": "ViewController", "view": {"type": "View", "frame": [0, 0, 10, 10], "subviews": [)" +
            elements + "]}}]}",
        layout_testing::recordingControllerClasses());
    ASSERT_NE(storyboard, nullptr);
    const auto screen = storyboard->instantiateInitialViewController();
    ASSERT_NE(screen, nullptr);
    const auto& made = screen->view()->subviews();
    ASSERT_EQ(made.size(), std::size(kKinds));
    for (size_t i = 0; i < made.size(); ++i) {
        SCOPED_TRACE(kKinds[i]);
        expectVisitedAs(*made[i], kKinds[i]);
    }
}

TEST_F(ElementVisitorTest, AnElementMadeByHandIsVisitedAsItsKind) {
    platform::View box;
    platform::Label label;
    platform::ImageView picture;
    platform::Button button;
    platform::Switch toggle;
    platform::Slider slider;
    platform::PickerView picker;
    platform::Gauge gauge;
    platform::Trace trace;
    platform::View* const views[] = {&box, &label, &picture, &button, &toggle, &slider, &picker, &gauge, &trace};
    for (size_t i = 0; i < std::size(views); ++i) {
        SCOPED_TRACE(kKinds[i]);
        expectVisitedAs(*views[i], kKinds[i]);
    }
}

}  // namespace
