#pragma once

#include <functional>
#include <mutex>
#include <utility>

// The platform's dispatch calls that the system uses: once-only initialisation and the main
// queue. Background queues are not modelled.

// Remembers whether a dispatch_once block has run. Keep it static (or otherwise alive for as
// long as the calls that share it).
using dispatch_once_t = std::once_flag;

namespace dispatch_detail {
void reportNullPredicate();
}  // namespace dispatch_detail

// Runs block exactly once per predicate, even when the first calls race: the others wait until
// it has returned. If block throws, the call counts as not made and the next caller runs it.
template <class F>
void dispatch_once(dispatch_once_t* predicate, F&& block) {
  if (predicate == nullptr) {
    dispatch_detail::reportNullPredicate();
    return;
  }
  std::call_once(*predicate, std::forward<F>(block));
}

// A queue that runs blocks one after another in the order they were added. Opaque.
struct dispatch_queue;
using dispatch_queue_t = dispatch_queue*;

// The queue served by RunLoop::main(); lives for the whole process.
dispatch_queue_t dispatch_get_main_queue();

// Adds block to queue and returns at once; the block runs on the queue's loop on a later turn,
// after the blocks added before it. A null queue or block is refused (logged).
void dispatch_async(dispatch_queue_t queue, std::function<void()> block);
