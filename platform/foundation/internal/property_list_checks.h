#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Checks of untrusted bytes before libplist parses them, shared by the property-list files.
namespace property_list_internal {

// Why libplist must not be given these XML bytes: nesting over the bound, or a scalar whose
// text libplist would read as something else (it reads "abc" as 0 and "010" as 8). Nullopt when
// they are fit to parse. Linear in the size of the text.
std::optional<std::string> xmlProblem(std::string_view xml);

// Why libplist must not be given these binary bytes ("bplist00…"): a damaged layout, a type
// property lists do not use, self-reference, nesting over the bound, or shared objects that
// would expand to too many values. Nullopt when they are fit to parse. Linear in the number of
// references.
std::optional<std::string> binaryProblem(std::string_view bytes);

// The text quoted for an error message, cut short when long.
std::string excerpt(std::string_view text);

// The unsigned big-endian integer of `width` bytes at `at`; the caller checks the bounds.
uint64_t bigEndian(std::string_view bytes, uint64_t at, uint64_t width);

}  // namespace property_list_internal
