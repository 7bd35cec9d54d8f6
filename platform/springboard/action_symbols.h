#pragma once

#include <string_view>

#include "platform/graphics/ui_image.h"

// The symbol a menu shows beside an action, as the system's symbol images look: a glyph of the
// system font, 20 points square, in the label colour of the current trait style. Chosen by the
// words of the action's title; drawn once per symbol and style.
Ref<UIImage> actionSymbolImage(std::string_view title);
