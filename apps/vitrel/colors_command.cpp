#include "apps/vitrel/colors_command.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "apps/vitrel/color_json.h"
#include "apps/vitrel/icon_files.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/ordered_pool.h"
#include "apps/vitrel/svg_image.h"
#include "apps/vitrel/svg_server.h"
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

// Each job holds an image at a time, so a mistyped count must not start thousands.
constexpr unsigned kMaxJobs = 256;

struct ColorsOptions {
  std::vector<std::string> inputs;
  bool json = false;
  std::string method;
  unsigned jobs = coreCount();
  int size = 180;
};

// What one image gives: its lines of output, and why it could not be read when it could not.
struct Measured {
  std::string output;
  std::optional<std::string> error;
};

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

std::string textOf(const fs::path& file, const UIImage* image, const Json& colors, bool terminal) {
  std::ostringstream out;
  out << file.string() << " (" << image->bitmap().width() << "×" << image->bitmap().height()
      << " px, scale " << image->scale() << ")\n";
  for (const auto& [method, value] : colors.items()) {
    out << "  " << method << ":";
    if (value.is_null() || value.contains("hex")) {
      out << " " << swatch(value, terminal) << '\n';
    } else if (value.is_array()) {
      for (const auto& entry : value) {
        out << "\n    " << swatch(entry["colour"], terminal) << "  "
            << static_cast<int>(entry["share"].get<double>() * 1000 + 0.5) / 10.0 << "%";
      }
      out << '\n';
    } else {
      for (const auto& [name, color] : value.items()) {
        if (color.is_array()) {
          out << "\n    " << name << ":";
          for (const auto& entry : color)
            out << "\n      " << swatch(entry, terminal);
        } else {
          out << "\n    " << name << ": " << swatch(color, terminal);
        }
      }
      out << '\n';
    }
  }
  return out.str();
}

Result<Ref<UIImage>> readImage(const fs::path& file, int size, const SVGDrawer& drawSVG) {
  return isSVGName(file) ? readSVGImage(file, size, drawSVG)
                         : UIImage::imageWithContentsOfFile(file);
}

// Reads, measures and prints one image; runs on the pool's threads.
Measured measure(const fs::path& file, const ColorsOptions& options, bool terminal,
                 const SVGDrawer& drawSVG) {
  auto image = readImage(file, options.size, drawSVG);
  if (!image) {
    std::string line =
        options.json ? jsonText(Json{{"file", file.string()}, {"error", image.error()}}) + "\n"
                     : "";
    return {line, image.error()};
  }
  Json colors = colorsOf(image.value().get(), options.method);
  if (!options.json) return {textOf(file, image.value().get(), colors, terminal), std::nullopt};
  Json line = {{"file", file.string()},
               {"width", image.value()->bitmap().width()},
               {"height", image.value()->bitmap().height()},
               {"scale", image.value()->scale()}};
  line.update(colors);
  return {jsonText(line) + "\n", std::nullopt};
}

// Every image's pixels are freed before the next is read. glibc gives the memory of a worker
// thread's arena back to the system on such frees (and maps a picture of over 128 KiB anew each
// time), so every image faulted its pages in again and two threads ran slower than one; kept,
// the memory serves the next image.
void keepFreedPictures() {
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
}

void run(const ColorsOptions& options) {
  keepFreedPictures();
  IconFiles icons = findIconFiles(options.inputs);
  const std::vector<fs::path>& files = icons.files;
  // A hostile SVG can make librsvg draw for minutes; drawn by a server's processes, it is
  // stopped at a limit. The server is forked before the pool's threads start, and only for SVG.
  std::optional<SVGServer> svgServer;
  const auto svgCount = static_cast<size_t>(std::count_if(files.begin(), files.end(), isSVGName));
  if (svgCount > 0) svgServer.emplace(std::min<size_t>(options.jobs, svgCount), svgDrawingLimits());
  const SVGDrawer drawSVG = [&](std::string_view bytes, int size) {
    return svgServer->draw(bytes, size);
  };
  std::vector<std::string> problems;
  bool terminal = isatty(STDOUT_FILENO);
  bool progress = isatty(STDERR_FILENO) && files.size() > 1;
  // The file whose result is awaited next: results are printed in input order.
  auto showProgress = [&](size_t i) {
    if (progress && i < files.size()) {
      std::cerr << "\r\x1b[K[" << i + 1 << "/" << files.size() << "] " << files[i].string()
                << std::flush;
    }
  };
  showProgress(0);
  forEachInOrder(
      files.size(), options.jobs,
      [&](size_t i) { return measure(files[i], options, terminal, drawSVG); },
      [&](size_t i, Measured measured) {
        if (progress) std::cerr << "\r\x1b[K" << std::flush;
        if (measured.error) problems.push_back(std::move(*measured.error));
        std::cout << measured.output << std::flush;
        showProgress(i + 1);
      });
  if (progress) std::cerr << "\r\x1b[K" << std::flush;
  for (const std::string& reason : problems)
    std::cerr << "vitrel colors: " << reason << '\n';
  for (const std::string& reason : icons.problems)
    std::cerr << "vitrel colors: " << reason << '\n';
  if (!problems.empty()) {
    throw CLI::RuntimeError(std::to_string(problems.size()) + " of " +
                                std::to_string(files.size()) + " image(s) could not be read",
                            1);
  }
  if (!icons.problems.empty()) throw CLI::RuntimeError("", 1);
}

}  // namespace

void addColorsCommand(CLI::App& app) {
  auto options = std::make_shared<ColorsOptions>();
  CLI::App* command = app.add_subcommand(
      "colors",
      "Run every colour method of the library on icon images (PNG or SVG files, or folders)");
  command->add_option("IMAGE", options->inputs, "PNG or SVG files, or folders searched for both")
      ->required();
  command->add_flag("--json", options->json, "Print one JSON object per image");
  command->add_option("--method", options->method, "Only this method")
      ->check(CLI::IsMember(kMethods));
  command
      ->add_option("--jobs", options->jobs,
                   "Images read and measured at once, 1 to " + std::to_string(kMaxJobs) +
                       " (default: one per core, " + std::to_string(coreCount()) +
                       " here); the output keeps the input order")
      ->check(CLI::Range(1u, kMaxJobs));
  command
      ->add_option("--size", options->size,
                   "Pixels an SVG image is drawn at, on its longer side, 1 to " +
                       std::to_string(kMaxSVGSize) + " (default 180)")
      ->check(CLI::Range(1, kMaxSVGSize));
  command->callback([options] { run(*options); });
}
