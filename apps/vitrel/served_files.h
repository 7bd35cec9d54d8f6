#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Files that the settings server hands out from one folder, and nothing beside it.
namespace served_files {

// A request path looked up under a folder: status 200 with the file, or 400 (a path that
// tries to leave the folder: "..", ".", backslashes, NUL) or 404 (missing, not a regular file,
// or a symbolic link that leads out), with the reason.
struct Lookup {
  int status = 200;
  std::filesystem::path file;
  std::string reason;
};

// `path` is the URL's path as decoded ("/", "/app.js", "/Assets/1.png"); a folder stands for
// its index.html.
Lookup lookUp(const std::filesystem::path& folder, std::string_view path);

// The MIME type for a file's extension; application/octet-stream when unknown.
std::string contentType(const std::filesystem::path& file);

}  // namespace served_files
