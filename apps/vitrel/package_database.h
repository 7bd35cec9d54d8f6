#pragma once

#include <optional>
#include <string>

#include "platform/foundation/result.h"

// The device's package database, where a rootless phone's dpkg keeps it:
// <device>/var/jb/var/lib/dpkg/status, a paragraph of "Field: value" lines per installed
// package, paragraphs separated by a blank line.
struct InstalledPackage {
  std::string name;
  std::string version;
};

// Records the package as installed on this process's device, in place of its earlier record;
// every other package's record stays as it was.
Result<void> recordInstalledPackage(const InstalledPackage& package);

// The named package's paragraph on this process's device, as `dpkg -s` prints it; none when
// the package is not installed.
std::optional<std::string> packageStatus(const std::string& name);
