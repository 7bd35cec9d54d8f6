#include "platform/runtime/message.h"

#include <cstdio>

namespace objc {
namespace {

// "-[UIView layoutSubviews]" or "+[SBLockScreenManager sharedInstance]".
std::string methodName(const Object* receiver, SEL sel) {
  const Class* cls = receiver->isa();
  return std::string(cls->isMetaClass() ? "+[" : "-[") + cls->name() + " " + sel_getName(sel) + "]";
}

std::string address(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", pointer);
  return text;
}

}  // namespace

namespace detail {

void throwUnrecognizedSelector(const Object* receiver, SEL sel) {
  throw Exception("NSInvalidArgumentException",
                  methodName(receiver, sel) + ": unrecognized selector sent to " +
                      (receiver->isa()->isMetaClass() ? "class " : "instance ") +
                      address(receiver));
}

void throwSignatureMismatch(const Object* receiver, SEL sel, const Method& method,
                            const Signature* expected) {
  throw Exception("NSInvalidArgumentException", methodName(receiver, sel) + " has type " +
                                                    method.imp.encoding() + " but was sent as " +
                                                    (expected ? expected->encoding() : "?"));
}

}  // namespace detail

const std::string& Imp::encoding() const {
  static const std::string none;
  return signature_ ? signature_->encoding() : none;
}

void Imp::throwMismatch(SEL cmd, const Signature* expected) const {
  if (!thunk_) {
    throw Exception("NSInvalidArgumentException",
                    std::string("no implementation to call for ") + sel_getName(cmd));
  }
  throw Exception("NSInvalidArgumentException", std::string("implementation of ") +
                                                    sel_getName(cmd) + " has type " + encoding() +
                                                    " but was called as " + expected->encoding());
}

}  // namespace objc
