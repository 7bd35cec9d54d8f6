#pragma once

// libroot's interface, as the simulated device's libroot.so provides it to programs that link
// it directly (the injected library loads it at run time instead). Paths go into a buffer of
// kRootPathBufferSize bytes, terminator included (longer results are cut), or into a new one
// from malloc when resolvedPath is null; null for a null path.

#include <cstddef>

inline constexpr size_t kRootPathBufferSize = 1024;

extern "C" {
const char* libroot_get_root_prefix(void);
const char* libroot_get_jbroot_prefix(void);
const char* libroot_get_boot_uuid(void);
char* libroot_jbrootpath(const char* path, char* resolvedPath);
char* libroot_rootfspath(const char* path, char* resolvedPath);
}
