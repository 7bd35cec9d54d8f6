// vitrel: the host programs of the simulated device.
#include <CLI/CLI.hpp>
#include <iostream>

#include "apps/vitrel/apps_command.h"
#include "apps/vitrel/colors_command.h"
#include "apps/vitrel/device_options.h"
#include "apps/vitrel/notify_command.h"
#include "apps/vitrel/prefs_command.h"
#include "apps/vitrel/preview_command.h"
#include "apps/vitrel/settings_command.h"
#include "apps/vitrel/springboard_command.h"
#include "platform/foundation/log.h"

int main(int argc, char** argv) {
  CLI::App app{
      "vitrel: a simulated phone home screen with the Vitrel3DTouch library injected, and the "
      "settings bundle that configures it."};
  app.set_help_all_flag("--help-all", "Show help for every subcommand");
  app.require_subcommand(0, 1);

  DeviceOptions device;
  addDeviceOption(app, device);
  addPreviewCommand(app, device);
  addAppsCommand(app, device);
  addSpringboardCommand(app, device);
  addSettingsCommand(app, device);
  addPrefsCommand(app, device);
  addNotifyCommand(app, device);
  addColorsCommand(app);

  setLogDestination(LogDestination::standardError);
  try {
    app.parse(argc, argv);
  } catch (const CLI::RuntimeError& error) {
    // A command's own failure: CLI11 would exit with its code but say nothing.
    if (*error.what()) std::cerr << "vitrel: " << error.what() << '\n';
    return error.get_exit_code();
  } catch (const CLI::Error& error) {
    return app.exit(error);
  } catch (const std::exception& error) {
    std::cerr << "vitrel: " << error.what() << '\n';
    return 1;
  }
  if (app.get_subcommands().empty()) std::cout << app.help();
  return 0;
}
