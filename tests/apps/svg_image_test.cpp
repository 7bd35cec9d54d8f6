#include "apps/vitrel/svg_image.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "platform/foundation/file_io.h"
#include "platform/graphics/png.h"

namespace {

namespace fs = std::filesystem;

std::string svg(const std::string& attributes, const std::string& body) {
  return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' " +
         attributes + ">" + body + "</svg>";
}

const std::string kBlueSquare =
    svg("width='16' height='16'", "<rect width='16' height='16' fill='#3366cc'/>");

bool transparent(const Bitmap& bitmap) {
  for (size_t i = 3; i < bitmap.byteCount(); i += 4) {
    if (bitmap.pixels()[i] != 0) return false;
  }
  return true;
}

std::string base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k) {
      group = group << 8 | (i + k < bytes.size() ? static_cast<uint8_t>(bytes[i + k]) : 0u);
    }
    for (size_t k = 0; k < 4; ++k) {
      text += k <= (bytes.size() - i) ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return text;
}

class SVGImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string made = (fs::temp_directory_path() / "vitrel-svg-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(made.data()));
    folder_ = made;
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path write(const std::string& name, const std::string& text) const {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return folder_ / name;
  }

  fs::path folder_;
};

TEST(SVGRasteriseTest, DrawsTheDocumentsColoursAtTheAskedSize) {
  for (int size : {1, 40, 180}) {
    Result<Bitmap> bitmap = rasteriseSVG(kBlueSquare, size);
    ASSERT_TRUE(bitmap) << bitmap.error();
    EXPECT_EQ(bitmap.value().width(), size);
    EXPECT_EQ(bitmap.value().height(), size);
    const uint8_t* middle = bitmap.value().pixel(size / 2, size / 2);
    EXPECT_EQ((std::vector<int>{middle[0], middle[1], middle[2], middle[3]}),
              (std::vector<int>{0x33, 0x66, 0xcc, 255}));
  }
}

TEST(SVGRasteriseTest, KeepsTheAspectRatioWithinTheSquare) {
  auto sizeOf = [](const std::string& attributes, int size) {
    Result<Bitmap> bitmap =
        rasteriseSVG(svg(attributes, "<rect width='100%' height='100%'/>"), size);
    EXPECT_TRUE(bitmap) << bitmap.error();
    return bitmap ? std::pair{bitmap.value().width(), bitmap.value().height()} : std::pair{0, 0};
  };
  EXPECT_EQ(sizeOf("width='200' height='100'", 90), std::pair(90, 45));
  EXPECT_EQ(sizeOf("width='10mm' height='30mm'", 90), std::pair(30, 90));
  EXPECT_EQ(sizeOf("viewBox='0 0 300 100'", 90), std::pair(90, 30));
  EXPECT_EQ(sizeOf("width='100%' height='100%' viewBox='0 0 50 100'", 90), std::pair(45, 90));
  // No size at all: the square.
  EXPECT_EQ(sizeOf("", 90), std::pair(90, 90));
  // A declared size beyond any memory sets only the ratio; a thin one keeps a pixel.
  EXPECT_EQ(sizeOf("width='100000000' height='100000000'", 64), std::pair(64, 64));
  EXPECT_EQ(sizeOf("width='1e30' height='1'", 64), std::pair(64, 1));
}

TEST(SVGRasteriseTest, RefusesWhatIsNotADrawableSVG) {
  auto reason = [](std::string_view bytes, int size = 64) {
    Result<Bitmap> bitmap = rasteriseSVG(bytes, size);
    return bitmap ? std::string("drawn") : bitmap.error();
  };
  EXPECT_EQ(reason(""), "not an SVG image: the file is empty");
  EXPECT_TRUE(reason("just some words").starts_with("not an SVG image: ")) << reason("x");
  EXPECT_FALSE(reason("just some words").ends_with("\n")) << "librsvg's line break kept";
  EXPECT_TRUE(
      reason(kBlueSquare.substr(0, kBlueSquare.size() / 2)).starts_with("not an SVG image: "))
      << reason(kBlueSquare.substr(0, kBlueSquare.size() / 2));
  EXPECT_TRUE(reason("<html><body/></html>").starts_with("not an SVG image: "))
      << reason("<html><body/></html>");
  EXPECT_TRUE(reason(std::string("\x89PNG\r\n\x1a\n", 8)).starts_with("not an SVG image: "));
  EXPECT_EQ(reason(svg("width='0' height='16'", "")),
            "the SVG image has no area (a width or height of 0)");
  EXPECT_EQ(reason(svg("viewBox='0 0 16 0'", "")),
            "the SVG image has no area (a width or height of 0)");
  EXPECT_EQ(reason(kBlueSquare, 0), "size 0 is outside 1 to 4096");
  EXPECT_EQ(reason(kBlueSquare, kMaxSVGSize + 1), "size 4097 is outside 1 to 4096");
  EXPECT_EQ(reason(kBlueSquare, kMaxSVGSize).substr(0, 5), "drawn");
}

// The same red picture by reference from a file (by path, by file URL, by XInclude, through a
// use of another file) draws nothing, and an external entity is refused; inlined as a data: URL
// it draws, which shows the references would have shown.
TEST_F(SVGImageTest, DrawsNothingFromOutsideTheDocument) {
  fs::path png = folder_ / "red.png";
  ASSERT_TRUE(writePNG(Bitmap::fromPremultiplied(2, 2, std::vector<uint8_t>(16, 255)), png));
  std::string inlined = "data:image/png;base64," + base64(readFileBytes(png, 1 << 20).value());
  write("other.svg", svg("", "<rect id='r' width='16' height='16' fill='red'/>"));
  auto image = [](const std::string& href) {
    return "<image width='16' height='16' xlink:href='" + href + "'/>";
  };
  auto drawn = [&](const std::string& text) {
    Result<Ref<UIImage>> read = readSVGImage(write("reference.svg", text), 16);
    return read ? !transparent(read.value()->bitmap()) : false;
  };
  EXPECT_TRUE(drawn(svg("width='16' height='16'", image(inlined))));
  EXPECT_FALSE(drawn(svg("width='16' height='16'", image("red.png"))));
  EXPECT_FALSE(drawn(svg("width='16' height='16'", image(png.string()))));
  EXPECT_FALSE(drawn(svg("width='16' height='16'", image("file://" + png.string()))));
  EXPECT_FALSE(drawn(svg("width='16' height='16'", "<use xlink:href='other.svg#r'/>")));
  EXPECT_FALSE(drawn(svg("width='16' height='16' xmlns:xi='http://www.w3.org/2001/XInclude'",
                         "<xi:include href='other.svg'/>")));
  EXPECT_FALSE(drawn("<!DOCTYPE svg [<!ENTITY other SYSTEM '" + (folder_ / "other.svg").string() +
                     "'>]>" + svg("width='16' height='16'", "&other;")));
}

TEST_F(SVGImageTest, TakesTheScaleFromTheName) {
  for (auto [name, scale] :
       {std::pair("icon.svg", 1.0), std::pair("icon@2x.svg", 2.0), std::pair("icon@3x.SVG", 3.0)}) {
    Result<Ref<UIImage>> read = readSVGImage(write(name, kBlueSquare), 180);
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read.value()->bitmap().width(), 180);
    EXPECT_EQ(read.value()->scale(), scale);
    EXPECT_EQ(read.value()->size().width, 180 / scale);
  }
  Result<Ref<UIImage>> broken = readSVGImage(write("broken.svg", "<svg"), 180);
  ASSERT_FALSE(broken);
  EXPECT_TRUE(broken.error().starts_with((folder_ / "broken.svg").string() + ": not an SVG image"))
      << broken.error();
}

}  // namespace
