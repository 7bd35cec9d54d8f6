#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// `vitrel prefs set|get|list|reset`: the settings file of the device, edited as the settings
// bundle edits it (whole, atomically, then the reload notification).
void addPrefsCommand(CLI::App& app, const DeviceOptions& device);
