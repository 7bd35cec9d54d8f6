#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// `vitrel log [--follow] [--process NAME]`: the device's system log, as a console shows it.
void addLogCommand(CLI::App& app, const DeviceOptions& device);
