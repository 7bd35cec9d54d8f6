#pragma once

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_options.h"

// Gives this process's device the programs that the deliverables start, where a rootless
// jailbroken phone has them: no killall in the system's /usr/bin; killall and dpkg in the
// jailbreak's /var/jb/usr/bin, which run `vitrel device-tool` on this device; the shell and the
// text tools that the package query pipes through, this machine's, linked in. The device's
// scripts are written afresh (they name this program); links the device has are kept.
void installDeviceTools();

// `vitrel device-tool killall NAME…` and `vitrel device-tool dpkg -s PACKAGE…`: the device's
// tools, acting on its processes and package database only. Hidden from help: the device's
// scripts run it.
void addDeviceToolCommand(CLI::App& app, const DeviceOptions& device);
