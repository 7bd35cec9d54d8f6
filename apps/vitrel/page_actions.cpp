#include "apps/vitrel/page_actions.h"

#include <sys/stat.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "apps/vitrel/settings_file.h"
#include "platform/preferences/framework/ps_list_controller.h"

namespace {

using Parser = std::function<Result<PageAction>(const Json&)>;

Result<PageAction> failure(std::string reason) {
  return Result<PageAction>::failure(std::move(reason));
}

// The argument `name` of the request when it has the type that `is` checks.
template <class T>
std::optional<T> argument(const Json& request, const char* name, bool (Json::*is)() const) {
  auto found = request.find(name);
  if (found == request.end() || !((*found).*is)()) return std::nullopt;
  return found->get<T>();
}

std::string missing(const char* name, const char* type) {
  return std::string("\"") + name + "\" must be " + type;
}

// An action on one view of the page, with one more argument.
template <class Param>
Parser onView(const char* name, bool (Json::*is)() const, const char* type,
              Result<void> (SettingsHost::*call)(const std::string&, Param)) {
  using T = std::remove_cvref_t<Param>;
  return [=](const Json& request) -> Result<PageAction> {
    std::optional<std::string> view = argument<std::string>(request, "view", &Json::is_string);
    if (!view) return failure(missing("view", "a view id"));
    std::optional<T> value = argument<T>(request, name, is);
    if (!value) return failure(missing(name, type));
    return PageAction{view, [=](SettingsHost& host) { return (host.*call)(*view, *value); }};
  };
}

Result<PageAction> tap(const Json& request) {
  std::optional<std::string> view = argument<std::string>(request, "view", &Json::is_string);
  if (!view) return failure(missing("view", "a view id"));
  return PageAction{view, [=](SettingsHost& host) { return host.tap(*view); }};
}

Result<PageAction> alertAction(const Json& request) {
  std::optional<long> index = argument<long>(request, "index", &Json::is_number_integer);
  if (!index || *index < 0) return failure(missing("index", "an action's index"));
  std::vector<std::string> fields;
  if (auto found = request.find("fields"); found != request.end()) {
    if (!found->is_array()) return failure(missing("fields", "a list of texts"));
    for (const Json& field : *found) {
      if (!field.is_string()) return failure(missing("fields", "a list of texts"));
      fields.push_back(field.get<std::string>());
    }
  }
  return PageAction{std::nullopt, [=](SettingsHost& host) -> Result<void> {
                      for (size_t field = 0; field < fields.size(); ++field) {
                        Result<void> set = host.setAlertText(field, fields[field]);
                        if (!set) return set;
                      }
                      return host.chooseAlertAction(static_cast<size_t>(*index));
                    }};
}

// What tells one version of the settings file from another: every write replaces it whole,
// by rename, so each gets a new inode; nullopt while there is no file.
using FileVersion = std::optional<std::tuple<ino_t, time_t, long, off_t>>;

FileVersion versionOf(const std::filesystem::path& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return std::nullopt;
  return std::tuple(status.st_ino, status.st_mtim.tv_sec, status.st_mtim.tv_nsec, status.st_size);
}

std::string notSaved() {
  auto stored = settings_file::read();
  if (!stored) return "Not saved: the settings file cannot be read (" + stored.error() + ").";
  return "Not saved: the settings bundle refused the change (`vitrel log` says why).";
}

// A control's change is stored by the bundle, which refuses it (rightly: it keeps a file it
// cannot read, and stores nothing for a row without a key) with no word to the page. A change
// that left the settings file as it was did not happen: the page's controls go back to the
// stored values and the change fails with the reason.
Parser stored(Parser parse) {
  return [parse](const Json& request) -> Result<PageAction> {
    Result<PageAction> change = parse(request);
    if (!change) return change;
    PageAction action = std::move(change).value();
    action.run = [run = std::move(action.run)](SettingsHost& host) -> Result<void> {
      const std::filesystem::path file = settings_file::path();
      const FileVersion before = versionOf(file);
      Result<void> done = run(host);
      if (!done || versionOf(file) != before) return done;
      if (auto* page =
              dynamic_cast<PSListController*>(host.navigationController()->topViewController())) {
        page->refreshCells();
      }
      return Result<void>::failure(notSaved());
    };
    return action;
  };
}

// A row's text is stored as it is given, so text the settings file cannot hold is refused
// before the row sees it.
Parser storable(Parser parse) {
  return [parse](const Json& request) -> Result<PageAction> {
    Result<PageAction> change = parse(request);
    if (!change) return change;
    if (auto refusal = settings_file::unstorableText(request.at("text").get<std::string>())) {
      return failure("the text cannot be stored: " + *refusal);
    }
    return change;
  };
}

template <Result<void> (SettingsHost::*call)()>
Result<PageAction> plain(const Json&) {
  return PageAction{std::nullopt, [](SettingsHost& host) { return (host.*call)(); }};
}

const std::map<std::string, Parser>& parsers() {
  static const std::map<std::string, Parser> kParsers = {
      {"tap", tap},
      {"setSwitch",
       stored(onView("on", &Json::is_boolean, "true or false", &SettingsHost::setSwitch))},
      {"setSlider",
       stored(onView("value", &Json::is_number, "a number", &SettingsHost::setSlider))},
      {"selectSegment", stored(onView("index", &Json::is_number_integer, "a segment's index",
                                      &SettingsHost::selectSegment))},
      {"setText",
       stored(storable(onView("text", &Json::is_string, "a text", &SettingsHost::setText)))},
      {"back", plain<&SettingsHost::goBack>},
      {"alertAction", alertAction},
      {"dismissSheet", plain<&SettingsHost::dismissSheet>}};
  return kParsers;
}

}  // namespace

Result<PageAction> parsePageAction(const Json& request) {
  if (!request.is_object()) return failure("the request must be a JSON object");
  std::optional<std::string> name = argument<std::string>(request, "action", &Json::is_string);
  if (!name) return failure(missing("action", "an action's name"));
  auto parser = parsers().find(*name);
  if (parser == parsers().end()) return failure("unknown action \"" + *name + "\"");
  return parser->second(request);
}
