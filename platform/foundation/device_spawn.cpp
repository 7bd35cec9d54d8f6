#include "platform/foundation/device_spawn.h"

#include <dlfcn.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "platform/foundation/device.h"

namespace fs = std::filesystem;

namespace {

using Spawn = int (*)(pid_t*, const char*, const posix_spawn_file_actions_t*,
                      const posix_spawnattr_t*, char* const[], char* const[]);

// The folder without a trailing separator, so that its parts compare with a path's.
fs::path normalFolder(const fs::path& folder) {
  fs::path normal = folder.lexically_normal();
  return normal.has_filename() ? normal : normal.parent_path();
}

bool isInside(const fs::path& path, const fs::path& folder) {
  const fs::path normal = normalFolder(folder);
  auto [end, unused] = std::mismatch(normal.begin(), normal.end(), path.begin(), path.end());
  return end == normal.end();
}

// envp with PATH replaced by the device's.
std::vector<std::string> deviceEnvironment(const fs::path& root, char* const envp[]) {
  std::vector<std::string> environment;
  for (char* const* entry = envp; entry && *entry; ++entry) {
    if (std::string_view(*entry).starts_with("PATH=")) continue;
    environment.emplace_back(*entry);
  }
  environment.push_back("PATH=" + device::searchPath(root));
  return environment;
}

}  // namespace

namespace device {

fs::path programPath(const fs::path& root, const fs::path& program) {
  const fs::path path = program.lexically_normal();
  if (!path.is_absolute() || isInside(path, root)) return path;
  const fs::path onDevice = normalFolder(root) / path.relative_path();
  std::error_code error;
  return fs::is_directory(onDevice.parent_path(), error) ? onDevice : path;
}

std::string searchPath(const fs::path& root) {
  std::string path;
  for (const char* folder :
       {"var/jb/usr/local/bin", "var/jb/usr/bin", "var/jb/bin", "usr/bin", "bin"}) {
    path += (path.empty() ? "" : ":") + (root / folder).string();
  }
  return path;
}

}  // namespace device

int machineSpawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* actions,
                 const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]) {
  // The next definition after this layer's: the C library's (or a sanitizer's in front of it).
  static const Spawn next = reinterpret_cast<Spawn>(dlsym(RTLD_NEXT, "posix_spawn"));
  if (!next) return ENOSYS;
  return next(pid, path, actions, attributes, argv, envp);
}

extern "C" int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* actions,
                           const posix_spawnattr_t* attributes, char* const argv[],
                           char* const envp[]) {
  const std::optional<fs::path> root = device::directory();
  if (!root || !path) return machineSpawn(pid, path, actions, attributes, argv, envp);
  const fs::path program = device::programPath(*root, path);
  if (!isInside(program, *root)) return machineSpawn(pid, path, actions, attributes, argv, envp);
  std::vector<std::string> environment = deviceEnvironment(*root, envp);
  std::vector<char*> pointers;
  for (std::string& entry : environment)
    pointers.push_back(entry.data());
  pointers.push_back(nullptr);
  return machineSpawn(pid, program.c_str(), actions, attributes, argv, pointers.data());
}
