#include "platform/runtime/diagnostics.h"

#include <iostream>
#include <mutex>

namespace objc {
namespace {

std::mutex& handlerLock() {
  static std::mutex mutex;
  return mutex;
}

DiagnosticHandler& handler() {
  static DiagnosticHandler current;
  return current;
}

}  // namespace

void setDiagnosticHandler(DiagnosticHandler newHandler) {
  std::lock_guard lock(handlerLock());
  handler() = std::move(newHandler);
}

void reportDiagnostic(std::string_view message) {
  DiagnosticHandler current;
  {
    std::lock_guard lock(handlerLock());
    current = handler();
  }
  if (current) {
    current(message);
  } else {
    std::cerr << "objc: " << message << '\n';
  }
}

}  // namespace objc
