#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// `vitrel springboard`: the simulated home-screen process with the library injected. It runs
// until interrupted, re-reading settings when the device's reload notification arrives.
void addSpringboardCommand(CLI::App& app, const DeviceOptions& device);
