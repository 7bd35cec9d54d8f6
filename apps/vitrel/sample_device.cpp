#include "apps/vitrel/sample_device.h"

#include <CLI/CLI.hpp>

#include "apps/vitrel/installation.h"
#include "apps/vitrel/settings_file.h"
#include "platform/foundation/property_list.h"

namespace {

void seedSettings(const std::filesystem::path& samples) {
  std::error_code error;
  if (std::filesystem::exists(settings_file::path(), error)) return;
  Result<Ref<NSDictionary>> defaults = readPropertyListDictionary(samples / "settings.plist");
  if (!defaults)
    throw CLI::RuntimeError("cannot read the default settings: " + defaults.error(), 1);
  Result<bool> written = settings_file::write(defaults.value().get());
  if (!written) throw CLI::RuntimeError("cannot write the settings: " + written.error(), 1);
}

}  // namespace

std::shared_ptr<const AppCatalogue> openDevice(const DeviceOptions& device) {
  enterDevice(device);
  const std::filesystem::path samples = samplesFolder();
  Result<AppCatalogue> catalogue = loadDeviceCatalogue(samples);
  if (!catalogue) throw CLI::RuntimeError(catalogue.error(), 1);
  seedSettings(samples);
  return std::make_shared<const AppCatalogue>(std::move(catalogue).value());
}
