#include "platform/runtime/selector.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/runtime/no_destructor.h"

namespace {

struct SelectorTable {
  std::mutex mutex;
  // Keys view the names owned by the selectors themselves.
  std::unordered_map<std::string_view, std::unique_ptr<objc::Selector>> byName;
};

SelectorTable& table() {
  static objc::NoDestructor<SelectorTable> instance;
  return *instance;
}

}  // namespace

SEL sel_registerName(std::string_view name) {
  auto& t = table();
  std::lock_guard lock(t.mutex);
  if (auto found = t.byName.find(name); found != t.byName.end()) return found->second.get();
  auto selector = std::make_unique<objc::Selector>(std::string(name));
  SEL result = selector.get();
  t.byName.emplace(selector->name(), std::move(selector));
  return result;
}

const char* sel_getName(SEL selector) {
  return selector ? selector->name().c_str() : "";
}
