#pragma once
// The course the guide is locked on, and the row of choices beside the guide
// that shows it: Auto (the nearest course) and a button for each course, the
// buttons tagged 0 for Auto and 1 to 5 for the courses. The choice in force
// is the selected button; a screen reader hears which course is locked
// ("Course 3: locked"). Keys press the buttons where a keyboard is at hand
// (the layout names them). Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "tuner/TuningGuideDisplay.h"

namespace tuner {

class CourseChoice {
public:
    // Locks `guide`, which must outlive this.
    explicit CourseChoice(TuningGuideDisplay& guide);

    // The row's buttons: every button under `root` that sends "chooseCourse:".
    void showOn(const std::shared_ptr<platform::View>& root);
    // A button of the row was tapped: Auto releases the lock, a course's locks on it.
    void chooseButton(const platform::Button& button);
    // Locks the guide on course `course` (1 to 5), or releases it with none;
    // any other number changes nothing.
    void choose(std::optional<int> course);
    std::optional<int> chosen() const { return chosen_; }

private:
    struct Texts {
        std::string course;  // "Course", before its number
        std::string locked;  // what a locked course's button says it is
        std::string nearest; // the Auto button's name
        std::string on;      // what the Auto button says while in force
    };
    static Texts textsInLanguageInUse();
    void showChosen();

    TuningGuideDisplay& guide_;
    const Texts texts_ = textsInLanguageInUse();
    std::vector<std::shared_ptr<platform::Button>> buttons_;
    std::optional<int> chosen_;
};

}  // namespace tuner
