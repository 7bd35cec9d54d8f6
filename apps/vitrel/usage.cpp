#include "apps/vitrel/usage.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace {

std::string text(double number) {
  std::ostringstream out;
  out << number;
  return out.str();
}

// The number a whole argument reads as, if it is one; a whole number in plain digits, as the
// option's integer type reads it.
std::optional<double> parseNumber(const std::string& argument, bool whole) {
  if (whole) {
    long long number = 0;
    const char* end = argument.data() + argument.size();
    auto [stop, error] = std::from_chars(argument.data(), end, number);
    if (error != std::errc() || stop != end) return std::nullopt;
    return static_cast<double>(number);
  }
  std::istringstream in(argument);
  double number = 0;
  if (!(in >> number) || !(in >> std::ws).eof() || !std::isfinite(number)) return std::nullopt;
  return number;
}

}  // namespace

CLI::Option* limitNumber(CLI::Option* option, double min, std::optional<double> max, bool whole) {
  const std::string range =
      max ? "from " + text(min) + " to " + text(*max) : text(min) + " or more";
  const std::string sentence = option->get_name() + " must be a " + (whole ? "whole " : "") +
                               "number" + (max ? " " : ", ") + range;
  return option->check(CLI::Validator(
      [=](const std::string& argument) -> std::string {
        std::optional<double> number = parseNumber(argument, whole);
        if (!number || *number < min || (max && *number > *max)) {
          // Thrown past CLI11, which would put the option's name in front of a returned message.
          throw UsageError(sentence + " (not " + argument + ")");
        }
        return "";
      },
      range));
}
