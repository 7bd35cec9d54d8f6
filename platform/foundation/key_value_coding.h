#pragma once

#include <string_view>

#include "platform/foundation/ns_object.h"

// Key-value coding, the platform's way: `setValue:forKey:` calls the setter `setKey:` and
// `valueForKey:` the getter `key` (or `isKey`), both found through the runtime, unboxing and
// boxing booleans and numbers for scalar accessors. A key without accessors raises
// NSUnknownKeyException; nil for a scalar raises NSInvalidArgumentException. Both are NSObject
// methods; these helpers send them.
void setValueForKey(NSObject* object, NSObject* value, std::string_view key);
Ref<NSObject> valueForKey(NSObject* object, std::string_view key);
