// A new user's first drive, as anna would make it: in the wizard (offscreen)
// in a desktop session of her own against the box's real Samba server
// (scripts/sim-netns --samba with tests/desktop/boxes.json). She skips the
// password page, sees the shares she may use, picks Z: for Photos and finds
// the share's files under ~/Drives/Z.

#include <QAbstractButton>
#include <QTest>
#include <fstream>
#include <sstream>

#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "platform/gio/gio_network_drives.h"
#include "platform/message_box.h"
#include "platform/message_queue_target.h"
#include "platform/text_codec.h"
#include "ui/qt_text.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/wizard/drive_mapping_page.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_launch.h"

using namespace corvesta;
using namespace corvesta::wizard_ids;
namespace fs = std::filesystem;

namespace {
constexpr int kWaitMs = 20000;
constexpr std::size_t kDrivePageOrder = 5;
} // namespace

class TestNewUserDrive : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void annaMapsPhotosToZ();
};

void TestNewUserDrive::annaMapsPhotosToZ() {
  const char *sambaRoot = std::getenv("SAMBA_ROOT");
  if (sambaRoot == nullptr) {
    QSKIP("runs under scripts/sim-netns --samba only");
  }
  QVERIFY(InstallGioNetworkDrives());
  const fs::path photos = fs::path(sambaRoot) / "HOMESTORE" / "shares" / "Photos";
  std::ofstream(photos / "holiday.txt") << "beach";

  const std::uint64_t generation = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(generation, [](std::vector<NasDevice> &devices) {
    NasDevice box;
    CopyToField(box.name, sizeof box.name, "HOMESTORE");
    CopyToField(box.ip, sizeof box.ip, "127.0.0.3");
    CopyToField(box.netmask, sizeof box.netmask, "255.0.0.0");
    devices.push_back(box);
  });
  SetCurrentCredentials(MakeCredentials("anna", "anna2024"));
  ScopedMessageBoxRecorder boxes;
  MessageQueueTarget owner;
  WizardPageSet pages;
  CWizardDialog frame(nullptr, owner.Handle(), false);
  AddWizardPages(frame, pages, false, 0);
  frame.Initialise();
  frame.show();

  frame.GetDlgItemAs<QAbstractButton>(kSkip)->click();
  auto *page = static_cast<CDriveMappingPage *>(pages.Page(kDrivePageOrder));
  QCOMPARE(frame.ActivePage(), page);
  CGdipListCtrl *list = page->List();
  QTRY_COMPARE_WITH_TIMEOUT(list->GetItemCount(), 2, kWaitMs);
  QCOMPARE(list->GetItemText(0, 0), QStringLiteral("Public"));
  QCOMPARE(list->GetItemText(1, 0), QStringLiteral("Photos"));
  QCOMPARE(list->GetItemText(1, 1), QStringLiteral("select"));

  list->EndCellEdit(1, 1, QStringLiteral("Z:"));
  QTRY_VERIFY_WITH_TIMEOUT(boxes->Count() >= 1, kWaitMs);
  QCOMPARE(ToQString(boxes->Requests().at(0).text), QStringLiteral("Mount is successful."));
  QCOMPARE(list->GetItemText(1, 1), QStringLiteral("Z:"));

  const fs::path drive = fs::path(std::getenv("HOME")) / "Drives" / "Z";
  std::ifstream in(drive / "holiday.txt");
  std::stringstream text;
  text << in.rdbuf();
  QCOMPARE(QString::fromStdString(text.str()), QStringLiteral("beach"));

  frame.GetDlgItemAs<QAbstractButton>(kFinish)->click();
  // The drive outlives the wizard; the test removes it again.
  const std::shared_ptr<NetworkDrives> drives = CurrentNetworkDrives();
  QVERIFY(drives->Unmap('Z', {}).Ok());
  ClearCurrentCredentials();
}

QTEST_MAIN(TestNewUserDrive)
#include "tst_new_user_drive.moc"
