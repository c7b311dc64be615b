// The wizard as the main window launches it, against a simulated box: the
// first-run offer opens it, the user's pages, what the panel shows after the
// run, a box that leaves the PC's subnet closing it, a new address inside the
// subnet that the centers and shares follow, and a volume re-read that fails.

#include <QLineEdit>
#include <QTest>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/protocol_timing.h"
#include "nas/replies/wizard_info.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "platform/text_codec.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/wizard/box_values_page.h"
#include "ui/wizard/drive_mapping_page.h"
#include "ui/wizard/user_name_page.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_ids.h"

using namespace corvesta;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr double kTimeScale = 0.05;
constexpr int kWaitMs = 20000;

int Count(const NasSimProcess &sim, const std::string &command) {
  int count = 0;
  for (const auto &request : sim.Requests()) {
    count += request.bytes.find("cmd=" + command) != std::string::npos ? 1 : 0;
  }
  return count;
}

void WaitLoaded(CWizardDialog *frame) {
  auto *page = dynamic_cast<CBoxValuesPage *>(frame->ActivePage());
  QVERIFY(page != nullptr);
  QTRY_COMPARE_WITH_TIMEOUT(page->Load(), CBoxValuesPage::LoadState::Loaded, kWaitMs);
}

QStringList Messages(const MessageBoxRecorder &recorder) {
  QStringList texts;
  for (const MessageBoxRequest &request : recorder.Requests()) {
    texts << ToQString(request.text);
  }
  return texts;
}

// Where the last request with this cmd value arrived ("address:port").
std::string ArrivedAt(const NasSimProcess &sim, const std::string &command) {
  std::string local;
  for (const auto &request : sim.Requests()) {
    if (request.bytes.find("cmd=" + command) != std::string::npos) {
      local = request.local;
    }
  }
  return local;
}

// Opens the wizard from the window and leaves it at once.
void RunWizardAndExit(CUtilityDlg &window) {
  bool shown = false;
  test::WhenModalShown<CWizardDialog>(
      [&](CWizardDialog *frame) {
        shown = true;
        QTest::mouseClick(frame->GetDlgItem(wizard_ids::kExit), Qt::LeftButton);
      },
      kWaitMs);
  QTest::mouseClick(window.GetDlgItem(main_ids::kWizard), Qt::LeftButton);
  QVERIFY(shown);
}

} // namespace

class TestMainWindowWizard : public QObject, public test::SimWindowFixture {
  Q_OBJECT
private Q_SLOTS:
  void init();
  void cleanup();
  void firstRunOfferRunsTheWizardAndThePanelFollows();
  void aUserGetsTwoPages_data();
  void aUserGetsTwoPages();
  void aBoxThatLeftTheSubnetClosesTheWizard();
  void aNewAddressInsideTheSubnetMovesTheCentersAndShares();
  void aVolumeRereadThatFailsIsTold_data();
  void aVolumeRereadThatFailsIsTold();
};

void TestMainWindowWizard::init() {
  SetUp(kTimeScale);
  json alpha = test::AlphaWithAnna("1,1,0,0,0,0");
  alpha["shares"] = json::array({{{"name", "Photos"}}});
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({alpha})), m_sim->Error().c_str());
}

void TestMainWindowWizard::cleanup() {
  TearDown();
  SetCurrentWizardInfo(WizardInfo{});
}

void TestMainWindowWizard::firstRunOfferRunsTheWizardAndThePanelFollows() {
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::Ok); // the first-run offer
  CUtilityDlg window;
  test::StartListed(window, kWaitMs);
  bool driven = false;
  test::WhenModalShown<CWizardDialog>(
      [&](CWizardDialog *frame) {
        QCOMPARE(frame->Pages().size(), std::size_t(6));
        frame->OnStep(wizard_ids::kSteps[1].button);
        WaitLoaded(frame);
        frame->GetDlgItemAs<QLineEdit>(wizard_ids::kDeviceName)->setText(QStringLiteral("SHELF"));
        frame->OnNext();
        QTRY_COMPARE_WITH_TIMEOUT(frame->ActivePage(), frame->Pages()[2], kWaitMs);
        // The time-zone page's read brings the box's new name; the panel
        // shows what the last read told.
        WaitLoaded(frame);
        driven = true;
        QTest::mouseClick(frame->GetDlgItem(wizard_ids::kExit), Qt::LeftButton);
      },
      kWaitMs);
  test::ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"),
                  QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(driven, kWaitMs);
  QCOMPARE(ToQString(boxes->Requests().at(0).text),
           QStringLiteral("Welcome admin, do you want to go to wizard to setup your KS-310?"));
  // After the run: the volumes read again, the panel as the wizard left the box.
  QTRY_COMPARE_WITH_TIMEOUT(Count(*m_sim, "cgi_Status_Volume_Info"), 2, kWaitMs);
  QCOMPARE(window.InfoPanel()->LineText(0), QStringLiteral("SHELF"));
  QVERIFY(FieldText(CurrentWizardInfo().name, sizeof WizardInfo{}.name).empty());
  QCOMPARE(QString::fromStdString(m_sim->Box("SHELF")->value("name", "")), QStringLiteral("SHELF"));
  // The offer is made once.
  std::u16string firstOpen;
  settings::Read(settings::kSectionUsed, settings::kKeyFirstOpen, firstOpen);
  QCOMPARE(ToQString(firstOpen), QStringLiteral("FALSE"));
}

void TestMainWindowWizard::aUserGetsTwoPages_data() {
  QTest::addColumn<QString>("user");
  QTest::addColumn<QString>("password");
  QTest::newRow("anna") << QStringLiteral("anna") << QStringLiteral("anna2024");
  // Only "admin" itself is the administrator: letter case counts.
  QTest::newRow("Admin") << QStringLiteral("Admin") << QStringLiteral("upper2024");
}

void TestMainWindowWizard::aUserGetsTwoPages() {
  QFETCH(QString, user);
  QFETCH(QString, password);
  const std::optional<json> alpha = m_sim->Box("ALPHA");
  QVERIFY(alpha.has_value());
  json accounts = alpha->at("accounts");
  accounts.push_back({{"user", "Admin"}, {"password", "upper2024"}, {"access", "1,1,0,0,0,0"}});
  QVERIFY(m_sim->Patch("ALPHA", {{"accounts", accounts}}));
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kWaitMs);
  test::ConnectAs(window, QStringLiteral("ALPHA"), user, password);
  QTRY_VERIFY_WITH_TIMEOUT(window.LoggedIn(), kWaitMs);
  bool driven = false;
  test::WhenModalShown<CWizardDialog>(
      [&](CWizardDialog *frame) {
        QCOMPARE(frame->Pages().size(), std::size_t(2));
        QVERIFY(dynamic_cast<CUserNamePage *>(frame->Pages()[0]) != nullptr);
        QVERIFY(dynamic_cast<CDriveMappingPage *>(frame->Pages()[1]) != nullptr);
        for (int step = 1; step <= 4; ++step) {
          QVERIFY(!frame->GetDlgItem(wizard_ids::kSteps[step].button)->isEnabled());
        }
        QVERIFY(frame->GetDlgItem(wizard_ids::kSteps[5].button)->isEnabled());
        QVERIFY(frame->GetDlgItem(wizard_ids::kNext)->isVisible());
        frame->OnSkip();
        QVERIFY(frame->GetDlgItem(wizard_ids::kFinish)->isVisible());
        driven = true;
        QTest::mouseClick(frame->GetDlgItem(wizard_ids::kFinish), Qt::LeftButton);
      },
      kWaitMs);
  QTest::mouseClick(window.GetDlgItem(main_ids::kWizard), Qt::LeftButton);
  QVERIFY(driven);
  QCOMPARE(boxes->Count(), std::size_t(0));
}

void TestMainWindowWizard::aBoxThatLeftTheSubnetClosesTheWizard() {
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::Yes); // the gateway is outside the new subnet
  CUtilityDlg window;
  test::StartListed(window, kWaitMs);
  test::ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"),
                  QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kWaitMs);
  const int volumeReads = Count(*m_sim, "cgi_Status_Volume_Info");
  bool sent = false;
  test::WhenModalShown<CWizardDialog>(
      [&](CWizardDialog *frame) {
        frame->OnStep(wizard_ids::kSteps[3].button);
        WaitLoaded(frame);
        auto *address = frame->GetDlgItemAs<CGdipIpAddrCtl>(wizard_ids::kIpAddress);
        address->SetAddress(127, 5, 0, 9);
        frame->GetDlgItemAs<CGdipIpAddrCtl>(wizard_ids::kSubnetMask)->SetAddress(255, 255, 0, 0);
        frame->OnNext();
        sent = true;
      },
      kWaitMs);
  QTest::mouseClick(window.GetDlgItem(main_ids::kWizard), Qt::LeftButton);
  // The run ended because the main window closed it; it searches again.
  QVERIFY(sent);
  QCOMPARE(boxes->Count(), std::size_t(2));
  QVERIFY(ToQString(boxes->Requests()[1].text).contains(QStringLiteral("127.5.0.9")));
  QVERIFY(window.State() == UiState::Searching || window.State() == UiState::Listed);
  QVERIFY(!window.LoggedIn());
  QTest::qWait(300);
  QCOMPARE(Count(*m_sim, "cgi_Status_Volume_Info"), volumeReads);
}

// The network page moves the box inside the PC's subnet: from then on the
// web centers, the shares, the volume list and the next login all go to the
// box's new address, the one the login was not made at.
void TestMainWindowWizard::aNewAddressInsideTheSubnetMovesTheCentersAndShares() {
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  ScopedMessageBoxRecorder boxes;
  ScopedShellOpenRecorder opened;
  CUtilityDlg window;
  test::StartListed(window, kWaitMs);
  test::ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"),
                  QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kWaitMs);
  bool moved = false;
  test::WhenModalShown<CWizardDialog>(
      [&](CWizardDialog *frame) {
        frame->OnStep(wizard_ids::kSteps[3].button);
        WaitLoaded(frame);
        frame->GetDlgItemAs<CGdipIpAddrCtl>(wizard_ids::kIpAddress)->SetAddress(127, 0, 0, 21);
        frame->GetDlgItemAs<CGdipIpAddrCtl>(wizard_ids::kSubnetMask)->SetAddress(255, 255, 255, 0);
        frame->GetDlgItemAs<CGdipIpAddrCtl>(wizard_ids::kGateway)->SetAddress(127, 0, 0, 1);
        frame->OnNext();
        // Logged in again at the new address, the wizard moves on.
        QTRY_COMPARE_WITH_TIMEOUT(frame->ActivePage(), frame->Pages()[4], kWaitMs);
        moved = true;
        QTest::mouseClick(frame->GetDlgItem(wizard_ids::kExit), Qt::LeftButton);
      },
      kWaitMs);
  QTest::mouseClick(window.GetDlgItem(main_ids::kWizard), Qt::LeftButton);
  QVERIFY(moved);
  QCOMPARE(QString::fromStdString(m_sim->Box("ALPHA")->value("ip", "")),
           QStringLiteral("127.0.0.21"));
  QVERIFY(window.LoggedIn());
  QCOMPARE(window.InfoPanel()->LineText(1), QStringLiteral("IP:127.0.0.21"));
  QTRY_VERIFY_WITH_TIMEOUT(ArrivedAt(*m_sim, "cgi_Status_Volume_Info").rfind("127.0.0.21:", 0) == 0,
                           kWaitMs);

  for (int center :
       {main_ids::kManagementCenter, main_ids::kDownloadCenter, main_ids::kBackupCenter,
        main_ids::kFileCenter, main_ids::kSurveillanceCenter}) {
    window.OnCommand(center);
    QVERIFY(!opened->Links().empty());
    const QString link = ToQString(opened->Links().back());
    QVERIFY2(link.startsWith(QStringLiteral("http://127.0.0.21/")), qPrintable(link));
  }
  QCOMPARE(opened->Links().size(), std::size_t(5));

  QTest::mouseClick(window.GetDlgItem(main_ids::kFolder), Qt::LeftButton);
  CFolderListCtrl *folders = window.InfoPanel()->FolderList();
  QTRY_COMPARE_WITH_TIMEOUT(folders->FolderCount(), 1, kWaitMs);
  QTest::mouseDClick(folders, Qt::LeftButton, Qt::NoModifier, folders->CellRect(0).center());
  QTRY_COMPARE_WITH_TIMEOUT(opened->Shares().size(), std::size_t(1), kWaitMs);
  QCOMPARE(ToQString(opened->Shares()[0].host), QStringLiteral("127.0.0.21"));
  QCOMPARE(ToQString(opened->Shares()[0].path), QStringLiteral("Photos"));

  // The next login goes to the box where it is now.
  QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
  const int logins = Count(*m_sim, "login&");
  test::ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"),
                  QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kWaitMs);
  QCOMPARE(Count(*m_sim, "login&"), logins + 1);
  QVERIFY(ArrivedAt(*m_sim, "login&").rfind("127.0.0.21:", 0) == 0);
  QCOMPARE(Messages(*boxes), QStringList());
}

void TestMainWindowWizard::aVolumeRereadThatFailsIsTold_data() {
  QTest::addColumn<QByteArray>("fault");
  QTest::newRow("refused") << QByteArray(R"({"refuse_connections": true})");
  QTest::newRow("unanswered") << QByteArray(
      R"({"http": {"cgi_Status_Volume_Info": {"drop": true}}})");
  QTest::newRow("broken XML") << QByteArray(
      R"({"http": {"cgi_Status_Volume_Info": {"broken_xml": true}}})");
}

// The volumes read again after the wizard: a failure is told as at login.
void TestMainWindowWizard::aVolumeRereadThatFailsIsTold() {
  QFETCH(QByteArray, fault);
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kWaitMs);
  test::ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"),
                  QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kWaitMs);
  QVERIFY(m_sim->SetFaults("ALPHA", json::parse(fault.toStdString())));
  RunWizardAndExit(window);
  QTRY_COMPARE_WITH_TIMEOUT(Messages(*boxes),
                            QStringList{QStringLiteral("Get Volume Information failed.")}, kWaitMs);
  QVERIFY(window.LoggedIn());
  // The panel keeps what it showed.
  QVERIFY(window.InfoPanel()->isVisible());
  QCOMPARE(window.InfoPanel()->VolumeCount(), 1);
}

QTEST_MAIN(TestMainWindowWizard)
#include "tst_main_window_wizard.moc"
