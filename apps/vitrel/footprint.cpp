#include "apps/vitrel/footprint.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "apps/vitrel/child_process.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/tree_diff.h"

namespace fs = std::filesystem;

namespace {

// This process's command line as it was given, so that the stagings see every option of the
// scene, before or after the subcommand's name.
std::vector<std::string> ownCommandLine() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  std::vector<std::string> arguments;
  for (std::string argument; std::getline(file, argument, '\0');)
    arguments.push_back(argument);
  std::error_code error;
  if (!arguments.empty()) arguments.front() = fs::read_symlink("/proc/self/exe", error).string();
  return arguments;
}

// The command line of one staging: --diff's place taken by a dump to standard output.
std::vector<std::string> stagingCommand(const std::vector<std::string>& own, bool withLibrary) {
  std::vector<std::string> command;
  for (size_t i = 0; i < own.size(); ++i) {
    const bool separate = own[i] == "--diff";
    if (!separate && !own[i].starts_with("--diff=")) {
      command.push_back(own[i]);
      continue;
    }
    command.insert(command.end(), {"--dump", "-"});
    if (!withLibrary) command.push_back("--without-library");
    if (separate) ++i;
  }
  return command;
}

std::string fileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A folder of this machine's temporary files, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "vitrel-diff-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw CLI::RuntimeError("cannot make a temporary folder", 1);
    path_ = pattern;
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

struct Staging {
  std::string name;
  fs::path dump, errors;
  ChildProcess child;
};

Staging startStaging(const fs::path& folder, bool withLibrary) {
  const std::string name = withLibrary ? "library" : "host";
  const fs::path dump = folder / (name + ".json"), errors = folder / (name + ".log");
  Result<ChildProcess> child =
      ChildProcess::start(stagingCommand(ownCommandLine(), withLibrary), {dump, errors});
  if (!child) throw CLI::RuntimeError("cannot stage the scene: " + child.error(), 1);
  return {name, dump, errors, std::move(child).value()};
}

// The staged window's tree, once the child has ended well. What the child said (its log, when
// verbose) is passed on; its warnings the parent has given already.
Json stagedWindow(Staging& staging, bool verbose) {
  const int status = staging.child.wait();
  const std::string errors = fileText(staging.errors);
  if (status != 0) {
    throw CLI::RuntimeError("staging the scene " +
                                std::string(staging.name == "host" ? "without" : "with") +
                                " the library failed:\n" + errors,
                            1);
  }
  if (verbose) std::cerr << errors;
  Json dump = Json::parse(fileText(staging.dump), nullptr, false);
  if (dump.is_discarded() || !dump.contains("window")) {
    throw CLI::RuntimeError("the " + staging.name + "'s staging wrote no view tree", 1);
  }
  return dump.at("window");
}

}  // namespace

void writeFootprint(const std::string& destination, bool verbose) {
  TemporaryFolder folder;
  // Both at once: they share nothing but the device, which neither writes to.
  Staging host = startStaging(folder.path(), false);
  Staging library = startStaging(folder.path(), true);
  const Json hostWindow = stagedWindow(host, verbose);
  const std::vector<TreeChange> changes = diffViewTrees(hostWindow, stagedWindow(library, verbose));
  if (destination == "-") {
    std::cout << (isatty(STDOUT_FILENO) ? changesText(changes)
                                        : jsonText(changesJson(changes), 2) + "\n");
    return;
  }
  std::ofstream file(destination);
  file << jsonText(changesJson(changes), 2) << '\n';
  file.close();
  if (!file) throw CLI::RuntimeError("cannot write " + destination, 1);
  std::cerr << "vitrel: wrote " << changes.size() << " changes to " << destination << '\n';
}
