// Drawing a home screen's view tree (390 × 844 points at 3×: a wallpaper, 24 icons with their
// labels, a frosted menu backdrop) against painting only its wallpaper, in the same run; and
// text alone, laid out and drawn.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/foundation/ns_string.h"
#include "platform/uikit/private_classes.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_visual_effect_view.h"

namespace {

constexpr double kScale = 3;
constexpr CGRect kScreen = CGRectMake(0, 0, 390, 844);

// A smooth two-way colour ramp with a few waves, so that blurs have something to blur.
Ref<UIImage> wallpaper() {
  const int width = int(kScreen.size.width * kScale), height = int(kScreen.size.height * kScale);
  std::vector<uint8_t> pixels(4 * size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = &pixels[4 * (size_t(y) * width + x)];
      pixel[0] = uint8_t(255 * x / width);
      pixel[1] = uint8_t(128 + 127 * std::sin(y / 90.0));
      pixel[2] = uint8_t(255 * y / height);
      pixel[3] = 255;
    }
  }
  return UIImage::imageWithBitmap(Bitmap::fromPremultiplied(width, height, std::move(pixels)),
                                  kScale);
}

Ref<UIImage> icon(int index) {
  const int side = 180;
  std::vector<uint8_t> pixels(4 * side * side);
  for (int i = 0; i < side * side; ++i) {
    pixels[4 * i] = uint8_t(40 * index);
    pixels[4 * i + 1] = uint8_t(i / side);
    pixels[4 * i + 2] = uint8_t(255 - 10 * index);
    pixels[4 * i + 3] = 255;
  }
  return UIImage::imageWithBitmap(Bitmap::fromPremultiplied(side, side, std::move(pixels)), kScale);
}

Ref<UIView> wallpaperScreen() {
  auto screen = objc::make<UIView>();
  screen->setFrame(kScreen);
  auto background = objc::make<UIImageView>();
  background->setFrame(kScreen);
  background->setImage(wallpaper());
  screen->addSubview(background);
  return screen;
}

Ref<UILabel> label(const char* text, CGRect frame, double size) {
  auto made = objc::make<UILabel>();
  made->setFrame(frame);
  made->setText(NSString::from(text));
  made->setFontSize(size);
  made->setTextColor(UIColor::whiteColor());
  made->setTextAlignment(NSTextAlignmentCenter);
  return made;
}

void addIcons(UIView* screen) {
  const char* names[] = {"Mail", "Maps", "Music", "Clock", "Books", "Calendar"};
  for (int i = 0; i < 24; ++i) {
    double x = 27 + (i % 4) * 90, y = 70 + (i / 4) * 110;
    auto image = objc::make<UIImageView>();
    image->setFrame(CGRectMake(x, y, 60, 60));
    image->setImage(icon(i));
    image->layer()->setCornerRadius(13.5);
    image->setClipsToBounds(true);
    screen->addSubview(image);
    screen->addSubview(label(names[i % 6], CGRectMake(x - 10, y + 64, 80, 16), 12));
  }
}

void addMenu(UIView* screen) {
  static const bool defined = [] {
    definePrivateUIKitClasses([](std::string_view) { return true; });
    return true;
  }();
  benchmark::DoNotOptimize(defined);
  auto effect = objc::make<UIVisualEffectView>();
  effect->setFrame(CGRectMake(70, 300, 250, 300));
  effect->layer()->setCornerRadius(13);
  effect->setClipsToBounds(true);
  auto backdrop = objc::make<VisualEffectBackdropView>();
  backdrop->setFrame(effect->bounds());
  effect->addSubview(backdrop);
  const char* actions[] = {"Share App", "Edit Home Screen", "Remove App", "Copy", "Open"};
  for (int i = 0; i < 5; ++i) {
    auto row = label(actions[i], CGRectMake(16, 10 + 58 * i, 218, 40), 17);
    row->setTextColor(UIColor::blackColor());
    row->setTextAlignment(NSTextAlignmentLeft);
    effect->addSubview(row);
  }
  screen->addSubview(effect);
}

void BM_PaintWallpaper(benchmark::State& state) {
  Ref<UIView> screen = wallpaperScreen();
  for (auto _ : state)
    benchmark::DoNotOptimize(renderView(screen.get(), kScale));
}
BENCHMARK(BM_PaintWallpaper)->Unit(benchmark::kMillisecond);

void BM_RenderIcons(benchmark::State& state) {
  Ref<UIView> screen = wallpaperScreen();
  addIcons(screen.get());
  for (auto _ : state)
    benchmark::DoNotOptimize(renderView(screen.get(), kScale));
}
BENCHMARK(BM_RenderIcons)->Unit(benchmark::kMillisecond);

void BM_RenderHomeScreenWithMenu(benchmark::State& state) {
  Ref<UIView> screen = wallpaperScreen();
  addIcons(screen.get());
  addMenu(screen.get());
  for (auto _ : state)
    benchmark::DoNotOptimize(renderView(screen.get(), kScale));
}
BENCHMARK(BM_RenderHomeScreenWithMenu)->Unit(benchmark::kMillisecond);

constexpr const char* kMessage =
    "Your order has shipped and will arrive on Thursday between 9 and 11 in the morning. Track "
    "it in the app, or reply STOP to receive no more messages about this delivery.";

constexpr const char* kTexts[] = {
    "Share App", "Edit Home Screen", "Remove App", "Mail",  "Calendar",
    "Photos",    "Settings",         "App Store",  "Clock", kMessage};

// A layout pass over text alone: the fitting sizes of a menu's rows and icon labels, and of a
// notification's message wrapped to its platter.
void BM_MeasureText(benchmark::State& state) {
  std::vector<Ref<UILabel>> labels;
  for (const char* text : kTexts) {
    labels.push_back(label(text, CGRectMake(0, 0, 300, 20), 15));
    labels.back()->setNumberOfLines(text == kMessage ? 0 : 1);
  }
  for (auto _ : state) {
    for (const Ref<UILabel>& made : labels)
      benchmark::DoNotOptimize(made->sizeThatFits({300, 1000}));
  }
}
BENCHMARK(BM_MeasureText)->Unit(benchmark::kMicrosecond);

// The same with text never measured before (a number each time), as when labels change.
void BM_MeasureNewText(benchmark::State& state) {
  auto made = label("", CGRectMake(0, 0, 300, 20), 15);
  made->setNumberOfLines(0);
  long round = 0;
  for (auto _ : state) {
    ++round;
    for (const char* text : kTexts) {
      made->setText(NSString::from(std::string(text) + " " + std::to_string(round)));
      benchmark::DoNotOptimize(made->sizeThatFits({300, 1000}));
    }
  }
}
BENCHMARK(BM_MeasureNewText)->Unit(benchmark::kMicrosecond);

// Drawing the same text: a notification's message over four lines and a menu's rows, at 3×.
void BM_RenderText(benchmark::State& state) {
  auto card = objc::make<UIView>();
  card->setFrame(CGRectMake(0, 0, 300, 400));
  auto message = label(kMessage, CGRectMake(10, 10, 280, 100), 15);
  message->setNumberOfLines(0);
  card->addSubview(message);
  const char* actions[] = {"Share App", "Edit Home Screen", "Remove App", "Copy", "Open"};
  for (int i = 0; i < 5; ++i)
    card->addSubview(label(actions[i], CGRectMake(16, 120 + 44 * i, 268, 40), 17));
  for (auto _ : state)
    benchmark::DoNotOptimize(renderView(card.get(), kScale));
}
BENCHMARK(BM_RenderText)->Unit(benchmark::kMillisecond);

}  // namespace
