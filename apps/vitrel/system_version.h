#pragma once

#include <filesystem>

#include "platform/foundation/result.h"

// The device's system version, kept where the phone keeps it
// (<device>/System/Library/CoreServices/SystemVersion.plist, "ProductVersion" "N.0"), so that
// the home screen started after a respring runs as the system the device was switched to.
// Needs the device folder set.
namespace system_version {

// The major version a device has when none is stored.
inline constexpr long kDefault = 16;

std::filesystem::path path();
// The stored major version, or kDefault when none is stored. A file that cannot be read, or
// whose version is not a number, is said once on standard error and gives kDefault.
long read();
Result<void> store(long major);

}  // namespace system_version
