#pragma once

#include "platform/foundation/ns_string.h"
#include "platform/graphics/ui_color.h"

// `Quenby` and the `mirra…` methods are the colour category's public names: see
// "Names that cannot change" in the README.

// The colour category: hex text to colour and back, and a darkness test.

// "#RRGGBB", optionally followed by ":" and a decimal alpha ("#FF8000:0.5"). Lenient as the
// platform's scanners are: no "#" is fine, a missing alpha number reads 0, only the low 24
// bits of the hex value count. Nil, empty text: opaque black. Never nil.
Ref<UIColor> mirraRGBAColorFromHexString(const NSString* text);

// "#RRGGBB" of the red, green and blue components times 255, truncated (0.999 → FE); alpha is
// ignored. Nil for nil or a pattern colour, which has no single RGB value.
Ref<NSString> mirraHexStringFromColor(const UIColor* color);

// Whether the colour's luminance (299 r + 587 g + 114 b) / 1000 is below 0.5. False for nil
// and for pattern colours.
bool mirraIsDarkColor(const UIColor* color);
