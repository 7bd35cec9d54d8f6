#pragma once

#include "platform/runtime/class.h"

// Replaces the implementation of sel on cls and hands back, through `previous` (may be null),
// the implementation that was in place: cls's own, or the one cls inherited at this moment, in
// which case the replacement is added to cls alone and the superclass is unchanged. A null
// class, or a selector cls does not respond to, installs nothing and leaves `previous` as it
// was. The replacement must have the type of the method it replaces; otherwise nothing is
// installed and the refusal is reported.
void MSHookMessageEx(objc::Class* cls, SEL sel, objc::Imp replacement, objc::Imp* previous);
