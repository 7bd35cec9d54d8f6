#include "apps/vitrel/installation.h"

#include <dlfcn.h>

#include <CLI/CLI.hpp>

namespace fs = std::filesystem;

namespace {

fs::path executableFolder() {
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error).parent_path();
}

// A shared object beside this program in the build tree or the installed tree.
fs::path findCompanionLibrary(const std::string& chosen, const std::string& name,
                              const std::string& option) {
  if (!chosen.empty()) return chosen;
  fs::path folder = executableFolder();
  for (const auto& candidate :
       {folder / name, folder / "../lib" / name, folder / "../lib/vitrel" / name}) {
    if (fs::exists(candidate)) return candidate.lexically_normal();
  }
  throw CLI::RuntimeError("cannot find " + name + " beside " + folder.string() + "; pass " + option,
                          1);
}

// An installed share/vitrel folder, else the source tree's; either must hold `marker`.
fs::path findShared(const std::string& installedName, const fs::path& source,
                    const std::string& marker, const std::string& what) {
  fs::path installed = (executableFolder() / "../share/vitrel" / installedName).lexically_normal();
  for (const fs::path& candidate : {installed, source}) {
    if (fs::exists(candidate / marker)) return candidate;
  }
  throw CLI::RuntimeError(
      "cannot find " + what + " in " + installed.string() + " or " + source.string(), 1);
}

}  // namespace

fs::path findLibrary(const std::string& chosen) {
  return findCompanionLibrary(chosen, kLibraryName, "--library");
}

fs::path findBundleExecutable(const std::string& chosen) {
  return findCompanionLibrary(chosen, kBundleExecutableName, "--bundle");
}

fs::path injectLibrary(const std::string& chosen) {
  fs::path library = findLibrary(chosen);
  if (!dlopen(library.c_str(), RTLD_NOW)) {
    throw CLI::RuntimeError(std::string("cannot load the library: ") + dlerror(), 1);
  }
  return library;
}

fs::path samplesFolder() {
  return findShared("samples", VITREL_SOURCE_SAMPLES, "catalogue.plist",
                    "the sample device's catalogue");
}

fs::path bundleResourcesFolder() {
  return findShared("3dvitrelprefs.bundle", VITREL_SOURCE_BUNDLE_RESOURCES, "Root.plist",
                    "the settings bundle's resources");
}

fs::path webFolder() {
  return findShared("web", VITREL_SOURCE_WEB, "index.html", "the settings pages' web client");
}
