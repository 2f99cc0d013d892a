// The launch as the program does it, on the plain platform: the rating prompt's
// settings, the launch count, and every layout document installed with the real
// screen controllers bound to it.

#include <gtest/gtest.h>

#include <optional>

#include "app/AppDelegate.h"
#include "app/ExternalLinks.h"
#include "app/LayoutSelection.h"
#include "app/TunerScreen.h"
#include "chords/ChordsViewController.h"
#include "platform/core/WorkQueue.h"
#include "rating/RatingPrompt.h"
#include "rating/RatingPromptKeys.h"
#include "tests/support/PlainPlatform.h"

namespace {

// One screen class that each layout document is drawn for.
struct ScreenClass {
    int64_t idiom;
    double height;
    const char* layout;
};

const ScreenClass kScreens[] = {
    {0, 480, "Main_iPhone4s"},     {0, 568, "Main_iPhone"},         {0, 667, "Main_iPhone6"},
    {0, 736, "Main_iPhone6Plus"},  {0, 812, "Main_iPhoneX"},        {0, 844, "Main_iPhone12Pro"},
    {0, 896, "Main_iPhoneXSMax"},  {0, 932, "Main_iPhone12ProMax"}, {1, 1024, "Main_iPad"},
    {1, 1112, "Main_iPad_Pro_10_5"}, {1, 1133, "Main_iPad_Mini6"},  {1, 1194, "Main_iPad_Pro_11"},
    {1, 1366, "Main_iPad_Pro"},
};

class LaunchTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        rating::RatingPrompt::resetSharedStateForTesting();
    }
    void TearDown() override {
        platform::WorkQueue::background().waitUntilIdle();
        rating::RatingPrompt::resetSharedStateForTesting();
        PlainPlatformTest::TearDown();
    }

    std::vector<std::string> bindingProblems() const {
        std::vector<std::string> problems;
        for (const auto& line : log->lines()) {
            if (line.rfind("Layout ", 0) == 0) problems.push_back(line);
        }
        return problems;
    }

    app::AppDelegate launch(const platform::LaunchOptionsDictionary& options = {}) {
        app::AppDelegate delegate;
        EXPECT_TRUE(delegate.applicationDidFinishLaunchingWithOptions(*platform::Application::sharedApplication(), options));
        platform::WorkQueue::background().waitUntilIdle();
        return delegate;
    }
};

TEST_F(LaunchTest, ConfiguresTheRatingPromptAndCountsTheLaunch) {
    launch();
    EXPECT_EQ(rating::RatingPrompt::appId(), app::kAppStoreId);
    EXPECT_EQ(rating::RatingPrompt::daysUntilPrompt(), 2.0);
    EXPECT_EQ(rating::RatingPrompt::usesUntilPrompt(), 2);
    EXPECT_EQ(rating::RatingPrompt::significantEventsUntilPrompt(), -1);
    EXPECT_EQ(rating::RatingPrompt::timeBeforeReminding(), 2.0);
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), 1);
    advance(0.0);
    EXPECT_EQ(urls->opened().size(), 0u) << "a first launch shows nothing";
}

TEST_F(LaunchTest, EveryLayoutInstallsTheTunerWithTheRealScreensFullyBound) {
    for (const auto& screen : kScreens) {
        SCOPED_TRACE(screen.layout);
        setScreen(screen.idiom, screen.height);
        log->clear();
        platform::Application::sharedApplication()->removeAllWindows();

        app::AppDelegate delegate = launch();

        ASSERT_TRUE(delegate.window());
        EXPECT_EQ(platform::Application::sharedApplication()->keyWindow(), delegate.window());
        EXPECT_EQ(delegate.window()->frame().height, screen.height);
        EXPECT_TRUE(std::dynamic_pointer_cast<app::TunerScreen>(delegate.window()->rootViewController()));
        EXPECT_EQ(bindingProblems(), std::vector<std::string>{});

        // The chord chart is bound when it is opened; open it through the layout.
        const auto chords = platform::Storyboard::storyboardWithName(screen.layout, app::AppDelegate::controllerClasses())
                                ->instantiateViewControllerWithIdentifier("ChordsViewController");
        EXPECT_TRUE(std::dynamic_pointer_cast<chords::ChordsViewController>(chords));
        EXPECT_EQ(bindingProblems(), std::vector<std::string>{});
    }
}

TEST_F(LaunchTest, TheTunersGuideStartsLockedOnTheCourseTheLaunchOptionsName) {
    const struct {
        platform::LaunchOptionsDictionary options;
        std::optional<int> locked;
    } cases[] = {
        {{}, std::nullopt},
        {{{"course", "1"}}, 1},
        {{{"course", "3"}}, 3},
        {{{"course", "5"}}, 5},
        // Never given by the command line, which checks the number first.
        {{{"course", "6"}}, std::nullopt},
        {{{"course", "3x"}}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.empty() ? "none" : c.options.begin()->second);
        platform::Application::sharedApplication()->removeAllWindows();
        const app::AppDelegate delegate = launch(c.options);
        ASSERT_TRUE(delegate.window());
        const auto tuner = std::dynamic_pointer_cast<app::TunerScreen>(delegate.window()->rootViewController());
        ASSERT_TRUE(tuner);
        EXPECT_EQ(tuner->lockedCourse(), c.locked);
    }
}

TEST_F(LaunchTest, TheChordDiagramNumbersItsFretsAndNamesItsStrings) {
    for (const auto& screen : kScreens) {
        SCOPED_TRACE(screen.layout);
        setScreen(screen.idiom, screen.height);
        const auto chords = platform::Storyboard::storyboardWithName(screen.layout, app::AppDelegate::controllerClasses())
                                ->instantiateViewControllerWithIdentifier("ChordsViewController");
        // The diagram is the view that holds the finger marks.
        const auto mark = std::dynamic_pointer_cast<chords::ChordsViewController>(chords)->Str1Fr1;
        ASSERT_TRUE(mark && mark->superview());
        const platform::View& diagram = *mark->superview();
        std::vector<std::string> labels;
        for (const auto& view : diagram.subviews()) {
            const auto* label = dynamic_cast<const platform::Label*>(view.get());
            if (!label) continue;
            labels.push_back(label->text());
            EXPECT_GE(view->frame().x, 0.0) << label->text();
            EXPECT_LE(view->frame().y + view->frame().height, diagram.frame().height) << label->text();
        }
        EXPECT_EQ(labels, (std::vector<std::string>{"1", "2", "3", "4", "E5", "A4", "E4", "C5", "G4"}));
    }
}

TEST_F(LaunchTest, TheSharpFlatButtonStartsOnThePictureItsCodeSetsForEveryServedHeight) {
    // Two presses come back to the first spelling: the picture the code sets
    // then is the one the layout must start on.
    const double heights[][2] = {{0, 480}, {0, 568},  {0, 667},  {0, 736},  {0, 812},  {0, 844},  {0, 852},
                                 {0, 874}, {0, 896},  {0, 912},  {0, 926},  {0, 932},  {0, 956},  {1, 1024},
                                 {1, 1080}, {1, 1112}, {1, 1133}, {1, 1180}, {1, 1194}, {1, 1210}, {1, 1366},
                                 {1, 1376}};
    const auto pictureName = [](const chords::ChordsViewController& screen) {
        const auto image = screen.buttonFlatOrSharp->imageForState(platform::ControlState::Normal);
        return image ? image->name : std::string();
    };
    for (const auto& [idiom, height] : heights) {
        SCOPED_TRACE(height);
        setScreen(static_cast<int64_t>(idiom), height);
        const auto layout = app::chooseLayout(static_cast<int64_t>(idiom), height).layoutName;
        ASSERT_TRUE(layout);
        const auto screen = std::dynamic_pointer_cast<chords::ChordsViewController>(
            platform::Storyboard::storyboardWithName(*layout, app::AppDelegate::controllerClasses())
                ->instantiateViewControllerWithIdentifier("ChordsViewController"));
        ASSERT_TRUE(screen && screen->buttonFlatOrSharp);
        const std::string first = pictureName(*screen);
        screen->toggleSharpOfFlat(nullptr);
        screen->toggleSharpOfFlat(nullptr);
        EXPECT_EQ(pictureName(*screen), first);
    }
}

TEST_F(LaunchTest, AScreenClassWithoutALayoutGetsNoWindowButTheLogLines) {
    setScreen(0, 800);
    testing::internal::CaptureStderr();
    app::AppDelegate delegate = launch();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(delegate.window());
    EXPECT_EQ(log->count("iPhone has a height of: 800.000000"), 5u);
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), 1) << "the launch still counts";
    // Said plainly, once, outside the log: which heights would have worked.
    const app::ServedHeights lists = app::servedHeightLists("and");
    const std::string served =
        "phone layouts serve heights " + lists.phone + "; tablet layouts serve heights " + lists.tablet;
    EXPECT_EQ(err, "pallqa-tuner: no layout for a phone 800 points high; " + served + "\n");
    EXPECT_EQ(platform::Application::sharedApplication()->noWindowExplanation(), "The " + served + ".");
}

TEST_F(LaunchTest, AScreenWithALayoutSaysNothingOnStderr) {
    setScreen(1, 1376);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(launch().window());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(platform::Application::sharedApplication()->noWindowExplanation(), "");
}

TEST_F(LaunchTest, TheStatusBarIsHidden) { EXPECT_TRUE(app::AppDelegate().prefersStatusBarHidden()); }

}  // namespace
