#include "apps/vitrel/request_checks.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

std::string lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A Host header (or an Origin's authority) that names this machine: a loopback name, with
// this server's port or none.
bool namesThisMachine(const std::string& authority, int port) {
  const std::string host = lowercase(authority);
  const std::string withPort = ":" + std::to_string(port);
  for (const char* name : {"127.0.0.1", "localhost", "[::1]"}) {
    if (host == name || host == name + withPort) return true;
  }
  return false;
}

}  // namespace

bool isJson(const std::string& contentType) {
  const std::string type = contentType.substr(0, contentType.find(';'));
  const size_t first = type.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  return lowercase(type.substr(first, type.find_last_not_of(" \t") + 1 - first)) ==
         "application/json";
}

std::optional<std::string> foreignRequest(const httplib::Request& request, int port) {
  if (!namesThisMachine(request.get_header_value("Host"), port)) {
    return "this server answers only requests for 127.0.0.1 or localhost";
  }
  if (request.method == "GET" || request.method == "HEAD") return std::nullopt;
  if (request.has_header("Origin")) {
    const std::string origin = request.get_header_value("Origin");
    constexpr std::string_view kScheme = "http://";
    if (!origin.starts_with(kScheme) || !namesThisMachine(origin.substr(kScheme.size()), port)) {
      return "requests from other origins are refused";
    }
  }
  if (request.get_header_value("Sec-Fetch-Site") == "cross-site") {
    return "requests from other sites are refused";
  }
  return std::nullopt;
}
