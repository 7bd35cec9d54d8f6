#pragma once

#include <optional>
#include <string>

namespace httplib {
struct Request;
}

// What the settings server asks of every request before a route sees it.

// Whether a Content-Type is application/json, in any case, with or without parameters (such
// as a charset).
bool isJson(const std::string& contentType);

// Why a request is refused, none when it may be served. A browser on another site can reach
// this server, so a request must name this machine (Host: 127.0.0.1, localhost or [::1], with
// the server's port or none) and a write (anything but GET and HEAD) must come from the
// server's own pages (Origin, when sent, of the same names; never a cross-site fetch).
std::optional<std::string> foreignRequest(const httplib::Request& request, int port);
