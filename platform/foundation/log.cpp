#include "platform/foundation/log.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <mutex>

#include "platform/foundation/device.h"
#include "platform/foundation/system_log.h"
#include "platform/runtime/no_destructor.h"

namespace {

struct LogState {
  std::mutex mutex;
  bool echo = false;
  int captures = 0;
  std::vector<std::string> captured;
};

LogState& state() {
  static objc::NoDestructor<LogState> instance;
  return *instance;
}

constexpr std::string_view kFlags = "-+ #0";
constexpr std::string_view kLengths = "hlLqjzt";

std::string printfNumber(std::string spec, const LogArgument& argument) {
  // Rebuild the conversion with the length that matches the stored kind.
  char conversion = spec.back();
  spec.pop_back();
  while (!spec.empty() && kLengths.find(spec.back()) != std::string::npos)
    spec.pop_back();
  char text[512];
  bool real = conversion == 'f' || conversion == 'g' || conversion == 'e' || conversion == 'F' ||
              conversion == 'G' || conversion == 'E';
  if (real) {
    double value = std::visit(
        [](const auto& v) -> double {
          if constexpr (std::is_arithmetic_v<std::decay_t<decltype(v)>>) return double(v);
          return 0.0;
        },
        argument);
    std::snprintf(text, sizeof text, (spec + conversion).c_str(), value);
  } else if (const auto* u = std::get_if<uint64_t>(&argument)) {
    if (conversion == 'd' || conversion == 'i') conversion = 'u';
    std::snprintf(text, sizeof text, (spec + "ll" + conversion).c_str(),
                  static_cast<unsigned long long>(*u));
  } else {
    long long value = std::visit(
        [](const auto& v) -> long long {
          if constexpr (std::is_arithmetic_v<std::decay_t<decltype(v)>>)
            return static_cast<long long>(v);
          return 0;
        },
        argument);
    std::snprintf(text, sizeof text, (spec + "ll" + conversion).c_str(), value);
  }
  return text;
}

std::string printAsText(const LogArgument& argument) {
  if (const auto* text = std::get_if<std::string>(&argument)) return *text;
  if (const auto* object = std::get_if<const NSObject*>(&argument)) return describe(*object);
  return printfNumber(std::holds_alternative<double>(argument) ? "%g" : "%d", argument);
}

}  // namespace

void setLogEcho(bool toStandardError) {
  std::lock_guard lock(state().mutex);
  state().echo = toStandardError;
}

void logLine(std::string_view line) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  if (s.captures > 0) s.captured.emplace_back(line);
  const std::optional<std::filesystem::path> device = device::directory();
  if (!device && !s.echo) return;
  // The name as the process set it (the springboard calls itself SpringBoard).
  char name[17] = {};
  prctl(PR_GET_NAME, name);
  const std::string entry =
      SystemLog::formatEntry(line, name, getpid(), std::chrono::system_clock::now());
  if (device) SystemLog::ofDevice(*device).append(entry);
  if (s.echo) std::cerr << entry << std::flush;
}

LogCapture::LogCapture() {
  std::lock_guard lock(state().mutex);
  if (state().captures++ == 0) state().captured.clear();
}

LogCapture::~LogCapture() {
  std::lock_guard lock(state().mutex);
  --state().captures;
}

std::vector<std::string> LogCapture::lines() const {
  std::lock_guard lock(state().mutex);
  return state().captured;
}

std::string formatLog(std::string_view format, const std::vector<LogArgument>& arguments) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    size_t start = i++;
    while (i < format.size() && kFlags.find(format[i]) != std::string_view::npos)
      ++i;
    while (i < format.size() &&
           (std::isdigit(static_cast<unsigned char>(format[i])) || format[i] == '.')) {
      ++i;
    }
    while (i < format.size() && kLengths.find(format[i]) != std::string_view::npos)
      ++i;
    if (i >= format.size()) {
      out += format.substr(start);
      break;
    }
    char conversion = format[i];
    if (conversion == '%') {
      out += '%';
      continue;
    }
    std::string spec(format.substr(start, i - start + 1));
    if (std::string_view("diuxXfFgGeEsp@").find(conversion) == std::string_view::npos) {
      out += spec;  // unknown conversion: shown as written, consumes nothing
      continue;
    }
    if (next >= arguments.size()) continue;
    const LogArgument& argument = arguments[next++];
    if (conversion == 's' || conversion == '@') {
      out += printAsText(argument);
    } else if (conversion == 'p') {
      const auto* object = std::get_if<const NSObject*>(&argument);
      char text[32];
      std::snprintf(text, sizeof text, "%p", object ? static_cast<const void*>(*object) : nullptr);
      out += text;
    } else if (std::holds_alternative<std::string>(argument) ||
               std::holds_alternative<const NSObject*>(argument)) {
      out += printAsText(argument);
    } else {
      out += printfNumber(spec, argument);
    }
  }
  return out;
}
