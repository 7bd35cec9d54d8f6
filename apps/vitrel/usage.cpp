#include "apps/vitrel/usage.h"

#include <cmath>
#include <sstream>

namespace {

std::string text(double number) {
  std::ostringstream out;
  out << number;
  return out.str();
}

// The number a whole argument reads as, if it is one.
std::optional<double> parseNumber(const std::string& argument) {
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
        std::optional<double> number = parseNumber(argument);
        if (!number || *number < min || (max && *number > *max) ||
            (whole && std::floor(*number) != *number)) {
          // Thrown past CLI11, which would put the option's name in front of a returned message.
          throw UsageError(sentence + " (not " + argument + ")");
        }
        return "";
      },
      range));
}
