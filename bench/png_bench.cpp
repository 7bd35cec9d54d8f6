// Reading real icons (the reader as it is, which reads common files itself, and libpng alone)
// and encoding the live home-screen picture (libpng), each beside libspng in the same run
// (figures in the README). The libspng side is the library at its best: a bare decode without
// the reader's guards, and the encoder at the writer's settings (fastest level, "up" filter)
// on the same straight-alpha pixels.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <png.h>
#include <spng.h>
#include <stdlib.h>

#include <csetjmp>
#include <cstring>
#include <memory>

#include "icon_set.h"
#include "platform/foundation/device.h"
#include "platform/foundation/file_io.h"
#include "platform/graphics/internal/png_readers.h"
#include "platform/graphics/png.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/host.h"
#include "platform/uikit/rendering/view_renderer.h"

namespace {

using SpngContext = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

std::vector<std::string> iconFiles(int size) {
  std::vector<std::string> files;
  for (const auto& icon : icon_set::realIcons(size, size >= 1024 ? 8 : 32))
    files.push_back(readFileBytes(icon.png, 1 << 26).value());
  return files;
}

// The same bitmap as the reader's.
Bitmap spngDecode(std::string_view bytes) {
  SpngContext context(spng_ctx_new(0), spng_ctx_free);
  spng_set_png_buffer(context.get(), bytes.data(), bytes.size());
  spng_ihdr header{};
  size_t size = 0;
  if (spng_get_ihdr(context.get(), &header) ||
      spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size)) {
    return {};
  }
  std::vector<uint8_t> pixels(size);
  if (spng_decode_image(context.get(), pixels.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) ||
      spng_decode_chunks(context.get())) {
    return {};
  }
  return Bitmap::fromStraightAlpha(int(header.width), int(header.height), std::move(pixels));
}

// One icon per iteration, going round the set at the size state.range(0).
template <class Decode>
void decodeIcons(benchmark::State& state, Decode decode) {
  std::vector<std::string> files = iconFiles(static_cast<int>(state.range(0)));
  size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(decode(files[i++ % files.size()]));
  state.SetItemsProcessed(state.iterations());
}

void BM_Decode(benchmark::State& state) {
  decodeIcons(state, decodePNG);
}
BENCHMARK(BM_Decode)
    ->Name("PNGDecode/reader")
    ->Arg(60)
    ->Arg(180)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond);

void BM_DecodeLibpng(benchmark::State& state) {
  decodeIcons(state, decodePNGWithLibpng);
}
BENCHMARK(BM_DecodeLibpng)
    ->Name("PNGDecode/libpng")
    ->Arg(60)
    ->Arg(180)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond);

void BM_DecodeSpng(benchmark::State& state) {
  decodeIcons(state, spngDecode);
}
BENCHMARK(BM_DecodeSpng)
    ->Name("PNGDecode/spng")
    ->Arg(60)
    ->Arg(180)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond);

// The sample home screen as the springboard host draws it (390 × 844 points at 2×).
const Bitmap& homeScreenPicture() {
  static Bitmap picture = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "vitrel-bench-XXXXXX").string();
    device::setDirectory(mkdtemp(folder.data()));
    setUpHost({});
    auto catalogue = loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    HomeScreen home(std::make_shared<const AppCatalogue>(std::move(catalogue).value()));
    return renderView(home.window(), 2);
  }();
  return picture;
}

std::filesystem::path screenFile() {
  return device::directory().value() / "screen.png";
}

// Its straight-alpha pixels, as the writer hands them to the encoder.
const std::vector<uint8_t>& straightScreenPixels() {
  static std::vector<uint8_t> pixels = [] {
    if (!writePNG(homeScreenPicture(), screenFile())) std::abort();
    SpngContext context(spng_ctx_new(0), spng_ctx_free);
    std::string bytes = readFileBytes(screenFile(), 1 << 26).value();
    spng_set_png_buffer(context.get(), bytes.data(), bytes.size());
    size_t size = 0;
    spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size);
    std::vector<uint8_t> straight(size);
    spng_decode_image(context.get(), straight.data(), size, SPNG_FMT_RGBA8, 0);
    return straight;
  }();
  return pixels;
}

void appendOutput(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

std::string libpngEncode(const std::vector<uint8_t>& pixels, int width, int height) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, appendOutput, nullptr);
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    rows.push_back(const_cast<uint8_t*>(pixels.data()) + 4 * size_t(width) * y);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string spngEncode(const std::vector<uint8_t>& pixels, int width, int height) {
  SpngContext context(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
  spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
  spng_set_option(context.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
  spng_set_option(context.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
  spng_ihdr header{};
  header.width = static_cast<uint32_t>(width);
  header.height = static_cast<uint32_t>(height);
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  spng_set_ihdr(context.get(), &header);
  if (spng_encode_image(context.get(), pixels.data(), pixels.size(), SPNG_FMT_PNG,
                        SPNG_ENCODE_FINALIZE)) {
    return {};
  }
  size_t size = 0;
  int error = 0;
  std::unique_ptr<void, decltype(&free)> buffer(spng_get_png_buffer(context.get(), &size, &error),
                                                free);
  return std::string(static_cast<const char*>(buffer.get()), size);
}

template <class Encode>
void encodeScreen(benchmark::State& state, Encode encode) {
  const Bitmap& picture = homeScreenPicture();
  const std::vector<uint8_t>& pixels = straightScreenPixels();
  size_t bytes = 0;
  for (auto _ : state) {
    std::string encoded = encode(pixels, picture.width(), picture.height());
    bytes = encoded.size();
    benchmark::DoNotOptimize(encoded);
  }
  state.counters["KiB"] = double(bytes) / 1024;
  state.SetLabel(std::to_string(picture.width()) + " x " + std::to_string(picture.height()));
}

void BM_EncodeLibpng(benchmark::State& state) {
  encodeScreen(state, libpngEncode);
}
BENCHMARK(BM_EncodeLibpng)->Name("PNGEncode/libpng")->Unit(benchmark::kMillisecond);

void BM_EncodeSpng(benchmark::State& state) {
  encodeScreen(state, spngEncode);
}
BENCHMARK(BM_EncodeSpng)->Name("PNGEncode/spng")->Unit(benchmark::kMillisecond);

// What the live picture costs the running home screen once drawn: un-premultiplying, encoding
// and the atomic write.
void BM_WriteScreen(benchmark::State& state) {
  const Bitmap& picture = homeScreenPicture();
  for (auto _ : state) {
    if (!writePNG(picture, screenFile())) state.SkipWithError("the picture was not written");
  }
}
BENCHMARK(BM_WriteScreen)->Name("PNGWrite/writePNG")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // glibc gives the freed top of the heap back to the system after every picture, which costs
  // more in this VM than decoding a small icon and falls on whichever side happens to free it
  // last; the decoders are compared without it.
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
