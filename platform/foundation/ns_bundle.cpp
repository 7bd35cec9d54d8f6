#include "platform/foundation/ns_bundle.h"

#include <dlfcn.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "platform/foundation/file_io.h"
#include "platform/foundation/log.h"
#include "platform/runtime/no_destructor.h"

namespace {

constexpr uint64_t kMaxStringsBytes = 4 << 20;

struct BundleRegistry {
  std::mutex lock;
  std::vector<Ref<NSBundle>> bundles;
};

BundleRegistry& registry() {
  static objc::NoDestructor<BundleRegistry> instance;
  return *instance;
}

std::filesystem::path normalised(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::weakly_canonical(path, error);
  return error ? path.lexically_normal() : absolute;
}

std::filesystem::path programFolder() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : program.parent_path();
}

// The shared object (or program) that holds the code at address.
std::optional<std::filesystem::path> imageHolding(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return std::nullopt;
  return normalised(info.dli_fname);
}

}  // namespace

NSBundle* NSBundle::bundleWithPath(const std::filesystem::path& path) {
  std::filesystem::path key = normalised(path);
  BundleRegistry& bundles = registry();
  std::lock_guard guard(bundles.lock);
  for (const Ref<NSBundle>& bundle : bundles.bundles) {
    if (bundle->path_ == key) return bundle.get();
  }
  auto bundle = objc::make<NSBundle>();
  bundle->path_ = key;
  bundles.bundles.push_back(bundle);
  return bundle.get();
}

NSBundle* NSBundle::mainBundle() {
  static NSBundle* main = bundleWithPath(programFolder());
  return main;
}

NSBundle* NSBundle::bundleForClass(const objc::Class* cls) {
  const objc::Class* coded = cls;
  while (coded && !coded->factory())
    coded = coded->superclass();
  std::optional<std::filesystem::path> image =
      coded ? imageHolding(reinterpret_cast<const void*>(coded->factory())) : std::nullopt;
  if (image) {
    BundleRegistry& bundles = registry();
    std::lock_guard guard(bundles.lock);
    for (const Ref<NSBundle>& bundle : bundles.bundles) {
      if (bundle->executable_ == image) return bundle.get();
    }
  }
  return mainBundle();
}

Result<void> NSBundle::loadExecutable(const std::filesystem::path& executable) {
  std::filesystem::path path = normalised(executable);
  if (executable_ == path) return {};
  if (!dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
    const char* reason = dlerror();
    return Result<void>::failure(reason ? reason : "cannot load " + path.string());
  }
  std::lock_guard guard(registry().lock);
  executable_ = path;
  return {};
}

std::string NSBundle::localizedStringForKey(const std::string& key, const std::string& value,
                                            const std::string& tableName) const {
  const StringsTable& strings = table(tableName.empty() ? "Localizable" : tableName);
  if (auto found = strings.find(key); found != strings.end()) return found->second;
  return value.empty() ? key : value;
}

const StringsTable& NSBundle::table(const std::string& name) const {
  if (auto cached = tables_.find(name); cached != tables_.end()) return cached->second;
  StringsTable strings;
  for (const std::filesystem::path& path :
       {path_ / "en.lproj" / (name + ".strings"), path_ / (name + ".strings")}) {
    Result<std::string> bytes = readFileBytes(path, kMaxStringsBytes);
    if (!bytes.ok()) continue;
    Result<StringsTable> parsed = parseStringsTable(bytes.value());
    if (parsed.ok()) {
      strings = parsed.value();
    } else {
      NSLog("%s: %s", path.string(), parsed.error());
    }
    break;
  }
  return tables_.emplace(name, std::move(strings)).first->second;
}

void defineBundleClass() {
  objc::defineClass<NSBundle, NSObject>("NSBundle");
}
