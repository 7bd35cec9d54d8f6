#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// `vitrel preview`: a scripted session on the simulated home screen with the library injected:
// one long-press (an app's icon, a folder or a notification), then what is on screen.
void addPreviewCommand(CLI::App& app, const DeviceOptions& device);
