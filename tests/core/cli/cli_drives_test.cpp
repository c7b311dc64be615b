// The network drive commands over the recorder: which calls they make, with
// which login, and the status they end with.

#include <gtest/gtest.h>

#include "app/remembered_settings.h"
#include "cli/cli_window.h"
#include "cli/command_context.h"
#include "cli/commands.h"
#include "platform/network_drives.h"
#include "support/temp_folder.h"

namespace corvesta::cli {
namespace {

DriveMapping Remembered(char letter, const std::string &box, bool remembered = true) {
  DriveMapping mapping;
  mapping.letter = letter;
  mapping.server = "10.0.0.2";
  mapping.share = "Public";
  mapping.user = "anna";
  mapping.box = box;
  mapping.remembered = remembered;
  return mapping;
}

class CliDrives : public testing::Test {
protected:
  ExitStatus Run(ExitStatus (*command)(Context &), std::vector<std::string> words) {
    Arguments arguments;
    arguments.words = std::move(words);
    CliWindow window;
    Context context{arguments, window};
    return command(context);
  }

  test::ScopedAppDataFolder settings;
  ScopedNetworkDrivesRecorder drives;
};

TEST_F(CliDrives, UnmapTakesALetterInEitherCase) {
  drives->AddMapping(Remembered('Z', "HOMESTORE"));
  EXPECT_EQ(Run(RunUnmap, {"z:"}), ExitStatus::Success);
  EXPECT_EQ(Run(RunUnmap, {"Z"}), ExitStatus::Failed); // gone now
  for (const char *word : {"zz", "1", ":", ""}) {
    EXPECT_EQ(Run(RunUnmap, {word}), ExitStatus::Usage) << word;
  }
  EXPECT_EQ(drives->Calls(), (std::vector<std::string>{"unmap Z:", "unmap Z:"}));
}

TEST_F(CliDrives, ReconnectOffersTheBoxsRememberedLoginOfTheSameUser) {
  ASSERT_TRUE(StoreLogin("HOMESTORE", "anna", "anna2024"));
  ASSERT_TRUE(StoreLogin("OTHER", "bob", "secret99"));
  drives->AddMapping(Remembered('Z', "HOMESTORE"));
  drives->AddMapping(Remembered('Y', "OTHER"));            // remembered for another user
  drives->AddMapping(Remembered('X', "NOWHERE"));          // no remembered login: keyring only
  drives->AddMapping(Remembered('W', "HOMESTORE", false)); // this session only
  EXPECT_EQ(Run(RunReconnect, {}), ExitStatus::Success);
  EXPECT_EQ(drives->Calls(),
            (std::vector<std::string>{"reconnect X: -", "reconnect Y: -", "reconnect Z: anna"}));
}

TEST_F(CliDrives, ReconnectNamesFailuresInItsStatus) {
  drives->AddMapping(Remembered('Z', "HOMESTORE"));
  drives->AddMapping(Remembered('Y', "HOMESTORE"));
  drives->ScriptResult({DriveCause::Refused, {}});
  EXPECT_EQ(Run(RunReconnect, {}), ExitStatus::Failed);
  EXPECT_EQ(drives->Calls().size(), 2u); // one failure does not stop the others
}

TEST_F(CliDrives, RecordsThatCannotBeReadAreNeverNoDrives) {
  drives->AddMapping(Remembered('Z', "HOMESTORE")); // the table that could be read
  drives->SetRecordsResult({DriveCause::RecordFailed, "/home/anna/.config/Utility/Drives.ini"});
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(Run(RunDrives, {}), ExitStatus::Failed);
  EXPECT_EQ(Run(RunReconnect, {}), ExitStatus::Failed);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find("could not be read"), std::string::npos) << err;
  EXPECT_NE(err.find("Drives.ini"), std::string::npos) << err;
  // What could be read is still reconnected.
  EXPECT_EQ(drives->Calls(), std::vector<std::string>{"reconnect Z: -"});
}

TEST_F(CliDrives, WithoutADesktopServiceNothingIsDone) {
  const std::shared_ptr<NetworkDrives> previous = SetNetworkDrives(nullptr);
  EXPECT_EQ(Run(RunUnmap, {"Z"}), ExitStatus::Failed);
  EXPECT_EQ(Run(RunDrives, {}), ExitStatus::Failed);
  EXPECT_EQ(Run(RunReconnect, {}), ExitStatus::Failed);
  SetNetworkDrives(previous);
}

} // namespace
} // namespace corvesta::cli
