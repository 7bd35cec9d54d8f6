#include "apps/vitrel/svg_server.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "apps/vitrel/svg_image.h"

namespace {

std::string svg(const std::string& attributes, const std::string& body) {
  return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' " +
         attributes + ">" + body + "</svg>";
}

const std::string kBlueSquare =
    svg("width='16' height='16'", "<rect width='16' height='16' fill='#3366cc'/>");

// A filter librsvg would draw for minutes.
const std::string kTurbulence =
    svg("width='64' height='64'",
        "<filter id='f'><feTurbulence baseFrequency='0.05' numOctaves='1000000000'/></filter>"
        "<rect width='64' height='64' filter='url(#f)'/>");

std::string bytesOf(const Bitmap& bitmap) {
  return std::string(reinterpret_cast<const char*>(bitmap.pixels()), bitmap.byteCount());
}

std::string outcome(const Result<Bitmap>& drawn) {
  return drawn ? std::to_string(drawn.value().width()) + "×" +
                     std::to_string(drawn.value().height()) + " " + bytesOf(drawn.value())
               : drawn.error();
}

// A base64 data: URL of a grey PNG of side × side pixels: a few hundred kilobytes that
// decode to 4 × side² bytes.
std::string pngDataURL(uint32_t side) {
  auto bigEndian = [](uint32_t value) {
    return std::string{char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
  };
  auto chunk = [&](const std::string& type, const std::string& data) {
    const std::string body = type + data;
    return bigEndian(uint32_t(data.size())) + body +
           bigEndian(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
  };
  z_stream stream{};
  deflateInit(&stream, 9);
  std::string row(1 + 4 * size_t(side), '\x80'), idat;
  row[0] = 0;
  std::vector<Bytef> out(1 << 16);
  for (uint32_t y = 0; y <= side; ++y) {
    stream.next_in = reinterpret_cast<Bytef*>(row.data());
    stream.avail_in = y < side ? uInt(row.size()) : 0;
    do {
      stream.next_out = out.data();
      stream.avail_out = uInt(out.size());
      deflate(&stream, y < side ? Z_NO_FLUSH : Z_FINISH);
      idat.append(reinterpret_cast<char*>(out.data()), out.size() - stream.avail_out);
    } while (stream.avail_out == 0);
  }
  deflateEnd(&stream);
  const std::string png =
      "\x89PNG\r\n\x1a\n" +
      chunk("IHDR", bigEndian(side) + bigEndian(side) + "\x08\x06" + std::string(3, '\0')) +
      chunk("IDAT", idat) + chunk("IEND", "");
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text = "data:image/png;base64,";
  for (size_t i = 0; i < png.size(); i += 3) {
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k)
      group = group << 8 | (i + k < png.size() ? static_cast<uint8_t>(png[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k)
      text += k <= png.size() - i ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return text;
}

// Whether this process has a child left, running or not waited for.
bool hasChildren() {
  siginfo_t info{};
  return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 || errno != ECHILD;
}

// How many processes descend from pid, as /proc lists children.
int descendants(pid_t pid) {
  std::ifstream list("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
  int count = 0;
  for (pid_t child; list >> child;)
    count += 1 + descendants(child);
  return count;
}

// The server answers as rasteriseSVG in this process does: the same pixels at every shape,
// the same reasons for what it refuses.
TEST(SVGServerTest, DrawsAsThisProcessDoes) {
  SVGServer server(1, {});
  for (const std::string& text :
       {kBlueSquare,
        svg("viewBox='0 0 30 10'",
            "<linearGradient id='g'><stop offset='0' stop-color='#f80'/><stop offset='1' "
            "stop-color='#08f' stop-opacity='0.3'/></linearGradient><circle cx='15' cy='5' r='6' "
            "fill='url(#g)'/>"),
        std::string("just some words"), svg("width='0' height='16'", "")}) {
    for (int size : {1, 45, 180})
      EXPECT_EQ(outcome(server.draw(text, size)), outcome(rasteriseSVG(text, size))) << text;
  }
  EXPECT_EQ(outcome(server.draw(kBlueSquare, 0)), "size 0 is outside 1 to 4096");
  EXPECT_EQ(outcome(server.draw("", 16)), "not an SVG image: the file is empty");
}

// A drawing past its time is stopped and reported while the other channel draws on, and its
// channel draws the next document.
TEST(SVGServerTest, StopsADrawingPastItsTimeWhileTheOthersDraw) {
  SVGServer server(2, {.seconds = 1});
  Result<Bitmap> stopped = Result<Bitmap>::failure("not drawn");
  std::thread hostile([&] { stopped = server.draw(kTurbulence, 64); });
  int drawn = 0;
  while (drawn < 5 || stopped.error() == "not drawn") {
    ASSERT_TRUE(server.draw(kBlueSquare, 16)) << "drawing " << drawn;
    ++drawn;
  }
  hostile.join();
  EXPECT_EQ(stopped.error(), "drawing took longer than 1 s; stopped");
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(outcome(server.draw(kBlueSquare, 16)), outcome(rasteriseSVG(kBlueSquare, 16)));
}

// A drawing cannot take more memory than its cap: an embedded picture of 256 MB is refused
// (left out of the drawing, or the drawing fails), and the server draws on.
TEST(SVGServerTest, KeepsADrawingWithinItsMemory) {
  const uint64_t cap = uint64_t{64} << 20;
  const std::string hog =
      svg("width='64' height='64'",
          "<image width='64' height='64' xlink:href='" + pngDataURL(8000) + "'/>");
  {
    SVGServer server(1, {.seconds = 60, .memoryBytes = cap});
    server.draw(hog, 64);
    EXPECT_TRUE(server.draw(kBlueSquare, 16));
  }
  rusage self{}, children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  // In kilobytes. The drawing starts as a copy of this process, and may use the cap (and under
  // AddressSanitizer its shadow); drawn, the picture would take 512 MB.
  EXPECT_LT(children.ru_maxrss, self.ru_maxrss + 2 * long(cap >> 10));
}

// The server and its drawings end with the object and are waited for; and with the process
// that made it, when that is killed mid-drawing.
TEST(SVGServerTest, LeavesNoProcessBehind) {
  {
    SVGServer server(2, {.seconds = 60});
    EXPECT_TRUE(server.draw(kBlueSquare, 16));
    EXPECT_TRUE(hasChildren());
  }
  EXPECT_FALSE(hasChildren());
  // Orphans come to this process, so it sees whether any outlives the owner.
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  const pid_t owner = fork();
  if (owner == 0) {
    SVGServer server(1, {.seconds = 60});
    server.draw(kTurbulence, 64);
    _exit(0);
  }
  ASSERT_GT(owner, 0);
  // Killed once its server runs a drawing.
  for (int tries = 0; descendants(owner) < 2 && tries < 1000; ++tries)
    usleep(10'000);
  EXPECT_EQ(descendants(owner), 2);
  kill(owner, SIGKILL);
  for (int tries = 0; tries < 1000 && waitpid(-1, nullptr, WNOHANG) >= 0; ++tries)
    usleep(10'000);
  EXPECT_FALSE(hasChildren());
  prctl(PR_SET_CHILD_SUBREAPER, 0);
}

}  // namespace
