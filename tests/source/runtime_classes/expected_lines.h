#pragma once

#include <string>
#include <vector>

// What the colour probe should log (without its "probe " tag) when every C++ colour function
// is called directly on the sample icons: with the library's classes, or with only the three
// the settings bundle carries.
std::vector<std::string> expectedProbeLines(bool libraryClasses);
