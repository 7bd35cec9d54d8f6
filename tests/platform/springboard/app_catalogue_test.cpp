#include "platform/springboard/app_catalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/foundation/device.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSamples = VITREL_SAMPLES_DIR;

class CatalogueFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("vitrel-catalogue-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::copy_file(kSamples / "mail@3x.png", folder_ / "mail@3x.png");
  }
  void TearDown() override { fs::remove_all(folder_); }

  // A catalogue file whose <dict> holds body.
  fs::path write(const std::string& body) {
    fs::path file = folder_ / "catalogue.plist";
    std::ofstream(file) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">"
                           "<dict>"
                        << body << "</dict></plist>\n";
    return file;
  }

  static std::string app(const std::string& identifier, const std::string& name,
                         const std::string& icon = "mail@3x.png") {
    return "<dict><key>bundleIdentifier</key><string>" + identifier +
           "</string><key>name</key><string>" + name + "</string><key>icon</key><string>" + icon +
           "</string></dict>";
  }

  std::string failure(const std::string& body) {
    Result<AppCatalogue> loaded = loadCatalogue(write(body));
    return loaded ? "" : loaded.error();
  }

  fs::path folder_;
};

}  // namespace

TEST(SampleCatalogueTest, HasAFullDockAndFoldersOneOfWhichOpensWithAWebClip) {
  using Kind = HomeScreenIcon::Kind;
  Result<AppCatalogue> samples = loadCatalogue(kSamples / "catalogue.plist");
  ASSERT_TRUE(samples) << samples.error();
  const AppCatalogue& catalogue = samples.value();
  EXPECT_GE(catalogue.apps().size(), 12u);
  EXPECT_EQ(catalogue.dock().size(), 4u);
  ASSERT_EQ(catalogue.folders().size(), 2u);
  EXPECT_GE(catalogue.folders().front().bundleIdentifiers.size(), 2u);
  ASSERT_EQ(catalogue.webClips().size(), 2u);
  const FolderEntry& reading = catalogue.folders()[1];
  EXPECT_EQ(reading.icons.front(), (HomeScreenIcon{Kind::webClip, 1}));
  EXPECT_EQ(catalogue.placeOf({Kind::webClip, 1}).folder, reading.name);
  EXPECT_EQ(catalogue.placeOf({Kind::webClip, 0}).kind, IconPlace::Kind::page);
  EXPECT_EQ(catalogue.placeOf({Kind::app, catalogue.dock().front()}).kind, IconPlace::Kind::dock);

  // What folders and the dock hold is not on the page itself.
  const std::string& inFolder = catalogue.folders().front().bundleIdentifiers.front();
  EXPECT_EQ(catalogue.folderOf(inFolder), &catalogue.folders().front());
  size_t inFolders = 0;
  for (const FolderEntry& folder : catalogue.folders())
    inFolders += folder.icons.size();
  size_t places = catalogue.apps().size() + catalogue.webClips().size() - inFolders -
                  catalogue.dock().size() + catalogue.folders().size();
  EXPECT_EQ(catalogue.homeScreen().size(), places);
}

TEST(SampleCatalogueTest, IconsAreSixtyPointsAtTheScaleAskedFor) {
  Result<AppCatalogue> samples = loadCatalogue(kSamples / "catalogue.plist");
  ASSERT_TRUE(samples);
  const std::string& mail = samples.value().apps().front().bundleIdentifier;
  for (double scale : {1.0, 2.0, 3.0}) {
    Ref<UIImage> icon = samples.value().iconImage(mail, scale);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->bitmap().width(), static_cast<int>(60 * scale));
    EXPECT_DOUBLE_EQ(icon->size().width, 60);
  }
  EXPECT_FALSE(samples.value().iconImage("com.example.unknown", 3));
  EXPECT_FALSE(samples.value().iconImage(mail, 0));
  EXPECT_FALSE(samples.value().iconImage(mail, -1));
  EXPECT_TRUE(samples.value().webClipImage(samples.value().webClips().front().name, 2));
}

TEST_F(CatalogueFolder, HomeScreenOrderComesFirstThenTheRestInCatalogueOrder) {
  Result<AppCatalogue> loaded =
      loadCatalogue(write("<key>apps</key><array>" + app("a.one", "One") + app("a.two", "Two") +
                          app("a.three", "Three") +
                          "</array><key>folders</key><array><dict><key>name</key><string>F"
                          "</string><key>apps</key><array><string>a.two</string></array></dict>"
                          "</array><key>homeScreen</key><array><dict><key>folder</key><string>F"
                          "</string></dict><dict><key>app</key><string>a.three</string></dict>"
                          "</array>"));
  ASSERT_TRUE(loaded) << loaded.error();
  using Kind = HomeScreenIcon::Kind;
  EXPECT_EQ(loaded.value().homeScreen(),
            (std::vector<HomeScreenIcon>{{Kind::folder, 0}, {Kind::app, 2}, {Kind::app, 0}}));
}

TEST_F(CatalogueFolder, TheDockAndFoldersOfWebClipsTakeTheirIconsOffThePage) {
  using Kind = HomeScreenIcon::Kind;
  const std::string apps = "<key>apps</key><array>" + app("a.one", "One") + app("a.two", "Two") +
                           app("a.three", "Three") + "</array>";
  const std::string clip =
      "<key>webClips</key><array><dict><key>name</key><string>Clip</string><key>icon</key>"
      "<string>mail@3x.png</string></dict></array>";
  Result<AppCatalogue> loaded = loadCatalogue(write(
      apps + clip +
      "<key>folders</key><array><dict><key>name</key><string>F</string><key>icons</key><array>"
      "<dict><key>webClip</key><string>Clip</string></dict><dict><key>app</key><string>a.two"
      "</string></dict></array></dict></array><key>dock</key><array><string>a.three</string>"
      "</array>"));
  ASSERT_TRUE(loaded) << loaded.error();
  const AppCatalogue& catalogue = loaded.value();
  EXPECT_EQ(catalogue.homeScreen(),
            (std::vector<HomeScreenIcon>{{Kind::app, 0}, {Kind::folder, 0}}));
  EXPECT_EQ(catalogue.dock(), std::vector<size_t>{2});
  EXPECT_EQ(catalogue.folders().front().icons,
            (std::vector<HomeScreenIcon>{{Kind::webClip, 0}, {Kind::app, 1}}));
  EXPECT_EQ(catalogue.folders().front().bundleIdentifiers, std::vector<std::string>{"a.two"});
  EXPECT_EQ(catalogue.placeOf({Kind::webClip, 0}).folder, "F");
  EXPECT_EQ(catalogue.placeOf({Kind::app, 2}).kind, IconPlace::Kind::dock);
  EXPECT_EQ(catalogue.placeOf({Kind::app, 0}).kind, IconPlace::Kind::page);

  using ::testing::HasSubstr;
  auto dock = [&](const std::string& members) {
    return failure(apps + "<key>dock</key><array>" + members + "</array>");
  };
  const std::string one = "<string>a.one</string>";
  EXPECT_THAT(dock(one + one), HasSubstr("the dock lists 'a.one' twice"));
  EXPECT_THAT(dock("<string>a.nine</string>"), HasSubstr("the dock names an unknown app"));
  EXPECT_THAT(dock(one + "<string>a.two</string><string>a.three</string>" + one + one),
              HasSubstr("the dock holds 5 apps; at most 4 fit"));
  EXPECT_THAT(
      failure(apps + "<key>dock</key><array>" + one +
              "</array><key>homeScreen</key><array><dict><key>app</key>" + one + "</dict></array>"),
      HasSubstr("app 'a.one' is in the dock"));
  const std::string folder = "<key>folders</key><array><dict><key>name</key><string>F</string>";
  EXPECT_THAT(failure(apps + folder + "<key>apps</key><array>" + one +
                      "</array></dict></array><key>dock</key><array>" + one + "</array>"),
              HasSubstr("the dock's app 'a.one' is in folder 'F'"));
  EXPECT_THAT(failure(apps + clip + folder +
                      "<key>icons</key><array><dict><key>webClip</key><string>Clip</string>"
                      "</dict></array></dict></array><key>homeScreen</key><array><dict><key>"
                      "webClip</key><string>Clip</string></dict></array>"),
              HasSubstr("webClip 'Clip' is in folder 'F'"));
  EXPECT_THAT(failure(apps + folder +
                      "<key>icons</key><array><dict><key>webClip</key><string>"
                      "Gone</string></dict></array></dict></array>"),
              HasSubstr("folder 'F' names an unknown web clip 'Gone'"));
  EXPECT_THAT(failure(apps + folder + "<key>icons</key><array/><key>apps</key><array>" + one +
                      "</array></dict></array>"),
              HasSubstr("has both 'icons' and 'apps'"));
}

TEST_F(CatalogueFolder, FailuresNameTheFileAndTheEntry) {
  using ::testing::HasSubstr;
  const std::string apps = "<key>apps</key><array>";
  EXPECT_THAT(failure(""), HasSubstr("'apps' must be an array"));
  EXPECT_THAT(failure(""), HasSubstr(folder_.string()));
  EXPECT_THAT(failure(apps + app("a.one", "") + "</array>"),
              HasSubstr("app 'a.one' has no 'name'"));
  EXPECT_THAT(failure(apps + app("a.one", "One") + app("a.one", "Again") + "</array>"),
              HasSubstr("listed twice"));
  EXPECT_THAT(failure(apps + app("a.one", "One", "gone.png") + "</array>"),
              HasSubstr("icon file '" + (folder_ / "gone.png").string() + "' is missing"));
  EXPECT_THAT(failure(apps + app("a.one", "One", "../mail@3x.png") + "</array>"),
              HasSubstr("must be a file name in the catalogue's folder"));
  EXPECT_THAT(failure(apps + app("a.one", "One") +
                      "</array><key>folders</key><array><dict><key>name</key><string>F</string>"
                      "<key>apps</key><array><string>a.nine</string></array></dict></array>"),
              HasSubstr("folder 'F' names an unknown app 'a.nine'"));
  EXPECT_THAT(failure(apps + app("a.one", "One") +
                      "</array><key>homeScreen</key><array><dict><key>widget</key><string>x"
                      "</string></dict></array>"),
              HasSubstr("expected app, folder or webClip"));
  std::ofstream(folder_ / "catalogue.plist") << "not a property list";
  EXPECT_THAT(loadCatalogue(folder_ / "catalogue.plist").error(),
              HasSubstr("cannot load the app catalogue"));
}

TEST_F(CatalogueFolder, TheDeviceIsSeededOnceAndKeepsItsOwnCatalogue) {
  device::setDirectory(folder_ / "device");
  Result<AppCatalogue> seeded = loadDeviceCatalogue(kSamples);
  ASSERT_TRUE(seeded) << seeded.error();
  EXPECT_EQ(seeded.value().file(), *deviceCatalogueFile());
  EXPECT_TRUE(fs::exists(deviceCatalogueFile()->parent_path() / "mail@3x.png"));

  // The user's own (even broken) catalogue is never replaced by the samples.
  std::ofstream(*deviceCatalogueFile()) << "broken";
  EXPECT_FALSE(loadDeviceCatalogue(kSamples));

  fs::remove(*deviceCatalogueFile());
  Result<AppCatalogue> noSamples = loadDeviceCatalogue(folder_ / "no-samples-here");
  ASSERT_FALSE(noSamples);
  EXPECT_THAT(noSamples.error(), ::testing::HasSubstr("cannot seed"));
  EXPECT_FALSE(fs::exists(*deviceCatalogueFile()));
}
