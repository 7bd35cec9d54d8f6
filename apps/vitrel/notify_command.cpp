#include "apps/vitrel/notify_command.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "apps/vitrel/stop_on_signal.h"
#include "apps/vitrel/usage.h"
#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/run_loop.h"

namespace {

struct WatchOptions {
  std::vector<std::string> names;
  int count = 0;
  double timeoutSeconds = 0;
};

void post(const DeviceOptions& device, const std::vector<std::string>& names) {
  enterDevice(device);
  for (const auto& name : names) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         NSString::from(name).get(), nullptr, nullptr, true);
    std::cout << "posted " << name << '\n';
  }
}

void watch(const DeviceOptions& device, const WatchOptions& options) {
  enterDevice(device);
  int received = 0;
  std::vector<DarwinObservation> observations;
  for (const auto& name : options.names) {
    observations.push_back(observeDarwinNotification(name, [&](const std::string& heard) {
      std::cout << "received " << heard << std::endl;
      if (options.count > 0 && ++received >= options.count) RunLoop::main().stop();
    }));
    if (!observations.back().active()) throw CLI::ValidationError("NAME", "cannot observe " + name);
  }
  StopOnSignal stopOnSignal;
  RunLoop::Timer deadline;
  if (options.timeoutSeconds > 0) {
    deadline = RunLoop::main().schedule(
        std::chrono::milliseconds(static_cast<int64_t>(options.timeoutSeconds * 1000)),
        [] { RunLoop::main().stop(); });
  }
  std::cerr << "watching " << options.names.size() << " name(s) on " << device.directory.string()
            << "; Ctrl-C to stop" << std::endl;
  RunLoop::main().run();
  if (options.count > 0 && received < options.count) {
    throw CLI::RuntimeError("timed out after " + std::to_string(received) + " of " +
                                std::to_string(options.count) + " notification(s)",
                            1);
  }
}

// The centre drops a name it cannot carry (logging it): refuse it here, where the user hears.
CLI::Validator notificationName() {
  return CLI::Validator(
      [](const std::string& name) -> std::string {
        if (!isDarwinNotificationName(name)) {
          throw UsageError("a notification name must be 1 to " +
                           std::to_string(kMaxDarwinNotificationNameLength) + " bytes, not " +
                           std::to_string(name.size()));
        }
        return "";
      },
      "");
}

}  // namespace

void addNotifyCommand(CLI::App& app, const DeviceOptions& device) {
  CLI::App* notify =
      app.add_subcommand("notify", "Post or watch the device's Darwin notifications");
  notify->require_subcommand(1);

  auto names = std::make_shared<std::vector<std::string>>();
  CLI::App* postCommand =
      notify->add_subcommand("post", "Post notifications to every process of the device");
  postCommand
      ->add_option("NAME", *names, "Notification names, e.g. com.wyndle.vitrel3dtouch/reloadPrefs")
      ->required()
      ->check(notificationName());
  postCommand->callback([&device, names] { post(device, *names); });

  auto options = std::make_shared<WatchOptions>();
  CLI::App* watchCommand =
      notify->add_subcommand("watch", "Print the notifications this process hears");
  watchCommand->add_option("NAME", options->names, "Notification names to watch")
      ->required()
      ->check(notificationName());
  limitNumber(watchCommand->add_option("-n,--count", options->count,
                                       "Stop after this many deliveries (0: until interrupted)"),
              0, std::nullopt, true);
  limitNumber(watchCommand->add_option("-t,--timeout", options->timeoutSeconds,
                                       "Stop after this many seconds; with --count, a shortfall "
                                       "fails"),
              0, std::nullopt);
  watchCommand->callback([&device, options] { watch(device, *options); });
}
