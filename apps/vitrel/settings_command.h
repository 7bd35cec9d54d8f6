#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// `vitrel settings`: the Settings app with the settings bundle loaded, its pages served to a
// browser on this machine beside a live picture of the device's home screen. It runs until
// interrupted.
void addSettingsCommand(CLI::App& app, const DeviceOptions& device);
