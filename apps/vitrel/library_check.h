#pragma once

#include <filesystem>

#include "platform/foundation/result.h"

// Whether a library can be injected: the loader tries it in a short-lived child of this
// process, so that nothing the library does at load stays here. Fails with the loader's own
// reason ("invalid ELF header", a missing dependency or symbol). Costs a fork and a load.
Result<void> tryLoading(const std::filesystem::path& library);
