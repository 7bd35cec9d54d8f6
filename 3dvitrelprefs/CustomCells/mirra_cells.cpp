#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>

#include "../MirraBaseController.h"
#include "custom_cells.h"
#include "platform/foundation/background_queue.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/log.h"
#include "platform/uikit/system_colors.h"
#include "platform/uikit/ui_application.h"
#include "platform/uikit/ui_visual_effect_view.h"
#include "platform/uikit/view_extras.h"

namespace {

constexpr const char* kVersionQuery =
    "dpkg -s com.brackwood.quenby | grep -i version | cut -d' ' -f2";
constexpr long kSubtitleStyle = UITableViewCellStyleSubtitle;
constexpr long kUltraThinMaterial = 6;

Ref<PSTableCell> initAsSubtitle(const char* className, PSTableCell* self, SEL cmd,
                                NSString* reuseIdentifier, PSSpecifier* specifier) {
  return objc::msgSendSuper<Ref<PSTableCell>>(objc_getClass(className), self, cmd, kSubtitleStyle,
                                              reuseIdentifier, static_cast<NSObject*>(specifier));
}

// Runs the package query through the shell and returns what it printed (empty on failure).
// The pipe is read to its end before waiting, so a long answer cannot stall the child.
std::string queryVersion() {
  std::array<int, 2> pipeEnds{};
  if (pipe(pipeEnds.data()) != 0) return "";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::array<char*, 4> argv{const_cast<char*>("/bin/sh"), const_cast<char*>("-c"),
                            const_cast<char*>(kVersionQuery), nullptr};
  pid_t child = 0;
  bool started = posix_spawn(&child, "/bin/sh", &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string output;
  std::array<char, 512> chunk{};
  for (ssize_t count; started && (count = read(pipeEnds[0], chunk.data(), chunk.size())) != 0;) {
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) break;
    output.append(chunk.data(), static_cast<size_t>(count));
  }
  close(pipeEnds[0]);
  int status = 0;
  while (started && waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return output;
}

Ref<UILabel> bannerLabel(MirraHeader* self, CGRect frame, Ref<UIFont> font) {
  auto label = objc::make<UILabel>();
  label->setFrame(frame);
  label->setNumberOfLines(1);
  label->setTextAlignment(NSTextAlignmentCenter);
  setFont(label.get(), std::move(font));
  self->contentView()->addSubview(label);
  setAutoresizingMask(label.get(),
                      UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
  return label;
}

Ref<MirraHeader> initHeader(MirraHeader* self, SEL, PSSpecifier* specifier) {
  objc::msgSend<Ref<PSTableCell>>(self, objc::sel("initWithStyle:reuseIdentifier:specifier:"),
                                  long{UITableViewCellStyleDefault}, NSString::from("Banner"),
                                  static_cast<NSObject*>(specifier));
  const bool pad = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
  const double x = pad ? -20 : 0;
  const double width = self->frame().width();
  Ref<UILabel> title = bannerLabel(self, CGRectMake(x, 23, width, 10),
                                   UIFont::fontWithName("HelveticaNeue-Light", 34));
  title->setTextColor(accentColor());
  setAttributedText(
      title.get(),
      NSAttributedString::from("QUENBY", {{0, 4, UIFont::fontWithName("HelveticaNeue", 34)}}));
  Ref<UILabel> version = bannerLabel(self, CGRectMake(x, 55, width, 5),
                                     UIFont::fontWithName("HelveticaNeue-Light", 15));
  version->setTextColor(system_colors::systemGrayColor());
  version->setText(NSString::from("Version unknown"));
  version->setAlpha(0);
  background_queue::async([version] {
    std::string output = queryVersion();
    dispatch_async(dispatch_get_main_queue(), [version, output] {
      if (!output.empty()) version->setText(NSString::from("Version " + output));
      version->setAlpha(1);
    });
  });
  return Ref<MirraHeader>(self);
}

void layOutButton(MirraButton* self, SEL cmd) {
  objc::msgSendSuper<void>(objc_getClass("MirraButton"), self, cmd);
  Ref<NSString> style = self->specifier()
                            ? self->specifier()->properties()->objectForKey<NSString>("style")
                            : nullptr;
  bool disabled = style && style->string() == "disabled";
  self->titleLabel()->setTextColor(disabled ? system_colors::systemGrayColor()
                                            : UIColor::labelColor());
  extrasOf(self->titleLabel()).highlightedTextColor = UIColor::colorWithRed(0.5, 0.6, 0.1, 1.0);
}

Ref<PSTableCell> initSlider(MirraSlider* self, SEL cmd, long, NSString* reuseIdentifier,
                            PSSpecifier* specifier) {
  Ref<PSTableCell> cell = initAsSubtitle("MirraSlider", self, cmd, reuseIdentifier, specifier);
  if (auto* slider = dynamic_cast<UISlider*>(self->control())) {
    slider->setMinimumTrackTintColor(accentColor());
  }
  return cell;
}

Ref<PSTableCell> initToggle(MirraToggle* self, SEL cmd, long, NSString* reuseIdentifier,
                            PSSpecifier* specifier) {
  Ref<PSTableCell> cell = initAsSubtitle("MirraToggle", self, cmd, reuseIdentifier, specifier);
  if (auto* toggle = dynamic_cast<UISwitch*>(self->control()))
    toggle->setOnTintColor(accentColor());
  setFont(self->titleLabel(), UIFont::systemFontOfSize(18));
  auto blur = objc::make<UIVisualEffectView>();
  extrasOf(blur.get()).blurEffectStyle = kUltraThinMaterial;
  blur->setFrame(self->bounds());
  self->insertSubview(blur, 0);
  setAutoresizingMask(blur.get(),
                      UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
  return cell;
}

}  // namespace

void defineMirraCells() {
  objc::Class* cell = objc_getClass("PSTableCell");
  objc::addMethod(objc::defineClass<MirraButton, PSTableCell>("MirraButton", cell),
                  "layoutSubviews", &layOutButton);
  objc::Class* header = objc::defineClass<MirraHeader, PSTableCell>("MirraHeader", cell);
  objc::addMethod(header, "initWithSpecifier:", &initHeader);
  objc::addMethod(header,
                  "preferredHeightForWidth:", [](MirraHeader*, SEL, double) { return 100.0; });
  objc::addMethod(objc::defineClass<MirraSlider, PSSliderTableCell>(
                      "MirraSlider", objc_getClass("PSSliderTableCell")),
                  "initWithStyle:reuseIdentifier:specifier:", &initSlider);
  objc::addMethod(objc::defineClass<MirraToggle, PSSwitchTableCell>(
                      "MirraToggle", objc_getClass("PSSwitchTableCell")),
                  "initWithStyle:reuseIdentifier:specifier:", &initToggle);
}

HostedViewController* controllerToPresentFrom(UIView* view) {
  HostedViewController* controller = viewControllerOwning(view);
  if (!controller) {
    for (const Ref<UIWindow>& window : UIApplication::sharedApplication()->windows()) {
      if (window->isKeyWindow()) {
        controller = window->rootViewController();
        break;
      }
    }
  }
  while (controller && controller->presentedViewController()) {
    controller = controller->presentedViewController();
  }
  return controller;
}

float parsedFloat(const NSString* text) {
  float value = text ? text->floatValue() : 0;
  return std::isnan(value) ? 0 : value;
}
