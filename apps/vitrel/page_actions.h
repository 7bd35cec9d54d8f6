#pragma once

#include <functional>
#include <optional>
#include <string>

#include "apps/vitrel/color_json.h"
#include "platform/foundation/result.h"
#include "platform/preferences/host/settings_host.h"

// What the web client asks of a page, as JSON: {"action": NAME, ...arguments}.
//
//   {"action": "tap", "view": ID}                   a row, a button or a tappable view
//   {"action": "setSwitch", "view": ID, "on": BOOL}
//   {"action": "setSlider", "view": ID, "value": NUMBER}
//   {"action": "selectSegment", "view": ID, "index": INTEGER}
//   {"action": "setText", "view": ID, "text": STRING}   text the settings file can hold
//   {"action": "back"}
//   {"action": "alertAction", "index": INTEGER, "fields": [STRING…]}   fields are optional
//   {"action": "dismissSheet"}
//
// A control's change that leaves the settings file as it was (the bundle refused to store it)
// fails, saying why, with the page's controls back at the stored values.
//
// Parsed on the server's thread, run on the main loop.
struct PageAction {
  std::optional<std::string> view;  // the view acted on, for actions on one
  std::function<Result<void>(SettingsHost&)> run;
};

// Fails, saying why, for what is not an object, an unknown action, or a missing or mistyped
// argument.
Result<PageAction> parsePageAction(const Json& request);
