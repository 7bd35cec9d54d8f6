#include "apps/vitrel/view_tree_json.h"

#include <set>

#include "platform/uikit/ui_collection_view.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_visual_effect_view.h"

Json rectJson(const CGRect& rect) {
  return {{"x", rect.origin.x},
          {"y", rect.origin.y},
          {"width", rect.size.width},
          {"height", rect.size.height}};
}

namespace {

// The layer's own styling, and the sublayers that are not a subview's layer.
Json layerJson(const CALayer* layer, const std::set<const CALayer*>& viewLayers) {
  Json json = {{"cornerRadius", layer->cornerRadius()},
               {"masksToBounds", layer->masksToBounds()},
               {"borderWidth", layer->borderWidth()},
               {"borderColor", colorJson(layer->borderColor())},
               {"contentsMultiplyColor", colorJson(layer->contentsMultiplyColor())}};
  if (layer->shadowOpacity() > 0) {
    json["shadow"] = {{"color", colorJson(layer->shadowColor())},
                      {"opacity", layer->shadowOpacity()},
                      {"radius", layer->shadowRadius()}};
  }
  Json sublayers = Json::array();
  for (const auto& sublayer : layer->sublayers()) {
    if (viewLayers.contains(sublayer.get())) continue;
    Json plain = {{"frame", rectJson(sublayer->frame())},
                  {"hidden", sublayer->isHidden()},
                  {"opacity", sublayer->opacity()},
                  {"backgroundColor", colorJson(sublayer->backgroundColor())}};
    plain.update(layerJson(sublayer.get(), viewLayers));
    sublayers.push_back(std::move(plain));
  }
  json["sublayers"] = std::move(sublayers);
  return json;
}

void addKindSpecifics(UIView* view, Json& json) {
  if (auto* reusable = dynamic_cast<UICollectionReusableView*>(view)) {
    NSString* identifier = reusable->reuseIdentifier();
    json["reuseIdentifier"] = identifier ? Json(identifier->string()) : Json(nullptr);
  }
  if (auto* label = dynamic_cast<UILabel*>(view)) {
    const bool dark = view->traitCollection()->userInterfaceStyle() == UIUserInterfaceStyleDark;
    json["text"] = label->text() ? Json(label->text()->string()) : Json(nullptr);
    json["textColor"] =
        label->textColor() ? colorJson(label->textColor()->resolvedColor(dark)) : Json(nullptr);
  }
  if (auto* backdrop = dynamic_cast<VisualEffectBackdropView*>(view)) {
    json["renderMode"] = backdrop->renderMode();
  }
}

}  // namespace

Json viewTreeJson(UIView* view) {
  Ref<NSString> description = objc::msgSend<Ref<NSString>>(view, objc::sel("description"));
  Json json = {{"class", class_getName(object_getClass(view))},
               {"description", description ? description->string() : ""},
               {"frame", rectJson(view->frame())},
               {"hidden", view->isHidden()},
               {"alpha", view->alpha()},
               {"backgroundColor", colorJson(view->backgroundColor().get())},
               {"clipsToBounds", view->clipsToBounds()}};
  addKindSpecifics(view, json);
  std::set<const CALayer*> viewLayers;
  for (const auto& subview : view->subviews())
    viewLayers.insert(subview->layer());
  json["layer"] = layerJson(view->layer(), viewLayers);
  Json subviews = Json::array();
  for (const auto& subview : view->subviews())
    subviews.push_back(viewTreeJson(subview.get()));
  json["subviews"] = std::move(subviews);
  return json;
}
