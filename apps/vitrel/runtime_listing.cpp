#include "apps/vitrel/runtime_listing.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/runtime/runtime.h"

namespace {

constexpr size_t kMostCloseNames = 5;
constexpr size_t kMostLettersOff = 2;

std::vector<ClassListing::Method> sortedMethods(const objc::Class* cls) {
  std::vector<ClassListing::Method> methods;
  for (const objc::Method* method : class_copyMethodList(cls))
    methods.push_back({sel_getName(method_getName(method)), method_getTypeEncoding(method)});
  std::sort(methods.begin(), methods.end(),
            [](const auto& a, const auto& b) { return a.selector < b.selector; });
  return methods;
}

ClassListing listingOf(objc::Class* cls) {
  ClassListing listing{class_getName(cls),
                       std::nullopt,
                       sortedMethods(object_getClass(cls)),
                       sortedMethods(cls),
                       {}};
  if (objc::Class* superclass = class_getSuperclass(cls)) {
    listing.superclass = class_getName(superclass);
  }
  for (const objc::Property* property : class_copyPropertyList(cls))
    listing.properties.push_back({property_getName(property), property_getAttributes(property)});
  return listing;
}

Json methodsJson(const std::vector<ClassListing::Method>& methods) {
  Json list = Json::array();
  for (const auto& method : methods)
    list.push_back({{"selector", method.selector}, {"types", method.types}});
  return list;
}

std::vector<ClassListing::Method> methodsFromJson(const Json& list) {
  std::vector<ClassListing::Method> methods;
  for (const Json& method : list)
    methods.push_back(
        {method.at("selector").get<std::string>(), method.at("types").get<std::string>()});
  return methods;
}

void appendMethods(std::string& text, char kind, const std::vector<ClassListing::Method>& methods) {
  for (const auto& method : methods)
    text += std::string(1, kind) + " " + method.selector + "  " + method.types + "\n";
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char letter) { return std::tolower(letter); });
  return text;
}

// Letters to insert, remove or change to turn one text into the other.
size_t lettersApart(const std::string& from, const std::string& to) {
  std::vector<size_t> row(to.size() + 1);
  for (size_t j = 0; j <= to.size(); ++j)
    row[j] = j;
  for (size_t i = 1; i <= from.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= to.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (from[i - 1] != to[j - 1])});
      diagonal = above;
    }
  }
  return row[to.size()];
}

}  // namespace

std::vector<ClassListing> listRuntimeClasses() {
  std::vector<ClassListing> listings;
  for (objc::Class* cls : objc_copyClassList())
    listings.push_back(listingOf(cls));
  std::sort(listings.begin(), listings.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  return listings;
}

Json listingJson(const ClassListing& listing) {
  Json properties = Json::array();
  for (const auto& property : listing.properties)
    properties.push_back({{"name", property.name}, {"attributes", property.attributes}});
  return {{"name", listing.name},
          {"superclass", listing.superclass ? Json(*listing.superclass) : Json(nullptr)},
          {"classMethods", methodsJson(listing.classMethods)},
          {"instanceMethods", methodsJson(listing.instanceMethods)},
          {"properties", properties}};
}

Result<ClassListing> listingFromJson(const Json& json) {
  try {
    ClassListing listing{json.at("name").get<std::string>(),
                         std::nullopt,
                         methodsFromJson(json.at("classMethods")),
                         methodsFromJson(json.at("instanceMethods")),
                         {}};
    if (!json.at("superclass").is_null())
      listing.superclass = json.at("superclass").get<std::string>();
    for (const Json& property : json.at("properties"))
      listing.properties.push_back(
          {property.at("name").get<std::string>(), property.at("attributes").get<std::string>()});
    return listing;
  } catch (const Json::exception& error) {
    return Result<ClassListing>::failure(std::string("not a class listing: ") + error.what());
  }
}

std::string listingText(const ClassListing& listing) {
  std::string text = "@interface " + listing.name;
  if (listing.superclass) text += " : " + *listing.superclass;
  text += "\n";
  for (const auto& property : listing.properties)
    text += "@property " + property.name + "  " + property.attributes + "\n";
  appendMethods(text, '+', listing.classMethods);
  appendMethods(text, '-', listing.instanceMethods);
  return text + "@end\n";
}

std::vector<std::string> closeNames(const std::string& name,
                                    const std::vector<ClassListing>& classes) {
  const std::string wanted = lowered(name);
  std::vector<std::pair<size_t, std::string>> close;
  for (const ClassListing& listing : classes) {
    const std::string candidate = lowered(listing.name);
    const size_t apart = lettersApart(wanted, candidate);
    if (apart <= kMostLettersOff || candidate.find(wanted) != std::string::npos) {
      close.emplace_back(apart, listing.name);
    }
  }
  std::sort(close.begin(), close.end());
  std::vector<std::string> names;
  for (size_t i = 0; i < close.size() && i < kMostCloseNames; ++i)
    names.push_back(close[i].second);
  return names;
}
