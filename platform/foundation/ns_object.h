#pragma once

#include <string>

#include "platform/runtime/runtime.h"

// The root class. Its storage is the runtime's Object; its methods (description,
// respondsToSelector:, isKindOfClass:, class, key-value coding) are runtime methods, so hosts and
// hooks reach them by message as on the platform.
using NSObject = objc::Object;

template <class T>
using Ref = objc::Ref<T>;

class NSString;

// The object's `description`, sent through the runtime; "(null)" for nil.
std::string describe(const NSObject* object);

// The default description, "<ClassName: 0x…>"; subclasses extend it ("<UIView: 0x…; frame…>").
std::string defaultDescription(const NSObject* object);
