#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>

// The simulated device every subcommand works on, chosen with --device.
struct DeviceOptions {
  std::filesystem::path directory;
};

// ~/.local/state/vitrel/device ($XDG_STATE_HOME/vitrel/device when that is set).
std::filesystem::path defaultDeviceDirectory();

// Adds --device to the app.
void addDeviceOption(CLI::App& app, DeviceOptions& options);

// Creates the device folder if needed and makes this process part of that device. Throws
// CLI::Error with a clear message when the folder cannot be made.
void enterDevice(const DeviceOptions& options);
