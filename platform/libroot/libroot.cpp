// libroot for the simulated device: the device folder is the root of its file system, and the
// jailbreak's files live in <device>/var/jb, as on a rootless phone. A process without a
// device folder gets the phone's own answers ("" and "/var/jb").

#include "platform/libroot/libroot.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>

#include "platform/foundation/device.h"

namespace {

struct Prefixes {
  std::string root;
  std::string jbroot;
  std::string bootUUID;
};

// Read once: the host sets the device folder before anything resolves a path.
const Prefixes& prefixes() {
  static const Prefixes value = [] {
    Prefixes p;
    if (auto folder = device::directory()) p.root = folder->string();
    p.jbroot = p.root + "/var/jb";
    std::ifstream bootId("/proc/sys/kernel/random/boot_id");
    if (!std::getline(bootId, p.bootUUID) || p.bootUUID.empty()) {
      p.bootUUID = "00000000-0000-0000-0000-000000000000";
    }
    return p;
  }();
  return value;
}

// The result in the caller's buffer, or in a new one from malloc that the caller
// frees (this is a C interface); cut to fit.
char* deliver(const std::string& result, char* buffer) {
  if (!buffer) buffer = static_cast<char*>(std::malloc(kRootPathBufferSize));
  if (!buffer) return nullptr;
  size_t length = std::min(result.size(), kRootPathBufferSize - 1);
  std::memcpy(buffer, result.data(), length);
  buffer[length] = '\0';
  return buffer;
}

bool isUnder(const std::string& path, const std::string& folder) {
  return path.compare(0, folder.size(), folder) == 0 &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

}  // namespace

extern "C" {

const char* libroot_get_root_prefix(void) {
  return prefixes().root.c_str();
}
const char* libroot_get_jbroot_prefix(void) {
  return prefixes().jbroot.c_str();
}
const char* libroot_get_boot_uuid(void) {
  return prefixes().bootUUID.c_str();
}

char* libroot_jbrootpath(const char* path, char* resolvedPath) {
  if (!path) return nullptr;
  std::string input(path);
  return deliver(input.starts_with('/') ? prefixes().jbroot + input : input, resolvedPath);
}

char* libroot_rootfspath(const char* path, char* resolvedPath) {
  if (!path) return nullptr;
  std::string input(path);
  if (!input.starts_with('/')) return deliver(input, resolvedPath);
  const std::string& jbroot = prefixes().jbroot;
  if (isUnder(input, jbroot)) {
    std::string inside = input.substr(jbroot.size());
    return deliver(inside.empty() ? "/" : inside, resolvedPath);
  }
  return deliver(prefixes().root + input, resolvedPath);
}

}  // extern "C"
