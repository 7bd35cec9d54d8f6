#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/foundation/ns_object.h"

// The system log. A process of a device writes its lines to the device's log (SystemLog in
// <device>/var/log), with the time, its name and pid; a process with no device keeps them to
// itself. A LogCapture collects them for a test.

// Also writes each entry to standard error (`--verbose`, and tests that want to see them).
void setLogEcho(bool toStandardError);

// Writes one message, as is.
void logLine(std::string_view line);

// Collects every line logged while it exists (lines still reach the destination too).
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  std::vector<std::string> lines() const;
};

using LogArgument = std::variant<int64_t, uint64_t, double, std::string, const NSObject*>;

// printf-style formatting with the platform's `%@` for an object's description ("(null)" for
// nil). Conversions: %d %i %u %x %X %ld %lu %lld %llu %f %g %e with flags, width and precision,
// %s, %@, %p, %%. A conversion whose argument has another kind prints the argument as it can;
// a missing argument prints nothing. Never reads past the arguments given.
std::string formatLog(std::string_view format, const std::vector<LogArgument>& arguments);

namespace detail {
template <class T>
LogArgument toLogArgument(const T& value) {
  if constexpr (std::is_same_v<T, bool>) {
    return int64_t{value ? 1 : 0};
  } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>) {
    return int64_t{value};
  } else if constexpr (std::is_integral_v<T>) {
    return uint64_t{value};
  } else if constexpr (std::is_floating_point_v<T>) {
    return double{value};
  } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
    return std::string(std::string_view(value));
  } else if constexpr (std::is_convertible_v<const T&, const NSObject*>) {
    return static_cast<const NSObject*>(value);
  } else {
    return static_cast<const NSObject*>(value.get());
  }
}
}  // namespace detail

// Formats with formatLog() and writes the line to the system log.
template <class... Args>
void NSLog(std::string_view format, const Args&... args) {
  logLine(formatLog(format, {detail::toLogArgument(args)...}));
}
