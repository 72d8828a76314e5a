#pragma once
// A stable text dump of what a view tree shows, for tests to compare.
//
// One line per shown view: its kindName(), its frame, then " tag=N" when the
// tag is not 0, " alpha=A" when alpha is below 1, " transform=(a,b,c,d,tx,ty)"
// when the transform is not the identity, and " " + describe() when the view
// describes content of its own. Subviews follow, back to front, indented by two
// more spaces. Hidden views and views with alpha below 0.01 are left out with
// their subtrees, since nothing of them is seen. Every line ends with "\n".
//
// Example:
//   Window (0,0,320,480)
//     View (0,0,320,44) tag=5
//       Label (10,10,300,24) "Inbox"
//
// Thread: main thread only.
#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace platform::ui {

std::string describe(const ViewPtr& root);

}  // namespace platform::ui
