#pragma once

#include <string>
#include <vector>

#include "apps/vitrel/color_json.h"

// One way in which two view trees, as `viewTreeJson` writes them, differ.
struct TreeChange {
  // Where the view is: each level's class and its place among the siblings of that class,
  // from the root ("UIView[0]/UIView[1]/_UIContextMenuContainerView[0]"), so that a view added
  // beside others of another class does not shift them.
  std::string path;
  std::string viewClass;
  // "frame", "backgroundColor", "layer.borderColor", "layer.sublayers[0].cornerRadius"…, or
  // "present" for a view that only one tree has (its subviews are not listed apart).
  std::string property;
  // The value in each tree, as the dump writes it; null where that tree has none.
  Json host;
  Json library;
};

// What differs between the host's tree and the library's, in the host tree's order. Views are
// matched by path. Descriptions are not compared (they hold addresses); numbers, and colours'
// components, count as equal within float noise.
std::vector<TreeChange> diffViewTrees(const Json& host, const Json& library);

// {"changes": [{"path", "class", "property", "host", "library"}…]}.
Json changesJson(const std::vector<TreeChange>& changes);

// The changes for a person: a count, then each view's path and class with its changed
// properties beneath, "host → library", colours by their hex (and alpha when not opaque).
std::string changesText(const std::vector<TreeChange>& changes);
