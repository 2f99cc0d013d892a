#include "tuner/CourseChoice.h"

#include "platform/core/Bundle.h"
#include "sound/Courses.h"

namespace tuner {

CourseChoice::CourseChoice(TuningGuideDisplay& guide) : guide_(guide) {}

CourseChoice::Texts CourseChoice::textsInLanguageInUse() {
    const auto bundle = platform::Bundle::mainBundle();
    const auto text = [&bundle](const char* key, const char* english) {
        return bundle->localizedString(key, english, "");
    };
    return {text("GuideCourse", "Course"), text("SpokenCourseLocked", "locked"),
            text("SpokenNearestCourse", "Auto, the nearest course"), text("SpokenChoiceOn", "on")};
}

void CourseChoice::showOn(const std::shared_ptr<platform::View>& root) {
    buttons_.clear();
    for (const auto& control : platform::controlsSending(root, "chooseCourse:")) {
        if (auto button = std::dynamic_pointer_cast<platform::Button>(control)) buttons_.push_back(std::move(button));
    }
    for (const auto& button : buttons_) {
        button->setAccessibilityLabel(button->tag() == 0 ? texts_.nearest
                                                         : texts_.course + " " + std::to_string(button->tag()));
    }
    showChosen();
}

void CourseChoice::chooseButton(const platform::Button& button) {
    choose(button.tag() == 0 ? std::nullopt : std::optional(static_cast<int>(button.tag())));
}

void CourseChoice::choose(std::optional<int> course) {
    if (course && (*course < 1 || *course > static_cast<int>(sound::kCourses.size()))) return;
    if (course != chosen_) {
        chosen_ = course;
        guide_.choose(course);
    }
    showChosen();
}

void CourseChoice::showChosen() {
    for (const auto& button : buttons_) {
        const bool selected = button->tag() == chosen_.value_or(0);
        button->setSelected(selected);
        button->setAccessibilityValue(!selected ? "" : chosen_ ? texts_.locked : texts_.on);
    }
}

}  // namespace tuner
