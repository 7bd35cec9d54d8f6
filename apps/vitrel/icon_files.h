#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The icon images among command-line inputs: files as given, folders searched for PNG and SVG
// files (symbolic links to folders are not followed), each folder's finds in name order.
// `problems` tells what could not be read of a folder, and names a folder that holds no image
// (the user pointed at the wrong place); the search goes on with the rest.
struct IconFiles {
  std::vector<std::filesystem::path> files;
  std::vector<std::string> problems;
};
IconFiles findIconFiles(const std::vector<std::string>& inputs);

// Whether the name ends in ".svg", in any case: such files are read as SVG, others as PNG.
bool isSVGName(const std::filesystem::path& path);
