#pragma once

// Path resolution for both the classic file-system layout and the rootless one, where the
// jailbreak's files live under a prefix. The functions load libroot at run time and fall back
// to built-in answers (a rootless device with prefix "/var/jb") where it, or any one of its
// functions, is missing. Path buffers are libroot's: kRootPathBufferSize bytes, terminator
// included; longer results are cut. The library and the settings bundle both build with these.

#include "platform/libroot/libroot.h"

extern "C" {

// Fills the function table once per process, even when first calls race.
void libroot_load(void);

const char* libroot_dyn_get_root_prefix(void);
const char* libroot_dyn_get_jbroot_prefix(void);
const char* libroot_dyn_get_boot_uuid(void);
// Where a path of the classic layout lies on this device, written into resolvedPath (when
// null, into a new buffer from malloc that the caller frees). Null for a null path.
char* libroot_dyn_jbrootpath(const char* path, char* resolvedPath);
// The inverse mapping, with the same conventions.
char* libroot_dyn_rootfspath(const char* path, char* resolvedPath);

const char* libroot_get_root_prefix_fallback(void);
const char* libroot_get_jbroot_prefix_fallback(void);
const char* libroot_get_boot_uuid_fallback(void);
char* libroot_jbrootpath_fallback(const char* path, char* resolvedPath);
char* libroot_rootfspath_fallback(const char* path, char* resolvedPath);

}  // extern "C"
