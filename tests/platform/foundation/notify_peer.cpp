// A second process of a simulated device, for the Darwin notify tests.
//
//   notify_peer DEVICE post NAME COUNT   posts NAME COUNT times, then exits
//   notify_peer DEVICE observe NAME      prints "ready" once observing, then "received NAME"
//                                        for every delivery; echoes each line read from
//                                        standard input as "mark LINE"; exits at its end
//
// Marks and the exit go through the main queue, after any delivery already on its way, so a
// test that posts and then writes a mark knows every earlier delivery is printed before it.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/device.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace {

// Ends a peer that its test forgot, rather than leaving it behind.
constexpr std::chrono::minutes kLifetime{1};

void printDelivery(CFNotificationCenterRef, void*, CFNotificationName name, const void*,
                   CFDictionaryRef) {
  std::cout << "received " << name->string() << std::endl;
}

int post(const std::string& name, int count) {
  for (int i = 0; i < count; ++i) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         NSString::from(name).get(), nullptr, nullptr, true);
  }
  return 0;
}

int observe(const std::string& name) {
  RunLoop& loop = RunLoop::main();
  // Observing first makes the socket a source older than standard input's, so a delivery
  // that arrived with a line is queued before that line's mark.
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                  printDelivery, NSString::from(name).get(), nullptr,
                                  CFNotificationSuspensionBehaviorDeliverImmediately);
  std::string input;
  RunLoop::Source commands = loop.watchReadable(STDIN_FILENO, [&] {
    char buffer[256];
    ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
      loop.perform([&] { loop.stop(); });
      return;
    }
    input.append(buffer, static_cast<size_t>(got));
    for (size_t end; (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1)) {
      loop.perform([line = input.substr(0, end)] { std::cout << "mark " << line << std::endl; });
    }
  });
  bool expired = false;
  RunLoop::Timer lifetime = loop.schedule(kLifetime, [&] {
    expired = true;
    loop.stop();
  });
  std::cout << "ready" << std::endl;
  loop.run();
  return expired ? 3 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  setLogEcho(true);
  if (argc < 4) {
    std::cerr << "usage: notify_peer DEVICE post NAME COUNT | notify_peer DEVICE observe NAME\n";
    return 2;
  }
  device::setDirectory(argv[1]);
  std::string command = argv[2];
  if (command == "post" && argc == 5) return post(argv[3], std::atoi(argv[4]));
  if (command == "observe" && argc == 4) return observe(argv[3]);
  std::cerr << "notify_peer: unknown command " << command << "\n";
  return 2;
}
