#pragma once

#include "platform/runtime/runtime.h"

// Each Foundation file defines its own classes and their runtime methods; classes.cpp calls
// these once, when the library is loaded, in superclass order.
namespace foundation_classes {
objc::Class* defineNSObject();
void defineKeyValueCoding(objc::Class* root);
void defineValueClasses(objc::Class* root);
void defineCollectionClasses(objc::Class* root);
void defineProcessInfo(objc::Class* root);
void defineNotificationCenter(objc::Class* root);
void defineUserDefaults(objc::Class* root);
}  // namespace foundation_classes
