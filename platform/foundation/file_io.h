#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/foundation/result.h"

// Whole-file reads and writes for the platform's files (property lists, images), with the
// failures said in plain words that name the path.

// The file's bytes; a missing file, a folder, a device or pipe, a file over maxBytes, or a read
// error give a failure. Never blocks on a pipe put in the file's place.
Result<std::string> readFileBytes(const std::filesystem::path& path, uint64_t maxBytes);

// Replaces the file atomically: a temporary file in the same folder, written fully and synced,
// renamed over the target, then the folder synced. A reader sees the old whole file or the new
// whole file; a failure (or a crash mid-write) leaves the old file untouched and no temporary
// behind (temporaries left by crashed writers are swept by the next write). An existing file
// keeps its permission bits.
Result<void> writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);
