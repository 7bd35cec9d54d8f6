#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// `vitrel runtime`: a class browser for the device's processes. It starts a home-screen host
// with the library injected (or a Settings host with the settings bundle) without drawing, and
// lists the classes of its object runtime with their methods and properties.
void addRuntimeCommand(CLI::App& app, const DeviceOptions& device);
