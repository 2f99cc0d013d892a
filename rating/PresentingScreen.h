#pragma once
// The screen the rating prompt presents its alert and the product sheet on:
// the top-most screen of the first normal-level window. Main thread only.

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace rating {

// The key window when it is at the normal level, else the first window that
// is; then the top-most screen in its view tree; none without such a window.
platform::ViewController* presentingScreen();
// Depth first through the subviews of `view`: the top-most screen over the
// first screen that owns a subview; none when no subview has one.
platform::ViewController* topMostScreenIn(const platform::View& view);
// The last screen presented over `controller`, or `controller` itself.
platform::ViewController* topMostScreenOver(platform::ViewController* controller);

}  // namespace rating
