#include "apps/vitrel/log_command.h"

#include <iostream>
#include <memory>
#include <string>

#include "apps/vitrel/stop_on_signal.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/system_log.h"

namespace {

struct LogOptions {
  bool follow = false;
  std::string process;
};

// The process that wrote an entry: "2026-12-08 10:21:16.123 SpringBoard[812]: …" → SpringBoard.
std::string_view processOf(std::string_view line) {
  constexpr size_t kTimeWidth = 24;
  const size_t end = line.find("]: ");
  if (line.size() < kTimeWidth || end == std::string_view::npos || end < kTimeWidth) return {};
  const size_t open = line.rfind('[', end);
  if (open == std::string_view::npos || open < kTimeWidth) return {};
  return line.substr(kTimeWidth, open - kTimeWidth);
}

// Keeps the entries of one process (all when no name is given), continuation lines with their
// entry, across the chunks a follower reads.
class ProcessFilter {
 public:
  explicit ProcessFilter(std::string name) : name_(std::move(name)) {}

  std::string operator()(std::string_view lines) {
    if (name_.empty()) return std::string(lines);
    std::string kept;
    while (!lines.empty()) {
      const size_t end = lines.find('\n');
      const std::string_view line = lines.substr(0, end == std::string_view::npos ? end : end + 1);
      lines.remove_prefix(line.size());
      if (line.front() != '\t') showing_ = processOf(line) == name_;
      if (showing_) kept += line;
    }
    return kept;
  }

 private:
  std::string name_;
  bool showing_ = false;
};

void run(const DeviceOptions& device, const LogOptions& options) {
  enterDevice(device);
  SystemLogReader reader(SystemLog::ofDevice(device.directory));
  ProcessFilter filter(options.process);
  auto print = [&] { std::cout << filter(reader.readNew()) << std::flush; };
  print();
  if (!options.follow) return;
  StopOnSignal stopOnSignal;
  RunLoop::Timer poll = RunLoop::main().schedule(std::chrono::milliseconds(100), print, true);
  RunLoop::main().run();
}

}  // namespace

void addLogCommand(CLI::App& app, const DeviceOptions& device) {
  auto options = std::make_shared<LogOptions>();
  CLI::App* command = app.add_subcommand(
      "log", "Print the device's log: what its processes wrote with NSLog, oldest first");
  command->add_flag("-f,--follow", options->follow,
                    "Keep printing new lines as they are written, until Ctrl-C");
  command->add_option("--process", options->process,
                      "Only the lines of processes of this name, e.g. SpringBoard");
  command->callback([&device, options] { run(device, *options); });
}
