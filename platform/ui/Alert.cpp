#include "platform/ui/Alert.h"

#include "platform/ui/Application.h"
#include "platform/core/Device.h"

namespace platform {
namespace {

// The look of an alert on a phone: a column this wide, one row per text or button.
constexpr double kAlertWidth = 270.0;
constexpr double kRowHeight = 44.0;
constexpr double kMessageHeight = 88.0;

// Replaces `container`'s contents by the title, the message and one button per
// title, in a column centred on the main screen; a tap on button i calls onTap(i).
void layOutAlert(View& container, const std::string& title, const std::string& message,
                 const std::vector<std::string>& buttonTitles, const std::function<void(size_t)>& onTap) {
    const auto previous = container.subviews();
    for (const auto& view : previous) view->removeFromSuperview();

    auto titleLabel = std::make_shared<Label>();
    titleLabel->setName("alertTitle");
    titleLabel->setText(title);
    titleLabel->setFrame({0.0, 0.0, kAlertWidth, kRowHeight});
    container.addSubview(titleLabel);

    auto messageLabel = std::make_shared<Label>();
    messageLabel->setName("alertMessage");
    messageLabel->setText(message);
    messageLabel->setFrame({0.0, kRowHeight, kAlertWidth, kMessageHeight});
    container.addSubview(messageLabel);

    double y = kRowHeight + kMessageHeight;
    for (size_t i = 0; i < buttonTitles.size(); ++i) {
        auto button = std::make_shared<Button>();
        button->setName("alertButton" + std::to_string(i));
        button->setTitle(buttonTitles[i]);
        button->setFrame({0.0, y, kAlertWidth, kRowHeight});
        button->addTarget([onTap, i](Control*) { onTap(i); });
        container.addSubview(button);
        y += kRowHeight;
    }
    const Rect screen = Screen::mainBounds();
    container.setFrame({(screen.width - kAlertWidth) / 2.0, (screen.height - y) / 2.0, kAlertWidth, y});
}

}  // namespace

AlertController::AlertController(std::string title, std::string message, AlertControllerStyle preferredStyle)
    : title_(std::move(title)), message_(std::move(message)), style_(preferredStyle) {
    layOut();
}

void AlertController::addAction(AlertAction action) {
    actions_.push_back(std::move(action));
    layOut();
}

void AlertController::layOut() {
    std::vector<std::string> titles;
    for (const auto& action : actions_) titles.push_back(action.title());
    // The buttons live in this controller's own view, so they never outlive it.
    layOutAlert(*view(), title_, message_, titles, [this](size_t index) { userTapAction(index); });
}

bool AlertController::userTapAction(size_t index) {
    if (!isVisible() || index >= actions_.size()) return false;
    // The handler may release the last reference to this alert: keep what it
    // needs and touch no member once it runs.
    const AlertAction tapped = actions_[index];
    dismissViewController(true);
    if (tapped.handler()) tapped.handler()(tapped);
    return true;
}

AlertView::AlertView(std::string title, std::string message, std::weak_ptr<AlertViewDelegate> delegate,
                     std::string cancelButtonTitle, std::vector<std::string> otherButtonTitles)
    : title_(std::move(title)),
      message_(std::move(message)),
      delegate_(std::move(delegate)),
      hasCancelButton_(!cancelButtonTitle.empty()) {
    if (hasCancelButton_) buttonTitles_.push_back(std::move(cancelButtonTitle));
    for (auto& other : otherButtonTitles) buttonTitles_.push_back(std::move(other));
}

int64_t AlertView::addButtonWithTitle(std::string title) {
    buttonTitles_.push_back(std::move(title));
    return numberOfButtons() - 1;
}

std::string AlertView::buttonTitleAtIndex(int64_t index) const {
    if (index < 0 || index >= numberOfButtons()) return {};
    return buttonTitles_[static_cast<size_t>(index)];
}

void AlertView::show() {
    layOutAlert(*this, title_, message_, buttonTitles_,
                [this](size_t index) { userTapButtonAtIndex(static_cast<int64_t>(index)); });
    visible_.store(true, std::memory_order_relaxed);
    if (const auto window = Application::sharedApplication()->keyWindow()) window->addSubview(shared_from_this());
    notify(Change::Visibility);
}

void AlertView::dismissWithClickedButtonIndex(int64_t index, bool) {
    // The delegate may release the last other reference to this alert.
    const auto self = shared_from_this();
    visible_.store(false, std::memory_order_relaxed);
    removeFromSuperview();
    notify(Change::Visibility);
    if (const auto delegate = delegate_.lock()) delegate->alertViewDidDismissWithButtonIndex(*this, index);
}

bool AlertView::userTapButtonAtIndex(int64_t index) {
    if (!isVisible() || index < 0 || index >= numberOfButtons()) return false;
    dismissWithClickedButtonIndex(index, true);
    return true;
}

}  // namespace platform
