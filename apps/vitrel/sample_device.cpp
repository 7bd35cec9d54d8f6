#include "apps/vitrel/sample_device.h"

#include <CLI/CLI.hpp>

#include "apps/vitrel/device_tools.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/settings_file.h"
#include "platform/foundation/property_list.h"

void seedSampleSettings() {
  const std::filesystem::path samples = samplesFolder() / "settings.plist";
  Result<Ref<NSDictionary>> defaults = readPropertyListDictionary(samples);
  if (!defaults)
    throw CLI::RuntimeError("cannot read the default settings: " + defaults.error(), 1);
  // Under the writers' lock, without overwriting: a command racing this one on the new device
  // may have stored a value already.
  Result<void> written = settings_file::edit([&defaults](NSMutableDictionary& settings) {
    for (const auto& [key, value] : defaults.value()->entries()) {
      if (!settings.objectForKey(key)) settings.setObject(key, value);
    }
  });
  if (!written) throw CLI::RuntimeError(written.error(), 1);
}

std::shared_ptr<const AppCatalogue> openDevice(const DeviceOptions& device) {
  enterDevice(device);
  installDeviceTools();
  Result<AppCatalogue> catalogue = loadDeviceCatalogue(samplesFolder());
  if (!catalogue) throw CLI::RuntimeError(catalogue.error(), 1);
  return std::make_shared<const AppCatalogue>(std::move(catalogue).value());
}
