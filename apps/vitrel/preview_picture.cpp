#include "apps/vitrel/preview_picture.h"

#include "platform/graphics/png.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"

namespace {

constexpr double kMargin = 40, kCaptionHeight = 44, kScreenCornerRadius = 47;

// The screen as an image view with the device's rounded corners.
Ref<UIImageView> screenView(const Panel& panel, CGPoint origin) {
  auto screen = objc::make<UIImageView>();
  screen->setImage(panel.screen);
  screen->setFrame({origin, panel.size});
  screen->layer()->setCornerRadius(kScreenCornerRadius);
  screen->setClipsToBounds(true);
  return screen;
}

Ref<UILabel> caption(const std::string& text, const CGRect& frame) {
  auto label = objc::make<UILabel>();
  label->setText(NSString::from(text));
  label->setFontSize(20);
  label->setTextAlignment(NSTextAlignmentCenter);
  label->setTextColor(UIColor::colorWithWhite(0.92, 1));
  label->setFrame(frame);
  return label;
}

}  // namespace

Panel drawPanel(const UIView* window, double scale, std::string caption) {
  return {UIImage::imageWithBitmap(renderView(window, scale), scale), window->bounds().size,
          std::move(caption)};
}

Result<void> writePreviewPicture(const std::vector<Panel>& panels, double scale,
                                 const std::filesystem::path& output) {
  auto card = objc::make<UIView>();
  card->setBackgroundColor(UIColor::colorWithRed(0.11, 0.12, 0.14, 1));
  double x = kMargin, height = 0;
  for (const Panel& panel : panels) {
    const CGSize size = panel.size;
    card->addSubview(screenView(panel, {x, kMargin}));
    card->addSubview(caption(
        panel.caption, CGRectMake(x, kMargin + size.height + 8, size.width, kCaptionHeight - 8)));
    x += size.width + kMargin;
    height = std::max(height, size.height);
  }
  card->setFrame(CGRectMake(0, 0, x, height + 2 * kMargin + kCaptionHeight));
  Bitmap picture = renderView(card.get(), scale);
  if (picture.empty()) return Result<void>::failure("the picture would be too large to draw");
  return writePNG(picture, output);
}

Result<void> writeScreenPicture(UIView* window, double scale, const std::filesystem::path& output) {
  Bitmap picture = renderView(window, scale);
  if (picture.empty()) return Result<void>::failure("the screen would be too large to draw");
  return writePNG(picture, output);
}
