#include "apps/vitrel/served_files.h"

#include <algorithm>
#include <map>
#include <optional>

namespace served_files {
namespace {

namespace fs = std::filesystem;

Lookup refused(int status, std::string reason) {
  return {status, {}, std::move(reason)};
}

// The path below the folder, segment by segment; empty segments ("//") count for nothing.
std::optional<fs::path> relativePath(std::string_view path) {
  fs::path relative;
  size_t start = 1;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view segment = path.substr(start, end - start);
    if (segment == "." || segment == "..") return std::nullopt;
    if (!segment.empty()) relative /= fs::path(std::string(segment));
    start = end + 1;
  }
  return relative;
}

bool isInside(const fs::path& file, const fs::path& folder) {
  auto [folderEnd, fileAt] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
  return folderEnd == folder.end();
}

}  // namespace

Lookup lookUp(const fs::path& folder, std::string_view path) {
  if (!path.starts_with('/') || path.find_first_of(std::string_view("\\\0", 2)) != path.npos) {
    return refused(400, "a malformed path");
  }
  std::optional<fs::path> relative = relativePath(path);
  if (!relative) return refused(400, "a path may not leave its folder");
  std::error_code error;
  const fs::path root = fs::canonical(folder, error);
  if (error) return refused(404, "nothing is served here");
  fs::path file = fs::canonical(root / *relative, error);
  if (!error && fs::is_directory(file)) file = fs::canonical(file / "index.html", error);
  // Symbolic links are followed, so one that leads out of the folder is caught here.
  if (error || !isInside(file, root) || !fs::is_regular_file(file)) {
    return refused(404, "no such file");
  }
  return {200, file, {}};
}

std::string contentType(const fs::path& file) {
  static const std::map<std::string, std::string> kTypes = {
      {".html", "text/html; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"},
      {".json", "application/json"},
      {".png", "image/png"},
      {".svg", "image/svg+xml"},
      {".ico", "image/x-icon"},
      {".otf", "font/otf"}};
  auto found = kTypes.find(file.extension().string());
  return found == kTypes.end() ? "application/octet-stream" : found->second;
}

}  // namespace served_files
