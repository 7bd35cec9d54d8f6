#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/result.h"

// When the supervisor starts its program again. An end with status 0 is a respring (`killall
// SpringBoard` stops it cleanly): at once. Any other end is a failure: after 1 s, then 2 s,
// 4 s … at most 30 s while failures follow each other; a run of a minute or more starts the
// count afresh. The fifth failure within a minute gives up.
class RestartPolicy {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kFailuresToGiveUp = 5;
  static constexpr std::chrono::seconds kWindow{60};
  static constexpr std::chrono::seconds kLongestWait{30};

  // After the program ended at `now`, having run for `ran`: how long to wait before starting
  // it again, or nothing to give up.
  std::optional<Clock::duration> afterEnd(bool failed, Clock::time_point now, Clock::duration ran);

 private:
  std::vector<Clock::time_point> failures_;
  int consecutive_ = 0;
};

// What the supervisor asks of time, replaceable in tests: the time now, and a wait that ends
// early (answering true) when the supervisor is asked to stop.
struct SupervisorTime {
  std::function<RestartPolicy::Clock::time_point()> now;
  std::function<bool(RestartPolicy::Clock::duration, int stopRequests)> waitForStop;
};
SupervisorTime realTime();

// Runs a program as the device runs its home screen: started again whenever it ends, by a
// crash or a respring, as RestartPolicy says, until this process is asked to stop (SIGINT,
// SIGTERM), which stops the program too. Beside it runs the device's display server: when that
// ends (the rootless respring, `killall backboardd`), it is started again and the program is
// ended, to be started again too. Succeeds when stopped so; fails with one
// clear reason when the program kept failing or could not be started.
Result<void> supervise(const std::vector<std::string>& command,
                       const SupervisorTime& time = realTime());
