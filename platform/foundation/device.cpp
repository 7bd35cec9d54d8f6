#include "platform/foundation/device.h"

#include <mutex>

#include "platform/runtime/no_destructor.h"

namespace device {
namespace {

struct State {
  std::mutex mutex;
  std::optional<std::filesystem::path> directory;
};

State& state() {
  static objc::NoDestructor<State> instance;
  return *instance;
}

}  // namespace

void setDirectory(const std::filesystem::path& directory) {
  std::lock_guard lock(state().mutex);
  state().directory = std::filesystem::absolute(directory);
}

std::optional<std::filesystem::path> directory() {
  std::lock_guard lock(state().mutex);
  return state().directory;
}

}  // namespace device
