#pragma once

#include <functional>

// The platform's global queues, for work that must leave the main thread (waiting on a
// child process). Blocks run one at a time, in order, on one worker thread made on first use;
// results go back with dispatch_async(dispatch_get_main_queue(), …).
namespace background_queue {

// Queues block and returns at once.
void async(std::function<void()> block);
// Blocks until every block queued so far has run (for hosts and tests).
void waitUntilIdle();
// For hosts: afterEachBlock runs on the worker after every block, so a host hears that what
// the block sent to the main queue is queued there (whatever the host then queues on the main
// loop runs after it). One at a time; an empty function removes it.
void setObserver(std::function<void()> afterEachBlock);

}  // namespace background_queue
