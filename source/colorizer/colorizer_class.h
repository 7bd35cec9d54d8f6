#pragma once

#include <string_view>

// `Tavrel2Colorizer` as a runtime class, for other code in the process to create by name:
// `initWithIdentifier:`, its four properties and the styling operations, entries to the C++
// colorizer. Call once, at load; a taken name is left as it is and logged with `logPrefix`.
void registerColorizerClass(std::string_view logPrefix);
