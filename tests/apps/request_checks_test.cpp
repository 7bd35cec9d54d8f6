#include "apps/vitrel/request_checks.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace {

constexpr int kPort = 8765;

httplib::Request request(const std::string& method, const httplib::Headers& headers) {
  httplib::Request made;
  made.method = method;
  made.headers = headers;
  return made;
}

bool served(const std::string& method, const httplib::Headers& headers) {
  return !foreignRequest(request(method, headers), kPort);
}

}  // namespace

TEST(RequestChecksTest, JsonIsJsonWithAnyCaseAndParameters) {
  for (const char* type : {"application/json", "Application/JSON", " application/json ",
                           "application/json; charset=utf-8", "application/json;"})
    EXPECT_TRUE(isJson(type)) << type;
  for (const char* type :
       {"", ";", "text/plain", "application/jsonp", "application/json5", "application/ json",
        "application/json, text/plain", "application/x-www-form-urlencoded",
        "multipart/form-data; boundary=application/json", "text/json"})
    EXPECT_FALSE(isJson(type)) << type;
}

// A page of another site may send requests to this machine, and a name that another site's
// address resolves to may lead here (DNS rebinding): only this machine's names are answered.
TEST(RequestChecksTest, AnswersOnlyRequestsForThisMachine) {
  for (const char* host :
       {"127.0.0.1:8765", "localhost:8765", "LOCALHOST", "[::1]:8765", "127.0.0.1"})
    EXPECT_TRUE(served("GET", {{"Host", host}})) << host;
  for (const char* host :
       {"", "evil.example", "evil.example:8765", "127.0.0.1:8766", "localhost.:8765",
        "localhost.evil.example", "127.0.0.1.nip.io:8765", "127.0.0.2:8765", "0.0.0.0:8765",
        "127.0.0.1:8765@evil.example", "localhost:8765 ", "[::1]:80"}) {
    EXPECT_EQ(foreignRequest(request("GET", {{"Host", host}}), kPort),
              "this server answers only requests for 127.0.0.1 or localhost")
        << host;
  }
  EXPECT_FALSE(served("GET", {}));
}

TEST(RequestChecksTest, WritesComeOnlyFromThisServersPages) {
  const httplib::Headers own = {{"Host", "localhost:8765"}, {"Origin", "http://localhost:8765"}};
  EXPECT_TRUE(served("POST", own));
  // Tools that are not browsers send no Origin.
  EXPECT_TRUE(served("POST", {{"Host", "localhost:8765"}}));
  EXPECT_TRUE(served("POST", {{"Host", "localhost:8765"}, {"Sec-Fetch-Site", "same-origin"}}));
  for (const char* origin : {"null", "http://evil.example", "http://localhost:9999",
                             "https://localhost:8765", "http://localhost:8765.evil.example",
                             "file://", "", "localhost:8765", "http://127.0.0.1:8765/"}) {
    EXPECT_EQ(
        foreignRequest(request("POST", {{"Host", "localhost:8765"}, {"Origin", origin}}), kPort),
        "requests from other origins are refused")
        << origin;
  }
  EXPECT_FALSE(served("POST", {{"Host", "localhost:8765"}, {"Sec-Fetch-Site", "cross-site"}}));
  for (const char* method : {"PUT", "DELETE", "PATCH", "OPTIONS", "post"}) {
    EXPECT_FALSE(served(method, {{"Host", "localhost:8765"}, {"Origin", "http://evil.example"}}))
        << method;
  }
  // Reading is harmless: a page of another site cannot see the answer.
  EXPECT_TRUE(served("GET", {{"Host", "localhost:8765"}, {"Origin", "http://evil.example"}}));
}
