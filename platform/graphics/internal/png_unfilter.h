#pragma once

#include <cstddef>
#include <cstdint>

namespace png_rows {

// Undoes one of PNG's five row filters: `out` receives the row `in` encodes, given the row
// above already undone (`previous`: zeros for the first row). `out` may be `in`, not
// `previous`. `length` is a whole number of pixels of bytesPerPixel (1…8) bytes. False for a
// filter type PNG does not define, with `out` left unspecified.
bool unfilterRow(uint8_t filter, const uint8_t* in, uint8_t* out, const uint8_t* previous,
                 size_t length, size_t bytesPerPixel);

}  // namespace png_rows
