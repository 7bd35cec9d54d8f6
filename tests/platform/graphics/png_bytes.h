#pragma once

// PNG files put together byte by byte, for the reader's tests.

#include <zlib.h>

#include <cstdint>
#include <string>

namespace png_bytes {

inline std::string bigEndian(uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<char>(value >> (24 - 8 * i)));
  return bytes;
}

inline std::string chunk(const std::string& type, const std::string& data, uint32_t claimedLength) {
  std::string checked = type + data;
  auto crc = crc32(0, reinterpret_cast<const Bytef*>(checked.data()), checked.size());
  return bigEndian(claimedLength) + checked + bigEndian(static_cast<uint32_t>(crc));
}

inline std::string chunk(const std::string& type, const std::string& data) {
  return chunk(type, data, static_cast<uint32_t>(data.size()));
}

// A signature and a header for an 8-bit image of the given size and colour type (6: RGBA).
inline std::string header(uint32_t width, uint32_t height, char colorType = 6, char interlace = 0) {
  std::string fields =
      bigEndian(width) + bigEndian(height) + std::string{'\x08', colorType, 0, 0, interlace};
  return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", fields);
}

// The rows (each behind its filter byte) as a zlib stream.
inline std::string deflated(const std::string& rows, int level = 6) {
  uLongf size = compressBound(rows.size());
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(rows.data()), rows.size(), level);
  out.resize(size);
  return out;
}

}  // namespace png_bytes
