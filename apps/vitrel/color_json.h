#pragma once

#include <nlohmann/json.hpp>
#include <optional>

#include "platform/graphics/color.h"
#include "platform/graphics/ui_color.h"

using Json = nlohmann::ordered_json;

// A colour for scripts: {"hex", "r", "g", "b", "a"} with the components as the colour holds
// them (not clamped, so an extended-range value shows); a gradient as {"gradient": {"from",
// "to", "direction", "frame"}}; null for none.
Json colorJson(const UIColor* color);
Json colorJson(const std::optional<Color>& color);
