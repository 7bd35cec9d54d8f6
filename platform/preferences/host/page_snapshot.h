#pragma once

#include <string>

#include "platform/preferences/host/page_model.h"
#include "platform/uikit/ui_navigation_controller.h"

// Builds page models from the live controllers and views. Main thread only.
namespace page_snapshot {

// The top page of navigation and what is presented over it. Lays the page out first: rows
// stacked under the table's header by section, each cell sized to the table's width and its
// height, constraints applied; the page's delegate is asked for section headers.
page_model::Page snapshotPage(UINavigationController* navigation);

page_model::ViewNode snapshotView(UIView* view);

// The handle of a view in snapshots, and the view under root with that handle (or null).
std::string viewId(const UIView* view);
UIView* findView(UIView* root, const std::string& id);

}  // namespace page_snapshot
