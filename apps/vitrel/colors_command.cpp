#include "apps/vitrel/colors_command.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "apps/vitrel/color_json.h"
#include "apps/vitrel/json_text.h"
#include "source/colors/color_quenby.h"
#include "source/colors/image_quenby.h"
#include "source/colors/lib_merrow.h"
#include "source/colors/lib_osset.h"
#include "source/colors/palette_cube.h"
#include "source/colors/tessel.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kMethods = {"dominant",  "second-dominant", "palette-cube",
                                           "libmerrow", "tessel",          "libosset"};

struct ColorsOptions {
  std::vector<std::string> inputs;
  bool json = false;
  std::string method;
};

// The PNG files under `folder` (symbolic links to folders are not followed). A folder or an
// entry that cannot be read goes to `problems`, and the walk goes on with the rest.
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
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    if (extension != ".png") continue;
    if (entry.is_regular_file(entryError)) found.push_back(entry.path());
    if (entryError) cannotRead(entry.path(), entryError);
  }
}

// Every PNG among the inputs: files as given, folders walked (in name order). What cannot be
// read of a folder, or a folder that holds no PNG (the user pointed at the wrong place), is a
// problem to report.
std::vector<fs::path> imageFiles(const std::vector<std::string>& inputs,
                                 std::vector<std::string>& folderProblems) {
  std::vector<fs::path> files;
  for (const auto& input : inputs) {
    std::error_code error;
    if (!fs::is_directory(input, error)) {
      files.emplace_back(input);
      continue;
    }
    std::vector<fs::path> found;
    size_t problemsBefore = folderProblems.size();
    walk(input, found, folderProblems);
    if (found.empty() && folderProblems.size() == problemsBefore) {
      folderProblems.push_back("no PNG images in " + input);
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

Json colorListJson(const std::vector<Ref<UIColor>>& colors) {
  Json list = Json::array();
  for (const auto& color : colors)
    list.push_back(colorJson(color.get()));
  return list;
}

// Every method asked for, on one image.
Json colorsOf(const UIImage* image, const std::string& method) {
  auto wanted = [&](const char* name) { return method.empty() || method == name; };
  Json result = Json::object();
  if (wanted("dominant")) result["dominant"] = colorJson(mirraDominantColor(image).get());
  if (wanted("second-dominant")) {
    result["secondDominant"] = colorJson(mirraSecondDominantColor(image).get());
  }
  if (wanted("palette-cube")) {
    PCPaletteCube cube;
    auto first = cube.extractColorsFromImage(image, PCFlagBrightOnly | PCFlagAvoidWhite, 1);
    result["paletteCube"] = {
        {"brightNotWhite", first.empty() ? Json(nullptr) : colorJson(first.front().get())},
        {"palette", colorListJson(cube.extractColorsFromImage(image, 0))}};
  }
  if (wanted("libmerrow")) {
    result["libMerrow"] = {{"background", colorJson(libMerrow::backgroundColor(image).get())},
                           {"primary", colorJson(libMerrow::primaryColor(image).get())},
                           {"secondary", colorJson(libMerrow::secondaryColor(image).get())}};
  }
  if (wanted("tessel")) {
    result["tessel"] = {{"primary", colorJson(Tessel::getPrimaryColor(image).get())},
                        {"secondary", colorJson(Tessel::getSecondaryColor(image).get())}};
  }
  if (wanted("libosset")) {
    Json shares = Json::array();
    for (const auto& entry : libOsset().mainColoursInImage(image, 1)) {
      shares.push_back({{"colour", colorJson(entry.colour.get())}, {"share", entry.share}});
    }
    result["libOsset"] = shares;
  }
  return result;
}

// "#RRGGBB" with a block of the colour when the output is a terminal that shows colour.
std::string swatch(const Json& color, bool terminal) {
  if (color.is_null()) return "none";
  std::string hex = color["hex"];
  if (!terminal) return hex;
  auto byte = [](double c) {
    return std::to_string(std::clamp(static_cast<int>(c * 255), 0, 255));
  };
  return "\x1b[48;2;" + byte(color["r"]) + ";" + byte(color["g"]) + ";" + byte(color["b"]) +
         "m    \x1b[0m " + hex;
}

void printText(const fs::path& file, const UIImage* image, const Json& colors, bool terminal) {
  std::cout << file.string() << " (" << image->bitmap().width() << "×" << image->bitmap().height()
            << " px, scale " << image->scale() << ")\n";
  for (const auto& [method, value] : colors.items()) {
    std::cout << "  " << method << ":";
    if (value.is_null() || value.contains("hex")) {
      std::cout << " " << swatch(value, terminal) << '\n';
    } else if (value.is_array()) {
      for (const auto& entry : value) {
        std::cout << "\n    " << swatch(entry["colour"], terminal) << "  "
                  << static_cast<int>(entry["share"].get<double>() * 1000 + 0.5) / 10.0 << "%";
      }
      std::cout << '\n';
    } else {
      for (const auto& [name, color] : value.items()) {
        if (color.is_array()) {
          std::cout << "\n    " << name << ":";
          for (const auto& entry : color)
            std::cout << "\n      " << swatch(entry, terminal);
        } else {
          std::cout << "\n    " << name << ": " << swatch(color, terminal);
        }
      }
      std::cout << '\n';
    }
  }
}

void run(const ColorsOptions& options) {
  std::vector<std::pair<fs::path, std::string>> problems;
  std::vector<std::string> folderProblems;
  std::vector<fs::path> files = imageFiles(options.inputs, folderProblems);
  bool terminal = isatty(STDOUT_FILENO);
  bool progress = isatty(STDERR_FILENO) && files.size() > 1;
  for (size_t i = 0; i < files.size(); ++i) {
    if (progress) {
      std::cerr << "\r\x1b[K[" << i + 1 << "/" << files.size() << "] " << files[i].string()
                << std::flush;
    }
    auto image = UIImage::imageWithContentsOfFile(files[i]);
    if (!image) {
      problems.emplace_back(files[i], image.error());
      if (options.json)
        std::cout << jsonText(Json{{"file", files[i].string()}, {"error", image.error()}}) << '\n';
      continue;
    }
    Json colors = colorsOf(image.value().get(), options.method);
    if (progress) std::cerr << "\r\x1b[K" << std::flush;
    if (options.json) {
      Json line = {{"file", files[i].string()},
                   {"width", image.value()->bitmap().width()},
                   {"height", image.value()->bitmap().height()},
                   {"scale", image.value()->scale()}};
      line.update(colors);
      std::cout << jsonText(line) << '\n';
    } else {
      printText(files[i], image.value().get(), colors, terminal);
    }
  }
  if (progress) std::cerr << "\r\x1b[K" << std::flush;
  for (const auto& [file, reason] : problems)
    std::cerr << "vitrel colors: " << reason << '\n';
  for (const std::string& reason : folderProblems)
    std::cerr << "vitrel colors: " << reason << '\n';
  if (!problems.empty()) {
    throw CLI::RuntimeError(std::to_string(problems.size()) + " of " +
                                std::to_string(files.size()) + " image(s) could not be read",
                            1);
  }
  if (!folderProblems.empty()) throw CLI::RuntimeError("", 1);
}

}  // namespace

void addColorsCommand(CLI::App& app) {
  auto options = std::make_shared<ColorsOptions>();
  CLI::App* command = app.add_subcommand(
      "colors", "Run every colour method of the library on icon images (PNG files or folders)");
  command->add_option("IMAGE", options->inputs, "PNG files, or folders searched for PNG files")
      ->required();
  command->add_flag("--json", options->json, "Print one JSON object per image");
  command->add_option("--method", options->method, "Only this method")
      ->check(CLI::IsMember(kMethods));
  command->callback([options] { run(*options); });
}
