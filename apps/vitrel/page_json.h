#pragma once

#include <functional>
#include <optional>
#include <string>

#include "apps/vitrel/color_json.h"
#include "platform/preferences/host/page_model.h"

// A settings page for the web client: the page model as JSON, field for field, with colours
// as {"r", "g", "b", "a"} (0…1), frames as {"x", "y", "width", "height"} and absent values as
// null. Images carry "url", what the browser may load them from: the address that
// `imageUrl` gives for their source (null when it gives none), or "symbol:<name>" for a
// system symbol.
using ImageUrl = std::function<std::optional<std::string>(const std::string& source)>;

Json pageJson(const page_model::Page& page, const ImageUrl& imageUrl);
