#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "icon_set.h"
#include "source/colors/color_quenby.h"
#include "source/colors/image_quenby.h"
#include "source/colors/lib_merrow.h"
#include "source/colors/lib_osset.h"
#include "source/colors/palette_cube.h"
#include "source/colors/tessel.h"

// The colour methods share no state between calls: on many threads at once they give what
// they give on one. Every colour they make still passes through the runtime's class table and
// its objects' counts, which all threads share. Run under the thread sanitizer too.

namespace {

std::string hex(const Ref<UIColor>& color) {
  Ref<NSString> text = mirraHexStringFromColor(color.get());
  return text ? text->string() : "nil";
}

// Every method's answer for the icon, read from its file on the calling thread.
std::string colorsOf(const std::filesystem::path& png) {
  auto read = UIImage::imageWithContentsOfFile(png);
  if (!read) return read.error();
  const UIImage* image = read.value().get();
  std::ostringstream out;
  out << hex(mirraDominantColor(image)) << hex(mirraSecondDominantColor(image));
  PCPaletteCube cube;
  for (const auto& color : cube.extractColorsFromImage(image, PCFlagBrightOnly, 3))
    out << hex(color);
  out << hex(libMerrow::backgroundColor(image)) << hex(libMerrow::primaryColor(image))
      << hex(libMerrow::secondaryColor(image)) << hex(Tessel::getPrimaryColor(image))
      << hex(Tessel::getSecondaryColor(image));
  for (const auto& entry : libOsset().mainColoursInImage(image, 1))
    out << hex(entry.colour) << entry.share;
  return out.str();
}

TEST(ColorsThreadsTest, EveryMethodGivesOnManyThreadsWhatItGivesOnOne) {
  std::vector<icon_set::Icon> icons = icon_set::realIcons(60, 24);
  ASSERT_EQ(icons.size(), 24u);
  std::vector<std::string> serial;
  for (const auto& icon : icons)
    serial.push_back(colorsOf(icon.png));

  constexpr size_t kThreads = 4;
  std::vector<std::vector<std::string>> parallel(kThreads, std::vector<std::string>(icons.size()));
  {
    std::vector<std::jthread> threads;
    for (size_t t = 0; t < kThreads; ++t) {
      // Each thread starts at another icon, so that different icons meet at once.
      threads.emplace_back([&, t] {
        for (size_t k = 0; k < icons.size(); ++k) {
          size_t i = (k + t * icons.size() / kThreads) % icons.size();
          parallel[t][i] = colorsOf(icons[i].png);
        }
      });
    }
  }
  for (size_t t = 0; t < kThreads; ++t)
    EXPECT_EQ(parallel[t], serial) << "thread " << t;
}

}  // namespace
