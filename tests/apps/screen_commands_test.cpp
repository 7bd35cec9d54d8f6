#include "apps/vitrel/screen_commands.h"

#include <gtest/gtest.h>

namespace {

std::string commandFor(const char* request) {
  Result<std::string> command = springboardCommand(Json::parse(request));
  return command ? command.value() : "refused: " + command.error();
}

bool refused(const Json& request) {
  return !springboardCommand(request).ok();
}

}  // namespace

TEST(SpringboardCommandTest, EachActionBecomesOneControlLine) {
  EXPECT_EQ(commandFor(R"({"action": "hold", "x": 120, "y": 48.256})"), "hold 120.00 48.26");
  EXPECT_EQ(commandFor(R"({"action": "tap", "x": 0, "y": 100000})"), "tap 0.00 100000.00");
  EXPECT_EQ(commandFor(R"({"action": "lock", "x": 3})"), "lock");
  EXPECT_EQ(commandFor(R"({"action": "unlock"})"), "unlock");
  EXPECT_EQ(commandFor(R"({"action": "style", "style": "dark"})"), "style dark");
  EXPECT_EQ(commandFor(R"({"action": "system", "version": 15})"), "system 15");
}

TEST(SpringboardCommandTest, RefusesWhatIsNotARequest) {
  for (const char* request : {"null", "[]", R"(["hold", 1, 2])", R"("hold")", "7", "{}",
                              R"({"action": 1})", R"({"action": null})", R"({"action": "HOLD"})",
                              R"({"action": "respring"})", R"({"action": "hold\nrespring"})"}) {
    EXPECT_TRUE(refused(Json::parse(request))) << request;
  }
  EXPECT_EQ(commandFor(R"({"action": "shutdown"})"), "refused: unknown action \"shutdown\"");
}

// Each argument is written into a line of the control socket: nothing but a plain number or one
// of the fixed words may reach it.
TEST(SpringboardCommandTest, RefusesCoordinatesThatAreNotPointsOnTheScreen) {
  for (const char* point :
       {R"("x": 1)", R"("x": "1", "y": 1)", R"("x": 1, "y": null)", R"("x": true, "y": 1)",
        R"("x": [1], "y": 1)", R"("x": -0.5, "y": 1)", R"("x": 1, "y": 100000.01)",
        R"("x": 1e300, "y": 1)", R"("x": -1e300, "y": 1)", R"("x": 1, "y": {"y": 1})"}) {
    const std::string request = std::string(R"({"action": "tap", )") + point + "}";
    EXPECT_EQ(commandFor(request.c_str()).rfind("refused: \"", 0), 0) << point;
  }
}

TEST(SpringboardCommandTest, RefusesWordsAndVersionsOutsideTheirSets) {
  for (const char* request :
       {R"({"action": "style"})", R"({"action": "style", "style": "Dark"})",
        R"({"action": "style", "style": "dark\nrespring"})",
        R"({"action": "style", "style": ["dark"]})", R"({"action": "style", "style": 2})",
        R"({"action": "system", "version": 14})", R"({"action": "system", "version": 18})",
        R"({"action": "system", "version": 16.0})", R"({"action": "system", "version": "16"})",
        R"({"action": "system", "version": -16})",
        R"({"action": "system", "version": 18446744073709551615})",
        R"({"action": "system", "version": 4294967312})"}) {
    EXPECT_TRUE(refused(Json::parse(request))) << request;
  }
}

TEST(ScreenAnswerTest, TheSpringboardsLineBecomesTheClientsAnswer) {
  ScreenAnswer done = screenAnswer("ok 12 40");
  EXPECT_EQ(done.status, 200);
  EXPECT_EQ(done.body, Json({{"done", true}}));
  ScreenAnswer missed = screenAnswer("nothing: no view at 3, 4");
  EXPECT_EQ(missed.status, 200);
  EXPECT_EQ(missed.body, Json({{"done", false}, {"message", "no view at 3, 4"}}));
  ScreenAnswer failed = screenAnswer("error: the screen is locked");
  EXPECT_EQ(failed.status, 409);
  EXPECT_EQ(failed.body, Json({{"error", "the screen is locked"}}));
}

TEST(ScreenAnswerTest, AnyOtherLineIsTheSpringboardsFault) {
  for (const char* line : {"", "okay", "OK", "nothing", "error", " ok", "\xff\xfe"}) {
    ScreenAnswer answered = screenAnswer(line);
    EXPECT_EQ(answered.status, 502) << line;
    ASSERT_TRUE(answered.body.contains("error")) << line;
  }
}
