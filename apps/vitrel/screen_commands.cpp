#include "apps/vitrel/screen_commands.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

// Far beyond any screen, short enough to print plainly.
constexpr double kLargestCoordinate = 100000;

Result<std::string> failure(std::string reason) {
  return Result<std::string>::failure(std::move(reason));
}

const Json* argument(const Json& request, const char* name) {
  auto found = request.find(name);
  return found == request.end() ? nullptr : &*found;
}

Result<std::string> coordinate(const Json& request, const char* name) {
  const Json* value = argument(request, name);
  if (!value || !value->is_number() || !std::isfinite(value->get<double>()) ||
      value->get<double>() < 0 || value->get<double>() > kLargestCoordinate) {
    return failure(std::string("\"") + name + "\" must be a point's coordinate (a number ≥ 0)");
  }
  char text[32];
  std::snprintf(text, sizeof(text), "%.2f", value->get<double>());
  return std::string(text);
}

Result<std::string> atPoint(const std::string& action, const Json& request) {
  Result<std::string> x = coordinate(request, "x");
  if (!x) return x;
  Result<std::string> y = coordinate(request, "y");
  if (!y) return y;
  return action + " " + x.value() + " " + y.value();
}

Result<std::string> style(const Json& request) {
  const Json* style = argument(request, "style");
  if (!style || (*style != "light" && *style != "dark")) {
    return failure("\"style\" must be \"light\" or \"dark\"");
  }
  return "style " + style->get<std::string>();
}

Result<std::string> system(const Json& request) {
  const Json* version = argument(request, "version");
  if (!version || !version->is_number_integer() || *version < 15 || *version > 17) {
    return failure("\"version\" must be 15, 16 or 17");
  }
  return "system " + std::to_string(version->get<int>());
}

}  // namespace

Result<std::string> springboardCommand(const Json& request) {
  if (!request.is_object()) return failure("the request must be a JSON object");
  const Json* action = argument(request, "action");
  if (!action || !action->is_string()) return failure("\"action\" must be an action's name");
  const std::string name = action->get<std::string>();
  if (name == "hold" || name == "tap") return atPoint(name, request);
  if (name == "lock" || name == "unlock") return name;
  if (name == "style") return style(request);
  if (name == "system") return system(request);
  return failure("unknown action \"" + name + "\"");
}

ScreenAnswer screenAnswer(const std::string& line) {
  constexpr std::string_view kNothing = "nothing: ", kError = "error: ";
  if (line == "ok" || line.starts_with("ok ")) return {200, {{"done", true}}};
  if (line.starts_with(kNothing)) {
    return {200, {{"done", false}, {"message", line.substr(kNothing.size())}}};
  }
  if (line.starts_with(kError)) return {409, {{"error", line.substr(kError.size())}}};
  return {502, {{"error", "the springboard answered \"" + line + "\""}}};
}
