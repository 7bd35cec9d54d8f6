#include "platform/foundation/property_list.h"

#include <plist/plist.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "platform/foundation/internal/property_list_checks.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

using property_list_internal::bigEndian;
using property_list_internal::excerpt;

namespace {

struct PlistFree {
  void operator()(void* node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;
// Strings, keys and iterators that libplist hands out come from malloc and go back to free.
struct CFree {
  void operator()(void* memory) const { std::free(memory); }
};
using CString = std::unique_ptr<char, CFree>;
struct XmlFree {
  void operator()(char* xml) const { plist_to_xml_free(xml); }
};
struct BinFree {
  void operator()(char* bin) const { plist_to_bin_free(bin); }
};

std::string tooDeep() {
  return "nested deeper than " + std::to_string(kPropertyListMaxDepth) + " levels";
}

// --- From libplist's nodes to objects.

// The exact date: plist_get_date_val splits it into seconds and microseconds in a way that
// loses the sign between -1 and 0, while the binary form holds it whole.
double dateSeconds(plist_t node) {
  char* raw = nullptr;
  uint32_t length = 0;
  plist_to_bin(node, &raw, &length);
  std::unique_ptr<char, BinFree> bin(raw);
  std::string_view bytes(raw ? raw : "", raw ? length : 0);
  if (bytes.size() >= 17 && static_cast<uint8_t>(bytes[8]) == 0x33) {
    return std::bit_cast<double>(bigEndian(bytes, 9, 8));
  }
  int32_t seconds = 0, microseconds = 0;
  plist_get_date_val(node, &seconds, &microseconds);
  return seconds + microseconds / 1e6;
}

Ref<NSObject> integerFrom(plist_t node) {
  uint64_t value = 0;
  plist_get_uint_val(node, &value);
  if (value <= uint64_t{std::numeric_limits<int64_t>::max()}) {
    return NSNumber::numberWithLongLong(static_cast<int64_t>(value));
  }
  // libplist has no signed integers: a negative one is kept as its two's complement, and only
  // a value read as a 16-byte (or over INT64_MAX) integer is marked unsigned. A node made from
  // the bare value is of the first kind, and comparison tells the two apart.
  PlistPtr signedKind(plist_new_uint(value));
  if (plist_compare_node_value(node, signedKind.get())) {
    return NSNumber::numberWithLongLong(static_cast<int64_t>(value));
  }
  return NSNumber::numberWithUnsignedLongLong(value);
}

Result<Ref<NSObject>> objectFrom(plist_t node, int depth) {
  using R = Result<Ref<NSObject>>;
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t value = 0;
      plist_get_bool_val(node, &value);
      return Ref<NSObject>(NSNumber::numberWithBool(value != 0));
    }
    case PLIST_UINT:
      return integerFrom(node);
    case PLIST_UID: {
      uint64_t value = 0;
      plist_get_uid_val(node, &value);
      return Ref<NSObject>(NSNumber::numberWithUnsignedLongLong(value));
    }
    case PLIST_REAL: {
      double value = 0;
      plist_get_real_val(node, &value);
      return Ref<NSObject>(NSNumber::numberWithDouble(value));
    }
    case PLIST_STRING: {
      char* raw = nullptr;
      plist_get_string_val(node, &raw);
      CString text(raw);
      return Ref<NSObject>(NSString::from(raw ? raw : ""));
    }
    case PLIST_DATA: {
      char* raw = nullptr;
      uint64_t length = 0;
      plist_get_data_val(node, &raw, &length);
      CString bytes(raw);
      auto* first = reinterpret_cast<const uint8_t*>(raw);
      return Ref<NSObject>(
          NSData::from(raw ? std::vector<uint8_t>(first, first + length) : std::vector<uint8_t>()));
    }
    case PLIST_DATE:
      return Ref<NSObject>(NSDate::dateWithTimeIntervalSinceReferenceDate(dateSeconds(node)));
    case PLIST_ARRAY:
    case PLIST_DICT:
      break;
    default:
      return R::failure("the property list holds a value of an unknown type");
  }
  if (depth >= kPropertyListMaxDepth) {
    return R::failure(tooDeep());
  }
  if (plist_get_node_type(node) == PLIST_ARRAY) {
    plist_array_iter rawIterator = nullptr;
    plist_array_new_iter(node, &rawIterator);
    std::unique_ptr<void, CFree> iterator(rawIterator);
    NSArray::Objects objects;
    objects.reserve(plist_array_get_size(node));
    for (;;) {
      plist_t item = nullptr;
      plist_array_next_item(node, rawIterator, &item);
      if (!item) break;
      R converted = objectFrom(item, depth + 1);
      if (!converted) return converted;
      objects.push_back(std::move(converted).value());
    }
    return Ref<NSObject>(NSArray::from(std::move(objects)));
  }
  plist_dict_iter rawIterator = nullptr;
  plist_dict_new_iter(node, &rawIterator);
  std::unique_ptr<void, CFree> iterator(rawIterator);
  NSDictionary::Entries entries;
  for (;;) {
    char* rawKey = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(node, rawIterator, &rawKey, &value);
    CString key(rawKey);
    if (!key) break;
    if (!value) continue;
    R converted = objectFrom(value, depth + 1);
    if (!converted) return converted;
    // A repeated key keeps its last value, as later entries override earlier ones.
    entries.insert_or_assign(std::string(key.get()), std::move(converted).value());
  }
  return Ref<NSObject>(NSDictionary::from(std::move(entries)));
}

// --- From objects to libplist's nodes.

// libplist makes every integer it is given of the signed kind (UINT64_MAX would be written as
// -1); only its readers make the unsigned kind, so a large value is read into being.
PlistPtr unsignedNode(uint64_t value) {
  std::string xml =
      "<plist version=\"1.0\"><integer>" + std::to_string(value) + "</integer></plist>";
  plist_t node = nullptr;
  plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &node);
  return PlistPtr(node);
}

std::string className(const NSObject* object) {
  const char* name = class_getName(object_getClass(object));
  return name ? name : "?";
}

Result<PlistPtr> nodeFrom(const NSObject* object, int depth) {
  using R = Result<PlistPtr>;
  if (!object) return R::failure("a property list cannot hold nil");
  if (auto* number = dynamic_cast<const NSNumber*>(object)) {
    if (number->isBoolean()) return PlistPtr(plist_new_bool(number->boolValue()));
    if (number->isReal()) return PlistPtr(plist_new_real(number->doubleValue()));
    if (std::string_view(number->objCType()) == "Q" &&
        number->unsignedLongLongValue() > uint64_t{std::numeric_limits<int64_t>::max()}) {
      PlistPtr node = unsignedNode(number->unsignedLongLongValue());
      if (!node) return R::failure("libplist could not make an unsigned integer");
      return node;
    }
    return PlistPtr(plist_new_uint(static_cast<uint64_t>(number->longLongValue())));
  }
  if (auto* string = dynamic_cast<const NSString*>(object)) {
    if (string->string().find('\0') != std::string::npos) {
      return R::failure("string " + excerpt(string->string()) + " holds a NUL character");
    }
    return PlistPtr(plist_new_string(string->UTF8String()));
  }
  if (auto* data = dynamic_cast<const NSData*>(object)) {
    static const char kNoBytes = 0;
    const char* bytes =
        data->length() ? reinterpret_cast<const char*>(data->bytes().data()) : &kNoBytes;
    return PlistPtr(plist_new_data(bytes, data->length()));
  }
  if (auto* date = dynamic_cast<const NSDate*>(object)) {
    double seconds = std::floor(date->timeIntervalSinceReferenceDate());
    if (!(seconds >= std::numeric_limits<int32_t>::min() &&
          seconds <= std::numeric_limits<int32_t>::max())) {
      return R::failure("date " + date->descriptionText() +
                        " is outside the years 1932 to 2069 that XML dates can hold");
    }
    return PlistPtr(plist_new_date(static_cast<int32_t>(seconds), 0));
  }
  bool array = dynamic_cast<const NSArray*>(object) != nullptr;
  auto* dictionary = dynamic_cast<const NSDictionary*>(object);
  if (!array && !dictionary) {
    return R::failure("a property list cannot hold an object of class " + className(object));
  }
  if (depth >= kPropertyListMaxDepth) {
    return R::failure(tooDeep() + " (a collection may contain itself)");
  }
  if (array) {
    PlistPtr node(plist_new_array());
    for (const Ref<NSObject>& item : *static_cast<const NSArray*>(object)) {
      R child = nodeFrom(item.get(), depth + 1);
      if (!child) return child;
      plist_array_append_item(node.get(), std::move(child).value().release());
    }
    return node;
  }
  PlistPtr node(plist_new_dict());
  for (const auto& [key, value] : dictionary->entries()) {
    if (key.find('\0') != std::string::npos) {
      return R::failure("key " + excerpt(key) + " holds a NUL character");
    }
    R child = nodeFrom(value.get(), depth + 1);
    if (!child) return child;
    plist_dict_set_item(node.get(), key.c_str(), std::move(child).value().release());
  }
  return node;
}

bool equalAtDepth(const NSObject* a, const NSObject* b, int depth) {
  if (a == b) return true;
  if (!a || !b || depth > kPropertyListMaxDepth) return false;
  if (auto* x = dynamic_cast<const NSNumber*>(a)) {
    auto* y = dynamic_cast<const NSNumber*>(b);
    if (!y || x->isBoolean() != y->isBoolean() || x->isReal() != y->isReal()) return false;
    if (x->isReal() && std::isnan(x->doubleValue())) return std::isnan(y->doubleValue());
    return x->isEqualToNumber(y);
  }
  if (auto* x = dynamic_cast<const NSString*>(a)) {
    return x->isEqualToString(dynamic_cast<const NSString*>(b));
  }
  if (auto* x = dynamic_cast<const NSData*>(a)) {
    return x->isEqualToData(dynamic_cast<const NSData*>(b));
  }
  if (auto* x = dynamic_cast<const NSDate*>(a)) {
    return x->isEqualToDate(dynamic_cast<const NSDate*>(b));
  }
  if (auto* x = dynamic_cast<const NSArray*>(a)) {
    auto* y = dynamic_cast<const NSArray*>(b);
    return y && x->count() == y->count() &&
           std::equal(x->begin(), x->end(), y->begin(), [&](const auto& p, const auto& q) {
             return equalAtDepth(p.get(), q.get(), depth + 1);
           });
  }
  if (auto* x = dynamic_cast<const NSDictionary*>(a)) {
    auto* y = dynamic_cast<const NSDictionary*>(b);
    return y && x->count() == y->count() &&
           std::equal(x->entries().begin(), x->entries().end(), y->entries().begin(),
                      [&](const auto& p, const auto& q) {
                        return p.first == q.first &&
                               equalAtDepth(p.second.get(), q.second.get(), depth + 1);
                      });
  }
  return false;
}

}  // namespace

Result<Ref<NSObject>> parsePropertyList(std::string_view bytes) {
  using R = Result<Ref<NSObject>>;
  if (bytes.size() > kPropertyListMaxBytes) {
    return R::failure("the property list is larger than 16 MiB");
  }
  // A byte-order mark or white space before the document is allowed. libplist gets a copy that
  // ends in NUL, so none of its string scans can run past the input.
  std::string_view body = bytes;
  if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
  body.remove_prefix(std::min(body.size(), body.find_first_not_of(" \t\r\n")));
  if (body.empty()) return R::failure("the property list is empty");
  std::string copy(body);
  plist_t root = nullptr;
  if (body.starts_with("bplist")) {
    if (!body.starts_with("bplist00")) {
      return R::failure("binary property list version " + excerpt(body.substr(6, 2)) +
                        " is not supported");
    }
    if (auto problem = property_list_internal::binaryProblem(body)) return R::failure(*problem);
    plist_from_bin(copy.data(), static_cast<uint32_t>(copy.size()), &root);
    if (!root) return R::failure("the binary property list is malformed");
  } else if (body.starts_with("<")) {
    if (auto problem = property_list_internal::xmlProblem(body)) return R::failure(*problem);
    plist_from_xml(copy.data(), static_cast<uint32_t>(copy.size()), &root);
    if (!root) return R::failure("the XML property list is malformed");
  } else {
    return R::failure("not a property list (neither XML nor binary)");
  }
  PlistPtr tree(root);
  return objectFrom(tree.get(), 0);
}

Result<std::string> xmlPropertyList(const NSObject* root) {
  Result<PlistPtr> tree = nodeFrom(root, 0);
  if (!tree) return Result<std::string>::failure(tree.error());
  char* raw = nullptr;
  uint32_t length = 0;
  plist_to_xml(tree.value().get(), &raw, &length);
  std::unique_ptr<char, XmlFree> xml(raw);
  if (!raw) return Result<std::string>::failure("libplist could not write the XML");
  return std::string(raw, length);
}

bool propertyListsEqual(const NSObject* a, const NSObject* b) {
  return equalAtDepth(a, b, 0);
}
