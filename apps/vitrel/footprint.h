#pragma once

#include <string>

// Stages the scene this `vitrel preview` command line asks for twice, in two children of this
// program (the library's hooks, once loaded, last as long as the process): one with the library
// injected, one without. Writes what the library changed to `destination` (- for standard
// output): JSON, or text grouped by view when standard output is a terminal. Throws a
// CLI::RuntimeError, with a child's own words, when a staging fails. The children's logs are
// passed on to standard error when `verbose`.
void writeFootprint(const std::string& destination, bool verbose);
