#pragma once

#include <spawn.h>

#include <filesystem>
#include <string>
#include <vector>

// Programs that a device's processes start run on the device, as on the phone. This layer
// defines `posix_spawn` for every process of the device: an absolute program path names a
// file of the device's file system wherever the device has the program's folder (so a
// rootless device's "/usr/bin/killall" is missing, as on the phone), and a file of this
// machine only where the device has no such folder. A program the device carries starts with
// the device's PATH, so that a shell it runs finds the device's tools, not this machine's. A
// process without a device folder starts programs as this machine does.
namespace device {

// Where `program` (absolute) lies for a device whose file system is the folder `root`.
std::filesystem::path programPath(const std::filesystem::path& root,
                                  const std::filesystem::path& program);

// The device's PATH, as folders of this machine: the rootless jailbreak's folders, then the
// system's.
std::string searchPath(const std::filesystem::path& root);

}  // namespace device

// Starts a program of this machine, whatever device this process belongs to: for the host's
// own helpers, which are not the device's programs. Arguments and answer as `posix_spawn`.
int machineSpawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* actions,
                 const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]);
