#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>

#include "apps/vitrel/device_options.h"
#include "platform/preferences/host/settings_host.h"

// `vitrel settings`: the Settings app with the settings bundle loaded, its pages served to a
// browser on this machine beside a live picture of the device's home screen. It runs until
// interrupted.
void addSettingsCommand(CLI::App& app, const DeviceOptions& device);

// Installs the settings bundle's resources on this process's device (those in `resources`, else
// the default ones) and records its package there, as installing it on a phone does; answers
// the installed bundle folder. Throws a CLI::RuntimeError saying why when it cannot.
std::filesystem::path installSettingsBundle(const std::string& resources);

// The Settings app with the bundle's executable (`executable`, else the one beside this program)
// loaded from the installed folder and its root page open. Throws a CLI::RuntimeError saying why
// when it cannot.
std::shared_ptr<SettingsHost> openSettingsHost(const std::string& executable,
                                               const std::filesystem::path& installed);
