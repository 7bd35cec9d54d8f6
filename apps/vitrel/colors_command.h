#pragma once

#include <CLI/CLI.hpp>

// `vitrel colors IMAGE…|FOLDER…`: every colour method of the library on icon images, as text
// with swatches or as JSON, one object per image.
void addColorsCommand(CLI::App& app);
