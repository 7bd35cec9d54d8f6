#pragma once

#include <string>

// JSON as text for output. Names and texts come from files and may hold any bytes; those that
// are not UTF-8 become U+FFFD rather than ending the command. An indent below 0 gives one line.
template <class Json>
std::string jsonText(const Json& value, int indent = -1) {
  return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}
