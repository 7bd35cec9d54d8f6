#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// `vitrel notify post NAME…` and `vitrel notify watch NAME…`: the device's Darwin
// notifications from the command line, to poke or watch the other processes.
void addNotifyCommand(CLI::App& app, const DeviceOptions& device);
