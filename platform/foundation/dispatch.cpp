#include "platform/foundation/dispatch.h"

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

struct dispatch_queue {
  RunLoop* loop;
};

namespace dispatch_detail {
void reportNullPredicate() {
  NSLog("dispatch_once: refused a null predicate; block not run");
}
}  // namespace dispatch_detail

dispatch_queue_t dispatch_get_main_queue() {
  // Trivially destructible, so it stays usable during static destruction.
  static dispatch_queue main{&RunLoop::main()};
  return &main;
}

void dispatch_async(dispatch_queue_t queue, std::function<void()> block) {
  if (queue == nullptr || !block) {
    NSLog("dispatch_async: refused %s", queue == nullptr ? "a null queue" : "an empty block");
    return;
  }
  queue->loop->perform(std::move(block));
}
