#include "apps/vitrel/icon_files.h"

#include <algorithm>
#include <cctype>

namespace {

namespace fs = std::filesystem;

std::string lowerExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

void walk(const fs::path& folder, std::vector<fs::path>& found,
          std::vector<std::string>& problems) {
  auto cannotRead = [&](const fs::path& path, const std::error_code& error) {
    problems.push_back("cannot read " + path.string() + ": " + error.message());
  };
  std::error_code error;
  std::vector<fs::directory_entry> entries;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    entries.push_back(*it);
  if (error) cannotRead(folder, error);
  for (const fs::directory_entry& entry : entries) {
    std::error_code entryError;
    if (entry.is_directory(entryError) && !entry.is_symlink(entryError)) {
      walk(entry.path(), found, problems);
      continue;
    }
    if (lowerExtension(entry.path()) != ".png" && !isSVGName(entry.path())) continue;
    if (entry.is_regular_file(entryError)) found.push_back(entry.path());
    if (entryError) cannotRead(entry.path(), entryError);
  }
}

}  // namespace

bool isSVGName(const fs::path& path) {
  return lowerExtension(path) == ".svg";
}

IconFiles findIconFiles(const std::vector<std::string>& inputs) {
  IconFiles icons;
  for (const auto& input : inputs) {
    std::error_code error;
    if (!fs::is_directory(input, error)) {
      icons.files.emplace_back(input);
      continue;
    }
    std::vector<fs::path> found;
    size_t problemsBefore = icons.problems.size();
    walk(input, found, icons.problems);
    if (found.empty() && icons.problems.size() == problemsBefore) {
      icons.problems.push_back("no PNG or SVG images in " + input);
    }
    std::sort(found.begin(), found.end());
    icons.files.insert(icons.files.end(), found.begin(), found.end());
  }
  return icons;
}
