// The three colour classes the settings bundle carries, as other code in the Settings process
// meets them: a plug-in loaded after the bundle, knowing them only by name, gets what the C++
// colour functions give, and finds none of the library's other colour classes.

#include <dlfcn.h>

#include "platform/foundation/log.h"
#include "runtime_classes/expected_lines.h"
#include "support/prefs_fixture.h"

namespace {

using CarriedColourClassesTest = PrefsTest;

TEST_F(CarriedColourClassesTest, PluginGetsWhatTheColourFunctionsGiveForEverySampleIcon) {
  LogCapture capture;
  ASSERT_NE(dlopen(PROBE_PATH, RTLD_NOW), nullptr) << dlerror();
  std::vector<std::string> probeLines;
  for (const std::string& line : capture.lines()) {
    if (line.starts_with("probe ")) probeLines.push_back(line.substr(6));
  }
  const std::vector<std::string> expected = expectedProbeLines(false);
  ASSERT_EQ(probeLines.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(probeLines[i], expected[i]);
}

}  // namespace
