#pragma once

#include "platform/foundation/ns_object.h"
#include "platform/runtime/runtime.h"

// Stands between the library and the host's implementation of one replaced method (install it
// before the library loads), so a test sees that a call through the library reached the host;
// with `raises` set, the host raises as the host itself might. Row tells recorders apart.
template <int Row, class R, class... Args>
struct HostRecorder {
  static inline objc::Imp host;
  static inline int calls = 0;
  static inline bool raises = false;
  static R record(NSObject* self, SEL cmd, Args... args) {
    ++calls;
    if (raises) throw objc::Exception("NSGenericException", "the host's own failure");
    return host.call<R>(self, cmd, args...);
  }
  static void install(const char* cls, const char* selector) {
    MSHookMessageEx(objc_getClass(cls), objc::sel(selector), objc::Imp::of(&record), &host);
  }
};
