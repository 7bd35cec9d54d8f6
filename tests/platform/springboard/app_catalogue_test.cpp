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

TEST(SampleCatalogueTest, HasDistinctAppsAFolderAndAWebClip) {
  Result<AppCatalogue> samples = loadCatalogue(kSamples / "catalogue.plist");
  ASSERT_TRUE(samples) << samples.error();
  const AppCatalogue& catalogue = samples.value();
  EXPECT_GE(catalogue.apps().size(), 12u);
  ASSERT_EQ(catalogue.folders().size(), 1u);
  EXPECT_GE(catalogue.folders().front().bundleIdentifiers.size(), 2u);
  EXPECT_EQ(catalogue.webClips().size(), 1u);

  // Apps in the folder are not on the home screen themselves.
  const std::string& inFolder = catalogue.folders().front().bundleIdentifiers.front();
  EXPECT_EQ(catalogue.folderOf(inFolder), &catalogue.folders().front());
  size_t places = catalogue.apps().size() - catalogue.folders().front().bundleIdentifiers.size() +
                  catalogue.folders().size() + catalogue.webClips().size();
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
