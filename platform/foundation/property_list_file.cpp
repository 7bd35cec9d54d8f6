#include "platform/foundation/file_io.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"

namespace fs = std::filesystem;

namespace {

std::string kindOf(const NSObject* object) {
  if (auto* number = dynamic_cast<const NSNumber*>(object)) {
    return number->isBoolean() ? "a boolean" : "a number";
  }
  if (dynamic_cast<const NSString*>(object)) return "a string";
  if (dynamic_cast<const NSData*>(object)) return "data";
  if (dynamic_cast<const NSDate*>(object)) return "a date";
  if (dynamic_cast<const NSArray*>(object)) return "an array";
  return std::string("an object of class ") + class_getName(object_getClass(object));
}

}  // namespace

Result<Ref<NSObject>> readPropertyList(const fs::path& path) {
  using R = Result<Ref<NSObject>>;
  Result<std::string> bytes = readFileBytes(path, kPropertyListMaxBytes);
  if (!bytes) return R::failure(bytes.error());
  R parsed = parsePropertyList(bytes.value());
  if (!parsed) return R::failure("cannot read '" + path.string() + "': " + parsed.error());
  return parsed;
}

Result<Ref<NSDictionary>> readPropertyListDictionary(const fs::path& path) {
  using R = Result<Ref<NSDictionary>>;
  Result<Ref<NSObject>> root = readPropertyList(path);
  if (!root) return R::failure(root.error());
  Ref<NSDictionary> dictionary(dynamic_cast<NSDictionary*>(root.value().get()));
  if (!dictionary) {
    return R::failure("cannot read '" + path.string() + "': its root is " +
                      kindOf(root.value().get()) + ", not a dictionary");
  }
  return dictionary;
}

Ref<NSDictionary> dictionaryWithContentsOfFile(const fs::path& path) {
  try {
    return readPropertyListDictionary(path).valueOr(nullptr);
  } catch (...) {
    return nullptr;  // out of memory: nil is this call's only way to say it failed
  }
}

Result<void> writePropertyListAtomically(const NSObject* root, const fs::path& path) {
  Result<std::string> xml = xmlPropertyList(root);
  if (!xml) return Result<void>::failure("cannot write '" + path.string() + "': " + xml.error());
  if (xml.value().size() > kPropertyListMaxBytes) {
    return Result<void>::failure("cannot write '" + path.string() +
                                 "': the property list would be larger than 16 MiB and could not "
                                 "be read back");
  }
  return writeFileAtomically(path, xml.value());
}
