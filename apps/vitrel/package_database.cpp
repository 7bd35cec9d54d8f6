#include "apps/vitrel/package_database.h"

#include <filesystem>
#include <sstream>
#include <vector>

#include "platform/foundation/device.h"
#include "platform/foundation/file_io.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kLargestDatabase = 64 << 20;

fs::path databasePath() {
  return *device::directory() / "var/jb/var/lib/dpkg/status";
}

// The database's paragraphs, each with its closing line end and without the blank line.
std::vector<std::string> paragraphs(const std::string& database) {
  std::vector<std::string> result;
  std::istringstream lines(database);
  std::string paragraph;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) {
      paragraph += line + "\n";
    } else if (!paragraph.empty()) {
      result.push_back(std::exchange(paragraph, ""));
    }
  }
  if (!paragraph.empty()) result.push_back(paragraph);
  return result;
}

bool describes(const std::string& paragraph, const std::string& name) {
  return paragraph.starts_with("Package: " + name + "\n") ||
         paragraph.find("\nPackage: " + name + "\n") != std::string::npos;
}

}  // namespace

Result<void> recordInstalledPackage(const InstalledPackage& package) {
  Result<std::string> database = readFileBytes(databasePath(), kLargestDatabase);
  std::error_code missing;
  if (!database && fs::exists(databasePath(), missing)) {
    return Result<void>::failure(database.error());
  }
  std::string written;
  for (const std::string& paragraph : paragraphs(database.valueOr(""))) {
    if (!describes(paragraph, package.name)) written += paragraph + "\n";
  }
  written +=
      "Package: " + package.name +
      "\nStatus: install ok installed\nArchitecture: iphoneos-arm64\nVersion: " + package.version +
      "\n";
  std::error_code error;
  fs::create_directories(databasePath().parent_path(), error);
  return writeFileAtomically(databasePath(), written);
}

std::optional<std::string> packageStatus(const std::string& name) {
  for (const std::string& paragraph :
       paragraphs(readFileBytes(databasePath(), kLargestDatabase).valueOr(""))) {
    if (describes(paragraph, name)) return paragraph;
  }
  return std::nullopt;
}
