#pragma once

#include <memory>

#include "apps/vitrel/device_options.h"
#include "platform/springboard/app_catalogue.h"

// Makes the device this process's and readies it for a home screen: a device that has no app
// catalogue gets the samples' catalogue and icons, one that has no settings file the shipped
// default settings (the features on). What the device has is never replaced. Throws a
// CLI::RuntimeError when the device's catalogue cannot be loaded.
std::shared_ptr<const AppCatalogue> openDevice(const DeviceOptions& device);
