#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/foundation/result.h"

// A localisation table: key → localised text.
using StringsTable = std::map<std::string, std::string, std::less<>>;

// Parses the text of a ".strings" file: entries `"key" = "value";`, with C and C++ comments
// between them and the escapes \" \\ \n \t \r inside quotes. A malformed file gives a failure
// that names the line; never a partial table.
Result<StringsTable> parseStringsTable(std::string_view text);
