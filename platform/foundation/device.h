#pragma once

#include <filesystem>
#include <optional>

// The simulated device this process belongs to: a folder that stands for the device's file
// system. The host sets it once at start-up, before loading anything that resolves paths;
// processes that share a folder share Darwin notifications and files. Unset, the process is a
// device of its own with no folder.
namespace device {

void setDirectory(const std::filesystem::path& directory);
std::optional<std::filesystem::path> directory();

}  // namespace device
