#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/runtime/no_destructor.h"
#include "platform/uikit/ui_view.h"

namespace {

using Clock = std::chrono::steady_clock;

struct PendingCompletion {
  uint64_t id;
  Clock::time_point due;
  std::function<void(bool)> completion;
  RunLoop::Timer timer;
};

// Completions waiting for their time, on the main thread only.
struct PendingCompletions {
  uint64_t nextId = 1;
  std::vector<PendingCompletion> waiting;
  std::vector<std::function<void()>> onceFinished;
};

PendingCompletions& pending() {
  static objc::NoDestructor<PendingCompletions> completions;
  return *completions;
}

// Runs the completion once, whoever comes first: its timer or finishAnimations().
void complete(uint64_t id) {
  auto& waiting = pending().waiting;
  auto found = std::find_if(waiting.begin(), waiting.end(),
                            [id](const PendingCompletion& entry) { return entry.id == id; });
  if (found == waiting.end()) return;
  std::function<void(bool)> completion = std::move(found->completion);
  // Its timer goes too: the one firing now, or one that must not fire later.
  waiting.erase(found);
  completion(true);
  if (!waiting.empty()) return;
  for (auto& then : std::exchange(pending().onceFinished, {}))
    then();
}

std::chrono::milliseconds delayOf(double duration) {
  // Rounded up: a completion never runs before its duration.
  if (!(duration > 0)) return std::chrono::milliseconds::zero();
  return std::chrono::milliseconds(
      static_cast<long long>(std::ceil(std::min(duration, 86400.0) * 1000)));
}

}  // namespace

void UIView::animateWithDuration(double duration, const std::function<void()>& animations,
                                 std::function<void(bool finished)> completion) {
  if (animations) animations();
  if (!completion) return;
  const uint64_t id = pending().nextId++;
  const std::chrono::milliseconds delay = delayOf(duration);
  // A timer due now fires on the loop's next turn, not the one under way.
  RunLoop::Timer timer = RunLoop::main().schedule(delay, [id] { complete(id); });
  pending().waiting.push_back({id, Clock::now() + delay, std::move(completion), std::move(timer)});
}

size_t UIView::pendingAnimationCompletions() {
  return pending().waiting.size();
}

bool UIView::finishAnimations(std::chrono::milliseconds limit) {
  const Clock::time_point end = Clock::now() + limit;
  auto& waiting = pending().waiting;
  while (!waiting.empty()) {
    auto next = std::min_element(
        waiting.begin(), waiting.end(),
        [](const PendingCompletion& a, const PendingCompletion& b) { return a.due < b.due; });
    if (next->due > end) return false;
    std::this_thread::sleep_until(next->due);
    complete(next->id);
  }
  return true;
}

void UIView::whenAnimationsFinish(std::function<void()> then) {
  if (pending().waiting.empty()) {
    RunLoop::main().perform(std::move(then));
  } else {
    pending().onceFinished.push_back(std::move(then));
  }
}
