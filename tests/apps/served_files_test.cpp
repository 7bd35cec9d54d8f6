#include "apps/vitrel/served_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

// A web folder beside a private one whose name begins like it, so that a check by text prefix
// instead of by path would let the private files out.
class ServedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string made = (fs::temp_directory_path() / "vitrel-served-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(made.data()));
    base_ = made;
    web_ = base_ / "web";
    fs::create_directories(web_ / "css");
    fs::create_directories(web_ / "empty");
    fs::create_directories(base_ / "web-private");
    write(web_ / "index.html");
    write(web_ / "app.js");
    write(web_ / "css" / "index.html");
    write(web_ / "a file, with ünïcode & %2e.css");
    write(web_ / "...");
    write(base_ / "secret.txt");
    write(base_ / "web-private" / "key.pem");
  }
  void TearDown() override { fs::remove_all(base_); }

  static void write(const fs::path& file) { std::ofstream(file) << file.filename().string(); }

  served_files::Lookup lookUp(std::string_view path) const {
    return served_files::lookUp(web_, path);
  }

  fs::path base_;
  fs::path web_;
};

}  // namespace

TEST_F(ServedFilesTest, ServesFilesOfTheFolderAndIndexesForFolders) {
  EXPECT_EQ(lookUp("/app.js").file, fs::canonical(web_ / "app.js"));
  EXPECT_EQ(lookUp("/").file, fs::canonical(web_ / "index.html"));
  EXPECT_EQ(lookUp("/css").file, fs::canonical(web_ / "css" / "index.html"));
  EXPECT_EQ(lookUp("/css/").file, fs::canonical(web_ / "css" / "index.html"));
  // Empty segments count for nothing rather than naming the file system's root.
  EXPECT_EQ(lookUp("//app.js").file, fs::canonical(web_ / "app.js"));
  for (std::string_view path : {"/app.js", "/", "/css", "//app.js"})
    EXPECT_EQ(lookUp(path).status, 200) << path << ": " << lookUp(path).reason;
}

TEST_F(ServedFilesTest, NamesWithOddCharactersAreOnlyNames) {
  served_files::Lookup odd = lookUp("/a file, with ünïcode & %2e.css");
  EXPECT_EQ(odd.status, 200) << odd.reason;
  EXPECT_EQ(odd.file.filename(), "a file, with ünïcode & %2e.css");
  // Three dots name a file, not a way up.
  EXPECT_EQ(lookUp("/...").status, 200);
  // The path arrives decoded: encoded dots are a name that no file has.
  EXPECT_EQ(lookUp("/%2e%2e/secret.txt").status, 404);
  EXPECT_EQ(lookUp("/%2E%2E%2Fsecret.txt").status, 404);
}

TEST_F(ServedFilesTest, RefusesPathsThatTryToLeaveTheFolder) {
  for (std::string_view path : {"/../secret.txt", "/css/../../secret.txt", "/..", "/./app.js",
                                "/css/..", "/css/.", "/..\\secret.txt", "/css\\..\\app.js"}) {
    served_files::Lookup found = lookUp(path);
    EXPECT_EQ(found.status, 400) << path;
    EXPECT_TRUE(found.file.empty()) << path;
    EXPECT_FALSE(found.reason.empty()) << path;
  }
  using namespace std::string_view_literals;
  EXPECT_EQ(lookUp("/app.js\0.png"sv).status, 400);
  // A path that is not absolute is not a request's path.
  EXPECT_EQ(lookUp("app.js").status, 400);
  EXPECT_EQ(lookUp("").status, 400);
}

TEST_F(ServedFilesTest, AbsolutePathsStayBelowTheFolder) {
  const std::string secret = (base_ / "secret.txt").string();
  EXPECT_EQ(lookUp(secret).status, 404);
  EXPECT_EQ(lookUp("/" + secret).status, 404);
  EXPECT_EQ(lookUp("/etc/passwd").status, 404);
}

TEST_F(ServedFilesTest, SymbolicLinksMayNotLeadOut) {
  fs::create_symlink(base_ / "secret.txt", web_ / "secret.txt");
  fs::create_directory_symlink(base_ / "web-private", web_ / "private");
  fs::create_directory_symlink(base_, web_ / "up");
  fs::create_symlink("/etc/passwd", web_ / "passwd");
  fs::create_symlink("/dev/zero", web_ / "zero.js");
  for (std::string_view path : {"/secret.txt", "/private/key.pem", "/up/secret.txt",
                                "/up/web-private/key.pem", "/passwd", "/zero.js"}) {
    served_files::Lookup found = lookUp(path);
    EXPECT_EQ(found.status, 404) << path;
    EXPECT_TRUE(found.file.empty()) << path;
  }
  // A link that stays inside is followed.
  fs::create_symlink(web_ / "app.js", web_ / "main.js");
  EXPECT_EQ(lookUp("/main.js").file, fs::canonical(web_ / "app.js"));
}

TEST_F(ServedFilesTest, ServesNothingButRegularFiles) {
  EXPECT_EQ(lookUp("/missing.js").status, 404);
  EXPECT_EQ(lookUp("/empty").status, 404);
  EXPECT_EQ(lookUp("/app.js/more").status, 404);
  EXPECT_EQ(lookUp("/" + std::string(5000, 'a')).status, 404);
  EXPECT_EQ(served_files::lookUp(base_ / "no-such-folder", "/").status, 404);
}

TEST(ServedFileTypeTest, KnownExtensionsGetTheirTypeAndTheRestNone) {
  EXPECT_EQ(served_files::contentType("app.js"), "text/javascript; charset=utf-8");
  EXPECT_EQ(served_files::contentType("index.html"), "text/html; charset=utf-8");
  EXPECT_EQ(served_files::contentType("1.png"), "image/png");
  for (const char* file : {"key.pem", "app.JS", "noextension", ".png.exe"})
    EXPECT_EQ(served_files::contentType(file), "application/octet-stream") << file;
}
