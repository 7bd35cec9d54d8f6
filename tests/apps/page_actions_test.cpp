#include "apps/vitrel/page_actions.h"

#include <gtest/gtest.h>

namespace {

// The reason a request is refused for, empty when it is taken.
std::string refusal(const char* request) {
  Result<PageAction> action = parsePageAction(Json::parse(request));
  return action ? "" : action.error();
}

std::optional<std::string> viewOf(const char* request) {
  Result<PageAction> action = parsePageAction(Json::parse(request));
  EXPECT_TRUE(action) << request << ": " << action.error();
  return action ? action.value().view : std::nullopt;
}

}  // namespace

TEST(PageActionTest, ActionsOnAViewNameTheirView) {
  EXPECT_EQ(viewOf(R"({"action": "tap", "view": "v12"})"), "v12");
  EXPECT_EQ(viewOf(R"({"action": "setSwitch", "view": "v3", "on": false})"), "v3");
  EXPECT_EQ(viewOf(R"({"action": "setSlider", "view": "v4", "value": 12})"), "v4");
  EXPECT_EQ(viewOf(R"({"action": "setSlider", "view": "v4", "value": -0.25})"), "v4");
  EXPECT_EQ(viewOf(R"({"action": "selectSegment", "view": "v5", "index": 1})"), "v5");
  EXPECT_EQ(viewOf(R"({"action": "setText", "view": "v6", "text": ""})"), "v6");
  // Actions on the page as a whole name none, whatever else the request holds.
  EXPECT_EQ(viewOf(R"({"action": "back", "view": "v1"})"), std::nullopt);
  EXPECT_EQ(viewOf(R"({"action": "dismissSheet"})"), std::nullopt);
  EXPECT_EQ(viewOf(R"({"action": "alertAction", "index": 0, "fields": ["a", ""]})"), std::nullopt);
  EXPECT_EQ(viewOf(R"({"action": "alertAction", "index": 1})"), std::nullopt);
}

TEST(PageActionTest, RefusesWhatIsNotAnActionsRequest) {
  for (const char* request :
       {"null", "[]", R"([{"action": "back"}])", R"("back")", "1", "{}", R"({"action": null})",
        R"({"action": ["back"]})", R"({"action": {"name": "back"}})", R"({"Action": "back"})"}) {
    EXPECT_NE(refusal(request), "") << request;
  }
  for (const std::string& name : {std::string(), std::string("Back"), std::string("back "),
                                  std::string("__proto__"), std::string("tap\0", 4)}) {
    const Json request = {{"action", name}};
    EXPECT_FALSE(parsePageAction(request)) << name;
  }
  EXPECT_EQ(refusal(R"({"action": "respring"})"), "unknown action \"respring\"");
}

TEST(PageActionTest, ActionsOnAViewNeedTheViewsId) {
  for (const char* action : {"tap", "setSwitch", "setSlider", "selectSegment", "setText"}) {
    for (const char* view :
         {"", R"(, "view": 12)", R"(, "view": null)", R"(, "view": ["v1"])", R"(, "View": "v1")"}) {
      const std::string request = std::string(R"({"action": ")") + action + "\"" + view +
                                  R"(, "on": true, "value": 1, "index": 0, "text": "a"})";
      EXPECT_EQ(refusal(request.c_str()), "\"view\" must be a view id") << request;
    }
  }
}

TEST(PageActionTest, RefusesAControlsValueOfTheWrongType) {
  for (const char* request : {
           R"({"action": "setSwitch", "view": "v1"})",
           R"({"action": "setSwitch", "view": "v1", "on": "true"})",
           R"({"action": "setSwitch", "view": "v1", "on": 1})",
           R"({"action": "setSwitch", "view": "v1", "on": null})",
           R"({"action": "setSlider", "view": "v1", "value": "0.5"})",
           R"({"action": "setSlider", "view": "v1", "value": true})",
           R"({"action": "setSlider", "view": "v1", "value": [0.5]})",
           R"({"action": "selectSegment", "view": "v1", "index": 1.5})",
           R"({"action": "selectSegment", "view": "v1", "index": "1"})",
           R"({"action": "selectSegment", "view": "v1", "index": false})",
           R"({"action": "setText", "view": "v1", "text": 5})",
           R"({"action": "setText", "view": "v1", "text": null})",
           R"({"action": "setText", "view": "v1", "text": ["a"]})",
       }) {
    EXPECT_NE(refusal(request), "") << request;
  }
  EXPECT_EQ(refusal(R"({"action": "setSwitch", "view": "v1", "on": "yes"})"),
            "\"on\" must be true or false");
}

// A row's text goes into the settings file as it is: what the file cannot hold would leave
// it unreadable, every other setting with it.
TEST(PageActionTest, RefusesTextsTheSettingsFileCannotHold) {
  EXPECT_EQ(viewOf(R"({"action": "setText", "view": "v1", "text": "Share,\tCopy\n😀"})"), "v1");
  for (const char* text : {R"("\u0000")", R"("a\u0001b")", R"("\u001b[31m")"}) {
    const std::string request =
        std::string(R"({"action": "setText", "view": "v1", "text": )") + text + "}";
    EXPECT_EQ(refusal(request.c_str()).rfind("the text cannot be stored: ", 0), 0) << text;
  }
}

TEST(PageActionTest, RefusesAlertActionsWithoutAnActionOrWithOddFields) {
  for (const char* request : {
           R"({"action": "alertAction"})",
           R"({"action": "alertAction", "index": -1})",
           R"({"action": "alertAction", "index": 0.5})",
           R"({"action": "alertAction", "index": "0"})",
           // Beyond a signed index: must not wrap round to a small one.
           R"({"action": "alertAction", "index": 18446744073709551615})",
           R"({"action": "alertAction", "index": 9223372036854775808})",
           R"({"action": "alertAction", "index": 0, "fields": "text"})",
           R"({"action": "alertAction", "index": 0, "fields": {"0": "text"}})",
           R"({"action": "alertAction", "index": 0, "fields": ["a", 2]})",
           R"({"action": "alertAction", "index": 0, "fields": [null]})",
           R"({"action": "alertAction", "index": 0, "fields": [["a"]]})",
       }) {
    EXPECT_NE(refusal(request), "") << request;
  }
}
