#pragma once

#include <optional>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "platform/runtime/runtime.h"

// The hook boundary: no exception leaves the library into the host. The library's methods run
// inside the host's own calls, which have no handler for what the library throws (on the phone
// an exception out of a hook ends the home screen), and a send whose types do not match the
// host's method throws. So every method the hook table installs is wrapped here:
// - an exception out of the library's own code stops at the boundary and is logged ("ZQK …");
// - a replacement then answers what the host's implementation answers: the answer it already
//   gave in this call, or else the host's implementation, called then;
// - an added method answers its zero value (nil, NO, 0), as a message to nil does;
// - an exception out of the host's own implementation is the host's and passes on unchanged,
//   as it would without the library.
namespace hook_boundary {

class HostMethod;

namespace detail {

// One call of a replacement under way on this thread; calls nest when the host's layout runs
// other hooks.
struct Call {
  Call(const HostMethod* host, void* answer, const std::type_info& answerType);
  ~Call();
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

  const HostMethod* host;
  void* answer;  // the replacement's std::optional<R>, null for void
  const std::type_info& answerType;
  bool hostAnswered = false;
  bool hostThrew = false;
  Call* outer;
};

// The innermost call under way if it wraps host, else null.
Call* callWrapping(const HostMethod* host);
// Writes the log line for an exception stopped at the boundary; call inside a catch block.
void logStopped(const objc::Object* self, SEL cmd) noexcept;

}  // namespace detail

// The host's implementation that a replacement wraps: the slot MSHookMessageEx fills. A call
// through it is the host's own: its answer is kept for the boundary and what it throws is the
// host's.
class HostMethod {
 public:
  objc::Imp* slot() { return &imp_; }

  // As objc::Imp::call; a signature mismatch is the caller's error, not the host's.
  template <class R, class... Args>
  R call(objc::Object* self, SEL cmd, Args&&... args) const {
    const objc::Signature* expected = objc::Signature::of<R, std::remove_cvref_t<Args>...>();
    if (imp_.signature() != expected) imp_.throwMismatch(cmd, expected);
    detail::Call* call = detail::callWrapping(this);
    try {
      if constexpr (std::is_void_v<R>) {
        imp_.invokeUnchecked<void>(self, cmd, std::forward<Args>(args)...);
        if (call) call->hostAnswered = true;
      } else {
        R answer = imp_.invokeUnchecked<R>(self, cmd, std::forward<Args>(args)...);
        if (call && call->answer && call->answerType == typeid(R)) {
          *static_cast<std::optional<R>*>(call->answer) = answer;
          call->hostAnswered = true;
        }
        return answer;
      }
    } catch (...) {
      if (call) call->hostThrew = true;
      throw;
    }
  }

 private:
  objc::Imp imp_;
};

template <auto replacement, HostMethod* host>
struct Replacement;

// A replacement of a host's method, whose host's implementation is in `host`.
template <class R, class Self, class... Args, R (*replacement)(Self*, SEL, Args...),
          HostMethod* host>
struct Replacement<replacement, host> {
  static R run(Self* self, SEL cmd, Args... args) {
    if constexpr (std::is_void_v<R>) {
      detail::Call call(host, nullptr, typeid(void));
      try {
        return replacement(self, cmd, args...);
      } catch (...) {
        if (call.hostThrew) throw;
        detail::logStopped(self, cmd);
      }
      if (!call.hostAnswered) host->template call<void>(self, cmd, args...);
    } else {
      std::optional<R> answer;
      detail::Call call(host, &answer, typeid(R));
      try {
        return replacement(self, cmd, args...);
      } catch (...) {
        if (call.hostThrew) throw;
        detail::logStopped(self, cmd);
      }
      return call.hostAnswered ? *std::move(answer) : host->template call<R>(self, cmd, args...);
    }
  }
};

template <auto method>
struct Addition;

// A method the library adds to a host's class.
template <class R, class Self, class... Args, R (*method)(Self*, SEL, Args...)>
struct Addition<method> {
  static R run(Self* self, SEL cmd, Args... args) {
    try {
      return method(self, cmd, args...);
    } catch (...) {
      detail::logStopped(self, cmd);
    }
    if constexpr (!std::is_void_v<R>) return R{};
  }
};

// What the hook table installs in place of a host's method, and as a method it adds.
template <auto replacement, HostMethod* host>
objc::Imp replacing() {
  return objc::Imp::of(&Replacement<replacement, host>::run);
}
template <auto method>
objc::Imp adding() {
  return objc::Imp::of(&Addition<method>::run);
}

}  // namespace hook_boundary
