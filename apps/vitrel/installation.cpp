#include "apps/vitrel/installation.h"

#include <CLI/CLI.hpp>

namespace fs = std::filesystem;

namespace {

fs::path executableFolder() {
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error).parent_path();
}

}  // namespace

fs::path findLibrary(const std::string& chosen) {
  if (!chosen.empty()) return chosen;
  fs::path folder = executableFolder();
  for (const auto& candidate : {folder / kLibraryName, folder / "../lib" / kLibraryName,
                                folder / "../lib/vitrel" / kLibraryName}) {
    if (fs::exists(candidate)) return candidate.lexically_normal();
  }
  throw CLI::RuntimeError(std::string("cannot find ") + kLibraryName + " beside " +
                              folder.string() + "; pass --library",
                          1);
}

fs::path samplesFolder() {
  fs::path installed = (executableFolder() / "../share/vitrel/samples").lexically_normal();
  for (const fs::path& candidate : {installed, fs::path(VITREL_SOURCE_SAMPLES)}) {
    if (fs::exists(candidate / "catalogue.plist")) return candidate;
  }
  throw CLI::RuntimeError("cannot find the sample device's catalogue in " + installed.string() +
                              " or " + VITREL_SOURCE_SAMPLES,
                          1);
}
