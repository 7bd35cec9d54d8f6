#pragma once

#include <memory>

#include "apps/vitrel/device_options.h"
#include "platform/springboard/app_catalogue.h"

// Makes the device this process's and readies it for a home screen: a device that has no app
// catalogue gets the samples' catalogue and icons, and every device its tools. What the device
// has is never replaced.
// Throws a CLI::RuntimeError when the device's catalogue cannot be loaded.
std::shared_ptr<const AppCatalogue> openDevice(const DeviceOptions& device);

// Writes the shipped default settings (the features on) to this process's device: what a
// device gets when it is made, whatever its first command. Throws a CLI::RuntimeError when they
// cannot be read or written.
void seedSampleSettings();
