#include "apps/vitrel/tree_diff.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "apps/vitrel/json_text.h"

namespace {

// Two runs of the same code give the same doubles, but a value the library writes as a float
// and the host as a double may differ in the last bits.
constexpr double kFloatNoise = 1e-6;

bool isColour(const Json& value) {
  return value.is_object() && (value.contains("hex") || value.contains("gradient"));
}

bool isRect(const Json& value) {
  return value.is_object() && value.contains("width") && value.contains("height");
}

// Values compared and reported whole rather than key by key.
bool isWhole(const Json& value) {
  return !value.is_object() || isColour(value) || isRect(value);
}

bool nearlyEqual(const Json& a, const Json& b) {
  if (a.is_number() && b.is_number()) {
    const double x = a.get<double>(), y = b.get<double>();
    return std::abs(x - y) <= kFloatNoise * std::max({1.0, std::abs(x), std::abs(y)});
  }
  if (a.is_array() && b.is_array()) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), nearlyEqual);
  }
  if (a.is_object() && b.is_object()) {
    if (a.size() != b.size()) return false;
    for (const auto& [key, value] : a.items()) {
      // A colour's hex is rounded from its components, which are compared instead.
      if (key == "hex") continue;
      if (!b.contains(key) || !nearlyEqual(value, b.at(key))) return false;
    }
    return true;
  }
  return a == b;
}

// Collects the differences of one view's own properties.
class PropertyDiff {
 public:
  PropertyDiff(const std::string& path, const std::string& viewClass,
               std::vector<TreeChange>& changes)
      : path_(path), viewClass_(viewClass), changes_(changes) {}

  void compare(const std::string& name, const Json& host, const Json& library) {
    if (host.is_array() && library.is_array()) {
      for (size_t i = 0; i < std::max(host.size(), library.size()); ++i) {
        compare(name + "[" + std::to_string(i) + "]", element(host, i), element(library, i));
      }
    } else if (isWhole(host) || isWhole(library)) {
      if (!nearlyEqual(host, library)) changes_.push_back({path_, viewClass_, name, host, library});
    } else {
      compareKeys(name + ".", host, library);
    }
  }

  // Every key but the ones that are not the view's own properties.
  void compareKeys(const std::string& prefix, const Json& host, const Json& library) {
    static const char* const skipped[] = {"class", "description", "subviews"};
    auto own = [](const std::string& key) {
      return std::find(std::begin(skipped), std::end(skipped), key) == std::end(skipped);
    };
    for (const auto& [key, value] : host.items()) {
      if (own(key)) compare(prefix + key, value, member(library, key));
    }
    for (const auto& [key, value] : library.items()) {
      if (own(key) && !host.contains(key)) compare(prefix + key, nullptr, value);
    }
  }

 private:
  static Json element(const Json& array, size_t i) { return i < array.size() ? array[i] : nullptr; }
  static Json member(const Json& object, const std::string& key) {
    return object.contains(key) ? object.at(key) : Json(nullptr);
  }

  const std::string& path_;
  const std::string& viewClass_;
  std::vector<TreeChange>& changes_;
};

std::string className(const Json& view) {
  return view.value("class", std::string("?"));
}

// The views' paths under the parent's, in order.
std::vector<std::pair<std::string, const Json*>> childPaths(const std::string& parent,
                                                            const Json& views) {
  std::map<std::string, int> seen;
  std::vector<std::pair<std::string, const Json*>> paths;
  for (const Json& view : views) {
    const std::string name = className(view);
    std::string path =
        (parent.empty() ? "" : parent + "/") + name + "[" + std::to_string(seen[name]++) + "]";
    paths.emplace_back(std::move(path), &view);
  }
  return paths;
}

void diffView(const std::string& path, const Json& host, const Json& library,
              std::vector<TreeChange>& changes);

void diffChildren(const std::string& parent, const Json& host, const Json& library,
                  std::vector<TreeChange>& changes) {
  const auto hostPaths = childPaths(parent, host);
  const auto libraryPaths = childPaths(parent, library);
  const std::map<std::string, const Json*> libraryViews(libraryPaths.begin(), libraryPaths.end());
  const std::map<std::string, const Json*> hostViews(hostPaths.begin(), hostPaths.end());
  for (const auto& [path, view] : hostPaths) {
    auto match = libraryViews.find(path);
    if (match != libraryViews.end()) {
      diffView(path, *view, *match->second, changes);
    } else {
      changes.push_back({path, className(*view), "present", true, false});
    }
  }
  for (const auto& [path, view] : libraryPaths) {
    if (!hostViews.contains(path))
      changes.push_back({path, className(*view), "present", false, true});
  }
}

void diffView(const std::string& path, const Json& host, const Json& library,
              std::vector<TreeChange>& changes) {
  const std::string viewClass = className(host);
  PropertyDiff(path, viewClass, changes).compareKeys("", host, library);
  diffChildren(path, host.value("subviews", Json::array()),
               library.value("subviews", Json::array()), changes);
}

std::string numberText(double number) {
  std::ostringstream text;
  text << number;
  return text.str();
}

std::string colourText(const Json& colour) {
  if (colour.contains("gradient")) {
    const Json& gradient = colour.at("gradient");
    return "gradient " + colourText(gradient.at("from")) + " to " + colourText(gradient.at("to"));
  }
  std::string text = colour.value("hex", std::string("?"));
  const double alpha = colour.value("a", 1.0);
  if (std::abs(alpha - 1) > kFloatNoise) text += " alpha " + numberText(alpha);
  return text;
}

std::string valueText(const Json& value) {
  if (value.is_null()) return "none";
  if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
  if (value.is_number()) return numberText(value.get<double>());
  if (value.is_string()) return jsonText(value);
  if (isColour(value)) return colourText(value);
  if (isRect(value)) {
    return "(" + numberText(value.value("x", 0.0)) + " " + numberText(value.value("y", 0.0)) +
           "; " + numberText(value.at("width").get<double>()) + " " +
           numberText(value.at("height").get<double>()) + ")";
  }
  return jsonText(value);
}

std::string changeText(const TreeChange& change) {
  if (change.property == "present") {
    return change.library.get<bool>() ? "added by the library" : "removed by the library";
  }
  return change.property + ": " + valueText(change.host) + " → " + valueText(change.library);
}

}  // namespace

std::vector<TreeChange> diffViewTrees(const Json& host, const Json& library) {
  std::vector<TreeChange> changes;
  diffChildren("", Json::array({host}), Json::array({library}), changes);
  return changes;
}

Json changesJson(const std::vector<TreeChange>& changes) {
  Json list = Json::array();
  for (const TreeChange& change : changes) {
    list.push_back({{"path", change.path},
                    {"class", change.viewClass},
                    {"property", change.property},
                    {"host", change.host},
                    {"library", change.library}});
  }
  return {{"changes", std::move(list)}};
}

std::string changesText(const std::vector<TreeChange>& changes) {
  if (changes.empty()) return "The library changed nothing in the scene.\n";
  std::map<std::string, int> views;
  for (const TreeChange& change : changes)
    ++views[change.path];
  std::string text = std::to_string(changes.size()) + " change" + (changes.size() == 1 ? "" : "s") +
                     " on " + std::to_string(views.size()) + " view" +
                     (views.size() == 1 ? "" : "s") + ", host → library:\n";
  // A view's changes come together: its own properties, or its being added or removed.
  const std::string* view = nullptr;
  for (const TreeChange& change : changes) {
    if (!view || *view != change.path) {
      text += "\n" + change.path + "\n";
      view = &change.path;
    }
    text += "  " + changeText(change) + "\n";
  }
  return text;
}
