#pragma once

#include <functional>
#include <string>

#include "platform/foundation/result.h"

// What a forked child of this process sent back, and how it ended.
struct ChildAnswer {
  std::string text;
  // Empty when the child ended well (status 0); else how it ended: "exit status 3", or the
  // signal's description ("Segmentation fault").
  std::string failure;
};

// How a child that ended with this wait status ended, as ChildAnswer::failure says it.
std::string failureOfStatus(int status);

// Runs `work` in a child of this process made by fork, so that what it does (loading libraries,
// installing hooks, starting threads) stays there. The child sends back the text work answers
// and ends with status 0, running none of this process's destructors or exit handlers; a child
// that ends before sends nothing. Fails, saying why, when the child cannot be made or waited
// for. Costs a fork.
Result<ChildAnswer> runInChild(const std::function<std::string()>& work);
