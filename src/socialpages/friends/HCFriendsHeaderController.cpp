#include "socialpages/friends/HCFriendsHeaderController.h"

void HCFriendsHeaderController::resizeView(const platform::ui::ViewPtr& pageView)
{
    // As wide as the page, at the tabbed header's height.
    view()->setFrame(platform::ui::Rect(0, 0, pageView->bounds().width(), kHeight));
}
