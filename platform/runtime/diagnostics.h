#pragma once

#include <functional>
#include <string_view>

namespace objc {

// Where the runtime reports calls it refused (a method added with a type that does not match
// its implementation, a hook whose type differs from the method it replaces). Standard error
// until a host routes it, for example to the system log.
using DiagnosticHandler = std::function<void(std::string_view message)>;
void setDiagnosticHandler(DiagnosticHandler handler);
void reportDiagnostic(std::string_view message);

}  // namespace objc
