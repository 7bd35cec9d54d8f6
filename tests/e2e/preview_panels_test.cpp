// `vitrel preview` draws several scenes side by side; each panel must show its scene exactly as
// the same scene drawn on its own, whatever the scenes staged after it change on the device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/graphics/png.h"

namespace fs = std::filesystem;

namespace {

// How `vitrel preview` lays out its card: screens side by side, kMargin points from each other
// and from the edges, captions under them.
constexpr int kMargin = 40, kCaptionHeight = 44;

class PreviewPanelsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work = fs::temp_directory_path() / ("vitrel-preview-panels-" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
  }
  static void TearDownTestSuite() { fs::remove_all(work); }

  // The picture `vitrel preview ARGUMENTS` writes (at one pixel a point) on a sample device.
  static Bitmap picture(const std::string& arguments) {
    const fs::path output = work / (std::to_string(++pictures) + ".png");
    const std::string command = std::string(VITREL_PATH) + " --device " +
                                (work / "device").string() + " preview --scale 1 -o " +
                                output.string() + " " + arguments + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    Result<Bitmap> read = readPNG(output);
    EXPECT_TRUE(read) << arguments << ": " << (read ? "" : read.error());
    return read ? std::move(read).value() : Bitmap();
  }

  // The number of panels of a picture whose screens are width pixels wide.
  static int panelCount(const Bitmap& picture, int width) {
    return (picture.width() - kMargin) / (width + kMargin);
  }

  // The largest channel difference between the screen of panel a of one picture and that of
  // panel b of another, both width pixels wide.
  static int screenDifference(const Bitmap& one, int a, const Bitmap& other, int b, int width) {
    const int height = one.height() - 2 * kMargin - kCaptionHeight;
    int largest = 0;
    for (int y = kMargin; y < kMargin + height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint8_t* p = one.pixel(kMargin + a * (width + kMargin) + x, y);
        const uint8_t* q = other.pixel(kMargin + b * (width + kMargin) + x, y);
        for (int c = 0; c < 4; ++c)
          largest = std::max(largest, std::abs(p[c] - q[c]));
      }
    }
    return largest;
  }

  static inline fs::path work;
  static inline int pictures = 0;
};

}  // namespace

TEST_F(PreviewPanelsTest, EachPanelShowsItsSceneAsDrawnAlone) {
  // The default picture: the first app's menu light, then dark, then a notification, light.
  const Bitmap light = picture("--light"), dark = picture("--dark"), all = picture("");
  const Bitmap lightNote = picture("--notification com.vitrel.sample.mail --light");
  const Bitmap darkNote = picture("--notification com.vitrel.sample.mail --dark");
  const Bitmap lockScreen = picture("--lock-screen --notification com.vitrel.sample.mail");
  for (const Bitmap* each : {&light, &dark, &all, &lightNote, &darkNote, &lockScreen})
    ASSERT_FALSE(each->empty());
  // A picture of one panel gives the width of a screen.
  const int width = lightNote.width() - 2 * kMargin;
  ASSERT_EQ(panelCount(lightNote, width), 1);
  ASSERT_EQ(panelCount(all, width), 3);
  ASSERT_EQ(panelCount(lockScreen, width), 2);

  EXPECT_LE(screenDifference(all, 0, light, 0, width), 1) << "the light menu";
  EXPECT_LE(screenDifference(all, 1, dark, 0, width), 1) << "the dark menu";
  EXPECT_LE(screenDifference(all, 2, light, 1, width), 1) << "the notification";
  EXPECT_LE(screenDifference(lockScreen, 0, lightNote, 0, width), 1) << "the light lock screen";
  EXPECT_LE(screenDifference(lockScreen, 1, darkNote, 0, width), 1) << "the dark lock screen";
  // The measure tells the styles apart.
  EXPECT_GT(screenDifference(light, 0, dark, 0, width), 64);
}
