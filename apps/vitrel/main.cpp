// vitrel: the host programs of the simulated device.
#include <CLI/CLI.hpp>
#include <iostream>

#include "apps/vitrel/apps_command.h"
#include "apps/vitrel/colors_command.h"
#include "apps/vitrel/device_options.h"
#include "apps/vitrel/device_tools.h"
#include "apps/vitrel/log_command.h"
#include "apps/vitrel/notify_command.h"
#include "apps/vitrel/prefs_command.h"
#include "apps/vitrel/preview_command.h"
#include "apps/vitrel/runtime_command.h"
#include "apps/vitrel/settings_command.h"
#include "apps/vitrel/springboard_command.h"
#include "platform/foundation/log.h"

namespace {

constexpr int kUsageStatus = 2;

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "vitrel: a simulated phone home screen with the Vitrel3DTouch library injected, and the "
      "settings bundle that configures it."};
  app.set_help_all_flag("--help-all", "Show help for every subcommand");
  app.set_version_flag("--version", std::string("vitrel ") + VITREL_VERSION);
  app.require_subcommand(0, 1);
  app.failure_message([](const CLI::App*, const CLI::Error& error) {
    return std::string("vitrel: ") + error.what() + "\nRun with --help for more information.\n";
  });

  DeviceOptions device;
  addPreviewCommand(app, device);
  addAppsCommand(app, device);
  addSpringboardCommand(app, device);
  addSettingsCommand(app, device);
  addPrefsCommand(app, device);
  addNotifyCommand(app, device);
  addLogCommand(app, device);
  addRuntimeCommand(app, device);
  addDeviceToolCommand(app, device);
  addDeviceOptions(app, device);
  addColorsCommand(app);
  addVerboseOption(*app.get_subcommand("colors"), device);
  // Before any command runs, so that its first line is echoed too.
  app.parse_complete_callback([&device] { setLogEcho(device.verbose); });

  try {
    app.parse(argc, argv);
  } catch (const CLI::RuntimeError& error) {
    // A command's own failure: CLI11 would exit with its code but say nothing.
    if (*error.what()) std::cerr << "vitrel: " << error.what() << '\n';
    return error.get_exit_code();
  } catch (const CLI::Error& error) {
    // Help and --version end well; every usage error the same way, as shells expect.
    return app.exit(error) == 0 ? 0 : kUsageStatus;
  } catch (const std::exception& error) {
    std::cerr << "vitrel: " << error.what() << '\n';
    return 1;
  }
  if (app.get_subcommands().empty()) std::cout << app.help();
  return 0;
}
