#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>

// The simulated device every subcommand works on, chosen with --device, and whether its log is
// echoed to standard error (--verbose).
struct DeviceOptions {
  std::filesystem::path directory;
  bool verbose = false;
};

// ~/.local/state/vitrel/device ($XDG_STATE_HOME/vitrel/device when that is set).
std::filesystem::path defaultDeviceDirectory();

// Adds --device and --verbose to the app and to every subcommand it has, at any depth, so that
// they may come before or after the subcommand's name and every --help shows them. Each writes
// the same options; one given after the subcommand wins over one given before it.
void addDeviceOptions(CLI::App& app, DeviceOptions& options);

// Adds --verbose alone, for a subcommand that works on no device.
void addVerboseOption(CLI::App& command, DeviceOptions& options);

// Creates the device folder if needed and makes this process part of that device; a device
// made now gets the sample settings. Throws CLI::Error with a clear message when the folder
// cannot be made.
void enterDevice(const DeviceOptions& options);
