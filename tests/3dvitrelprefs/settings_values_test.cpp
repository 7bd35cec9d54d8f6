#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/file_io.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/run_loop.h"
#include "support/prefs_fixture.h"

namespace {

constexpr const char* kReload = "com.wyndle.vitrel3dtouch/reloadPrefs";

class SettingsValuesTest : public PrefsTest {
 protected:
  Ref<NSObject> read(NSDictionary::Entries properties) {
    Ref<PSListController> page = makePage(pageClass);
    Ref<PSSpecifier> row = specifier(page.get(), std::move(properties));
    return objc::msgSend<Ref<NSObject>>(page, objc::sel("readPreferenceValue:"),
                                        static_cast<NSObject*>(row.get()));
  }

  void write(const Ref<NSNumber>& value, NSDictionary::Entries properties) {
    Ref<PSListController> page = makePage(pageClass);
    Ref<PSSpecifier> row = specifier(page.get(), std::move(properties));
    objc::msgSend<void>(page, objc::sel("setPreferenceValue:specifier:"), value.get(),
                        static_cast<NSObject*>(row.get()));
  }

  // Posts a marker after the write so that a notification from the write, if any, arrives
  // first on the main loop; returns how many reloads were heard.
  int reloadsHeardAfter(const std::function<void()>& work) {
    int reloads = 0;
    bool marked = false;
    DarwinObservation reload = observeDarwinNotification(kReload, [&](auto&) { ++reloads; });
    DarwinObservation marker =
        observeDarwinNotification("test.prefs/marker", [&](auto&) { marked = true; });
    work();
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         CFSTR("test.prefs/marker"), nullptr, nullptr, true);
    turnMainLoopUntil([&] { return marked; });
    RunLoop::main().runOnce(std::chrono::milliseconds(50));
    return reloads;
  }

  const char* pageClass = "MirraRootListController";
};

TEST_F(SettingsValuesTest, MissingKeyReadsTheDefault) {
  writeSettings({{"other", boolean(true)}});
  Ref<NSObject> value = read({{"key", str("cornerRadius")}, {"default", real(12)}});
  EXPECT_DOUBLE_EQ(static_cast<NSNumber*>(value.get())->doubleValue(), 12);
}

TEST_F(SettingsValuesTest, MissingFileReadsTheDefault) {
  Ref<NSObject> value = read({{"key", str("renderMode")}, {"default", boolean(true)}});
  EXPECT_TRUE(propertyListsEqual(value.get(), boolean(true).get()));
}

TEST_F(SettingsValuesTest, StoredFalseIsReadAsStored) {
  writeSettings({{"renderMode", boolean(false)}});
  Ref<NSObject> value = read({{"key", str("renderMode")}, {"default", boolean(true)}});
  EXPECT_TRUE(propertyListsEqual(value.get(), boolean(false).get()));
}

TEST_F(SettingsValuesTest, StoredValueOfAnotherTypeIsReadUnconverted) {
  writeSettings({{"renderMode", str("yes")}});
  Ref<NSObject> value = read({{"key", str("renderMode")}, {"default", boolean(false)}});
  EXPECT_TRUE(propertyListsEqual(value.get(), str("yes").get()));
}

TEST_F(SettingsValuesTest, EachReadSeesTheFileAsItIsNow) {
  writeSettings({{"cornerRadius", real(3)}});
  EXPECT_TRUE(propertyListsEqual(read({{"key", str("cornerRadius")}}).get(), real(3).get()));
  writeSettings({{"cornerRadius", real(9)}});
  EXPECT_TRUE(propertyListsEqual(read({{"key", str("cornerRadius")}}).get(), real(9).get()));
}

TEST_F(SettingsValuesTest, WritingToMissingFileCreatesItWithTheOneKey) {
  std::filesystem::remove_all(settingsFile().parent_path());
  write(boolean(true), {{"key", str("elegantBorder")}});
  Ref<NSDictionary> stored = storedSettings();
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->count(), 1u);
  EXPECT_TRUE(propertyListsEqual(stored->objectForKey("elegantBorder").get(), boolean(true).get()));
}

TEST_F(SettingsValuesTest, WritingKeepsTheOtherSettings) {
  writeSettings({{"cornerRadius", real(4)}, {"renderMode", boolean(true)}});
  write(real(7), {{"key", str("cornerRadius")}});
  Ref<NSDictionary> stored = storedSettings();
  EXPECT_TRUE(propertyListsEqual(stored->objectForKey("cornerRadius").get(), real(7).get()));
  EXPECT_TRUE(propertyListsEqual(stored->objectForKey("renderMode").get(), boolean(true).get()));
}

// Each write reads the file, sets its key and replaces the file: Settings apps writing at once
// would undo each other's keys unless each write holds the others off.
TEST_F(SettingsValuesTest, WritersInSeveralProcessesLoseNoneOfEachOthersKeys) {
  writeSettings({});
  constexpr int kProcesses = 4, kWrites = 60;
  std::vector<pid_t> writers;
  for (int process = 0; process < kProcesses; ++process) {
    if (pid_t pid = fork(); pid == 0) {
      for (int n = 0; n < kWrites; ++n) {
        write(real(n), {{"key", str("k" + std::to_string(process) + "_" + std::to_string(n))}});
      }
      _exit(0);
    } else {
      writers.push_back(pid);
    }
  }
  for (pid_t pid : writers)
    waitpid(pid, nullptr, 0);
  Ref<NSDictionary> stored = storedSettings();
  ASSERT_TRUE(stored);
  int lost = 0;
  for (int process = 0; process < kProcesses; ++process) {
    for (int n = 0; n < kWrites; ++n) {
      if (!stored->objectForKey("k" + std::to_string(process) + "_" + std::to_string(n))) ++lost;
    }
  }
  EXPECT_EQ(lost, 0) << "lost updates " << lost << " of " << kProcesses * kWrites;
}

TEST_F(SettingsValuesTest, UnreadableFileIsNeitherReplacedNorAnnounced) {
  std::filesystem::create_directories(settingsFile().parent_path());
  ASSERT_TRUE(writeFileAtomically(settingsFile(), "not a property list").ok());
  int reloads = reloadsHeardAfter([&] {
    write(boolean(true), {{"key", str("renderMode")}, {"PostNotification", str(kReload)}});
  });
  EXPECT_EQ(readFileBytes(settingsFile(), 1024).valueOr(""), "not a property list");
  EXPECT_EQ(reloads, 0);
}

TEST_F(SettingsValuesTest, RowWithoutKeyWritesNothing) {
  writeSettings({{"renderMode", boolean(true)}});
  write(boolean(false), {{"PostNotification", str(kReload)}});
  Ref<NSDictionary> stored = storedSettings();
  EXPECT_EQ(stored->count(), 1u);
}

TEST_F(SettingsValuesTest, WriteWithoutPostNotificationPostsNothing) {
  int reloads = reloadsHeardAfter([&] { write(boolean(true), {{"key", str("renderMode")}}); });
  EXPECT_EQ(reloads, 0);
  EXPECT_TRUE(storedSettings());
}

TEST_F(SettingsValuesTest, WriteWithPostNotificationPostsAfterTheFileIsWritten) {
  bool storedWhenHeard = false;
  DarwinObservation check = observeDarwinNotification(kReload, [&](auto&) {
    Ref<NSDictionary> stored = storedSettings();
    storedWhenHeard = stored && stored->objectForKey("renderMode");
  });
  int reloads = reloadsHeardAfter([&] {
    write(boolean(true), {{"key", str("renderMode")}, {"PostNotification", str(kReload)}});
  });
  EXPECT_EQ(reloads, 1);
  EXPECT_TRUE(storedWhenHeard);
}

TEST_F(SettingsValuesTest, SubPagesReadAndWriteTheSameFile) {
  pageClass = "BackgroundSettingsCell";
  write(real(5), {{"key", str("LScornerRadius")}});
  EXPECT_TRUE(propertyListsEqual(read({{"key", str("LScornerRadius")}}).get(), real(5).get()));
  pageClass = "MirraRootListController";
  EXPECT_TRUE(propertyListsEqual(read({{"key", str("LScornerRadius")}}).get(), real(5).get()));
}

TEST_F(SettingsValuesTest, SwitchOnThePageWritesThroughTheController) {
  host().tap(rowNamed(host().page(), "Background & Border")->cell.id);
  page_model::Page page = host().page();
  std::optional<page_model::Row> row = rowNamed(page, "Border (HS)");
  ASSERT_TRUE(row);
  const page_model::ViewNode* toggle = findNode(row->cell, "UISwitch");
  ASSERT_NE(toggle, nullptr);
  EXPECT_FALSE(toggle->control->on);
  ASSERT_TRUE(host().setSwitch(toggle->id, true).ok());
  EXPECT_TRUE(propertyListsEqual(storedSettings()->objectForKey("elegantBorder").get(),
                                 boolean(true).get()));
}

}  // namespace
