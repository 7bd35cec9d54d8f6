// A libroot that lacks libroot_rootfspath, to check that each missing function falls back on
// its own.
#include <cstring>

extern "C" {

const char* libroot_get_root_prefix(void) {
  return "/fake/root";
}
const char* libroot_get_jbroot_prefix(void) {
  return "/fake/jb";
}
const char* libroot_get_boot_uuid(void) {
  return "FAKE-BOOT";
}

char* libroot_jbrootpath(const char* path, char* resolvedPath) {
  if (!path || !resolvedPath) return nullptr;
  std::strcpy(resolvedPath, "fake:");
  std::strncat(resolvedPath, path, 1000);
  return resolvedPath;
}

}  // extern "C"
