#include "source/settings/root_path.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/foundation/dispatch.h"

// The device loads "@rpath/libroot.dylib"; here libroot.so is looked for beside this library,
// then on the loader's search path. Tests build with another name or an absolute path.
#ifndef VITREL_LIBROOT_NAME
#define VITREL_LIBROOT_NAME "libroot.so"
#endif

namespace {

using PrefixFunction = const char* (*)();
using PathFunction = char* (*)(const char*, char*);

PrefixFunction rootPrefix = nullptr;
PrefixFunction jbrootPrefix = nullptr;
PrefixFunction bootUUID = nullptr;
PathFunction jbrootPath = nullptr;
PathFunction rootfsPath = nullptr;

dispatch_once_t loadOnce;

// Beside this library first, by full path: a bare name would be searched from the caller of
// dlopen, which is not this library when a sanitizer intercepts the call.
void* openLibroot() {
  std::string_view name = VITREL_LIBROOT_NAME;
  Dl_info self{};
  if (!name.starts_with('/') && dladdr(reinterpret_cast<void*>(&libroot_load), &self) &&
      self.dli_fname) {
    std::string_view location(self.dli_fname);
    size_t slash = location.rfind('/');
    if (slash != std::string_view::npos) {
      std::string beside = std::string(location.substr(0, slash + 1)) + std::string(name);
      if (void* library = dlopen(beside.c_str(), RTLD_NOW)) return library;
    }
  }
  return dlopen(std::string(name).c_str(), RTLD_NOW);
}

template <class Function>
void lookUp(void* library, const char* symbol, Function& slot) {
  if (library) slot = reinterpret_cast<Function>(dlsym(library, symbol));
}

// The buffer the result goes into: the caller's, or a new one the caller frees. malloc,
// because the callers of this C interface release it with free().
char* outputBuffer(char* resolvedPath) {
  return resolvedPath ? resolvedPath : static_cast<char*>(std::malloc(kRootPathBufferSize));
}

// Writes first then second into buffer, cut to fit with a terminator.
char* writeJoined(char* buffer, std::string_view first, std::string_view second) {
  if (!buffer) return nullptr;
  size_t length = std::min(first.size(), kRootPathBufferSize - 1);
  std::memcpy(buffer, first.data(), length);
  size_t rest = std::min(second.size(), kRootPathBufferSize - 1 - length);
  std::memcpy(buffer + length, second.data(), rest);
  buffer[length + rest] = '\0';
  return buffer;
}

}  // namespace

extern "C" {

void libroot_load(void) {
  dispatch_once(&loadOnce, [] {
    // Kept open for the life of the process: the pointers below point into it.
    void* library = openLibroot();
    lookUp(library, "libroot_get_root_prefix", rootPrefix);
    lookUp(library, "libroot_get_jbroot_prefix", jbrootPrefix);
    lookUp(library, "libroot_get_boot_uuid", bootUUID);
    lookUp(library, "libroot_jbrootpath", jbrootPath);
    lookUp(library, "libroot_rootfspath", rootfsPath);
    if (!rootPrefix) rootPrefix = libroot_get_root_prefix_fallback;
    if (!jbrootPrefix) jbrootPrefix = libroot_get_jbroot_prefix_fallback;
    if (!bootUUID) bootUUID = libroot_get_boot_uuid_fallback;
    if (!jbrootPath) jbrootPath = libroot_jbrootpath_fallback;
    if (!rootfsPath) rootfsPath = libroot_rootfspath_fallback;
  });
}

const char* libroot_dyn_get_root_prefix(void) {
  libroot_load();
  return rootPrefix();
}

const char* libroot_dyn_get_jbroot_prefix(void) {
  libroot_load();
  return jbrootPrefix();
}

const char* libroot_dyn_get_boot_uuid(void) {
  libroot_load();
  return bootUUID();
}

char* libroot_dyn_jbrootpath(const char* path, char* resolvedPath) {
  libroot_load();
  return jbrootPath(path, resolvedPath);
}

char* libroot_dyn_rootfspath(const char* path, char* resolvedPath) {
  libroot_load();
  return rootfsPath(path, resolvedPath);
}

const char* libroot_get_root_prefix_fallback(void) {
  return "";
}
const char* libroot_get_jbroot_prefix_fallback(void) {
  return "/var/jb";
}
const char* libroot_get_boot_uuid_fallback(void) {
  return "00000000-0000-0000-0000-000000000000";
}

char* libroot_jbrootpath_fallback(const char* path, char* resolvedPath) {
  if (!path) return nullptr;
  std::string_view input(path);
  std::string_view prefix = input.starts_with('/') ? libroot_get_jbroot_prefix_fallback() : "";
  return writeJoined(outputBuffer(resolvedPath), prefix, input);
}

char* libroot_rootfspath_fallback(const char* path, char* resolvedPath) {
  if (!path) return nullptr;
  std::string_view input(path);
  if (!input.starts_with('/')) return writeJoined(outputBuffer(resolvedPath), "", input);
  std::string_view prefix = libroot_get_jbroot_prefix_fallback();
  // Only a whole component matches: "/var/jbx" does not lie under "/var/jb".
  bool underPrefix =
      input.starts_with(prefix) && (input.size() == prefix.size() || input[prefix.size()] == '/');
  if (underPrefix) {
    std::string_view rest = input.substr(prefix.size());
    return writeJoined(outputBuffer(resolvedPath), rest.empty() ? "/" : "", rest);
  }
  return writeJoined(outputBuffer(resolvedPath), libroot_get_root_prefix_fallback(), input);
}

}  // extern "C"
