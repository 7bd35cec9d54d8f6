#include "apps/vitrel/page_json.h"

namespace {

using namespace page_model;

template <class T, class Convert>
Json optionalJson(const std::optional<T>& value, Convert convert) {
  return value ? convert(*value) : Json(nullptr);
}

Json optionalJson(const std::optional<std::string>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json channelsJson(const Channels& color) {
  return {{"r", color.red}, {"g", color.green}, {"b", color.blue}, {"a", color.alpha}};
}

// A dynamic colour carries its dark style's value as "dark".
Json rgbaJson(const Rgba& color) {
  Json json = channelsJson(color);
  if (color.dark) json["dark"] = channelsJson(*color.dark);
  return json;
}

Json fontJson(const Font& font) {
  return {{"name", font.name},
          {"size", font.size},
          {"weight", font.weight},
          {"monospacedDigits", font.monospacedDigits}};
}

Json rectJson(const CGRect& rect) {
  return {{"x", rect.origin.x},
          {"y", rect.origin.y},
          {"width", rect.size.width},
          {"height", rect.size.height}};
}

class Converter {
 public:
  explicit Converter(const ImageUrl& imageUrl) : imageUrl_(imageUrl) {}

  Json page(const Page& page) const {
    Json sections = Json::array();
    for (const Section& section : page.sections)
      sections.push_back(sectionJson(section));
    return {{"controllerClass", page.controllerClass},
            {"title", page.title},
            {"depth", page.depth},
            {"canGoBack", page.canGoBack},
            {"width", page.width},
            {"barTint", optionalJson(page.barTint, rgbaJson)},
            {"titleView", maybe(page.titleView, &Converter::viewJson)},
            {"tableHeader", maybe(page.tableHeader, &Converter::viewJson)},
            {"sections", std::move(sections)},
            {"alert", optionalJson(page.alert, alertJson)},
            {"sheet", maybe(page.sheet, &Converter::sheetJson)}};
  }

 private:
  template <class T>
  Json maybe(const std::optional<T>& value, Json (Converter::*convert)(const T&) const) const {
    return value ? (this->*convert)(*value) : Json(nullptr);
  }

  Json imageJson(const Image& image) const {
    const bool symbol = image.source.starts_with("symbol:");
    return {{"url", symbol ? Json(image.source) : optionalJson(imageUrl_(image.source))},
            {"width", image.width},
            {"height", image.height},
            {"original", image.original}};
  }

  Json controlJson(const Control& control) const {
    static constexpr const char* kKinds[] = {"button", "slider", "toggle", "segments"};
    Json segments = Json::array();
    for (const Segment& segment : control.segments) {
      segments.push_back(
          {{"title", segment.title}, {"image", maybe(segment.image, &Converter::imageJson)}});
    }
    return {{"kind", kKinds[static_cast<int>(control.kind)]},
            {"enabled", control.enabled},
            {"buttonType", control.buttonType},
            {"on", control.on},
            {"value", control.value},
            {"minimum", control.minimum},
            {"maximum", control.maximum},
            {"selectedIndex", control.selectedIndex},
            {"segments", std::move(segments)},
            {"onTint", optionalJson(control.onTint, rgbaJson)},
            {"thumbTint", optionalJson(control.thumbTint, rgbaJson)},
            {"minimumTrackTint", optionalJson(control.minimumTrackTint, rgbaJson)}};
  }

  Json viewJson(const ViewNode& node) const {
    Json runs = Json::array();
    for (const FontRun& run : node.fontRuns) {
      runs.push_back(
          {{"location", run.location}, {"length", run.length}, {"font", fontJson(run.font)}});
    }
    Json subviews = Json::array();
    for (const ViewNode& subview : node.subviews)
      subviews.push_back(viewJson(subview));
    return {
        {"id", node.id},
        {"className", node.className},
        {"frame", rectJson(node.frame)},
        {"alpha", node.alpha},
        {"hidden", node.hidden},
        {"clipsToBounds", node.clipsToBounds},
        {"cornerRadius", node.cornerRadius},
        {"backgroundColor", optionalJson(node.backgroundColor, rgbaJson)},
        {"tintColor", rgbaJson(node.tintColor)},
        {"contentMode", node.contentMode},
        {"text", optionalJson(node.text)},
        {"font", optionalJson(node.font, fontJson)},
        {"textColor", optionalJson(node.textColor, rgbaJson)},
        {"highlightedTextColor", optionalJson(node.highlightedTextColor, rgbaJson)},
        {"textAlignment", node.textAlignment},
        {"numberOfLines", node.numberOfLines},
        {"fontRuns", std::move(runs)},
        {"placeholder", optionalJson(node.placeholder)},
        {"editable", node.editable},
        {"blurEffectStyle", node.blurEffectStyle ? Json(*node.blurEffectStyle) : Json()},
        {"image", maybe(node.image, &Converter::imageJson)},
        {"control", optionalJson(node.control,
                                 [this](const Control& control) { return controlJson(control); })},
        {"tappable", node.tappable},
        {"subviews", std::move(subviews)}};
  }

  Json sectionJson(const Section& section) const {
    Json rows = Json::array();
    for (const Row& row : section.rows) {
      rows.push_back({{"specifierIdentifier", row.specifierIdentifier},
                      {"label", row.label},
                      {"cellType", row.cellType},
                      {"cellClass", row.cellClass},
                      {"height", row.height},
                      {"opensPage", row.opensPage},
                      {"isButton", row.isButton},
                      {"cell", viewJson(row.cell)}});
    }
    return {{"groupLabel", optionalJson(section.groupLabel)},
            {"footerText", optionalJson(section.footerText)},
            {"headerView", maybe(section.headerView, &Converter::viewJson)},
            {"headerHeight", section.headerHeight},
            {"rows", std::move(rows)}};
  }

  static Json alertJson(const Alert& alert) {
    Json fields = Json::array();
    for (const AlertField& field : alert.fields) {
      fields.push_back({{"text", field.text},
                        {"placeholder", field.placeholder},
                        {"textColor", optionalJson(field.textColor, rgbaJson)},
                        {"keyboardType", field.keyboardType}});
    }
    Json actions = Json::array();
    for (const AlertAction& action : alert.actions)
      actions.push_back({{"title", action.title}, {"style", action.style}});
    return {{"title", optionalJson(alert.title)},
            {"message", optionalJson(alert.message)},
            {"style", alert.style},
            {"fields", std::move(fields)},
            {"actions", std::move(actions)}};
  }

  Json sheetJson(const Sheet& sheet) const {
    Json items = Json::array();
    for (const SheetItem& item : sheet.items) {
      items.push_back({{"title", item.title},
                       {"description", item.description},
                       {"image", maybe(item.image, &Converter::imageJson)}});
    }
    return {{"title", sheet.title},
            {"detailText", sheet.detailText},
            {"icon", maybe(sheet.icon, &Converter::imageJson)},
            {"items", std::move(items)},
            {"tint", optionalJson(sheet.tint, rgbaJson)},
            {"backdropStyle", sheet.backdropStyle ? Json(*sheet.backdropStyle) : Json()},
            {"clearBackground", sheet.clearBackground},
            {"presentationStyle", sheet.presentationStyle}};
  }

  const ImageUrl& imageUrl_;
};

}  // namespace

Json pageJson(const Page& page, const ImageUrl& imageUrl) {
  return Converter(imageUrl).page(page);
}
