#include "apps/vitrel/library_check.h"

#include <dlfcn.h>

#include "apps/vitrel/forked_child.h"

Result<void> tryLoading(const std::filesystem::path& library) {
  Result<ChildAnswer> answer = runInChild(
      [&library]() -> std::string { return dlopen(library.c_str(), RTLD_NOW) ? "" : dlerror(); });
  if (!answer) return Result<void>::failure("cannot try it: " + answer.error());
  if (!answer.value().text.empty()) return Result<void>::failure(answer.value().text);
  if (!answer.value().failure.empty()) {
    return Result<void>::failure("it ended its process while loading");
  }
  return {};
}
