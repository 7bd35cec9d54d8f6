#include "source/hook_boundary.h"

#include <exception>
#include <string>

#include "platform/foundation/log.h"

namespace hook_boundary::detail {
namespace {

thread_local Call* innermost = nullptr;

// What was thrown, as the log names it; call inside a catch block.
std::string describeCurrentException() {
  try {
    throw;
  } catch (const objc::Exception& exception) {
    return exception.name() + ": " + exception.what();
  } catch (const std::exception& exception) {
    return exception.what();
  } catch (...) {
    return "an exception of unknown type";
  }
}

}  // namespace

Call::Call(const HostMethod* wrapped, void* answerSlot, const std::type_info& type)
    : host(wrapped), answer(answerSlot), answerType(type), outer(innermost) {
  innermost = this;
}

Call::~Call() {
  innermost = outer;
}

Call* callWrapping(const HostMethod* host) {
  return innermost && innermost->host == host ? innermost : nullptr;
}

void logStopped(const objc::Object* self, SEL cmd) noexcept {
  try {
    NSLog("ZQK -[%s %s] stopped at the hook boundary: %s", self->isa()->name(), sel_getName(cmd),
          describeCurrentException());
  } catch (...) {
    // Nothing is left to tell it with; the host runs on.
  }
}

}  // namespace hook_boundary::detail
