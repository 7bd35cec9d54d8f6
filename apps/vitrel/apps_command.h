#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// `vitrel apps [--json]`: the device's app catalogue (seeded from the samples on first use).
void addAppsCommand(CLI::App& app, const DeviceOptions& device);
