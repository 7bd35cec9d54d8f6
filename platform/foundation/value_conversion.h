#pragma once

#include <cstdint>

#include "platform/foundation/ns_object.h"

// The platform's conversions of a stored value, as settings readers use them: numbers and
// strings convert (a number is true when non-zero; a string by its leading text), every other
// object and nil give false or zero instead of failing.
bool boolValueOf(const NSObject* object);
float floatValueOf(const NSObject* object);
double doubleValueOf(const NSObject* object);
int64_t longLongValueOf(const NSObject* object);
