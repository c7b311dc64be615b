// The wizard as the main window launches it, against a simulated box: the
// first-run offer opens it, the user's pages, what the panel shows after the
// run, and a box that leaves the PC's subnet closing it.

#include <QLineEdit>
#include <QTest>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/protocol_timing.h"
#include "nas/replies/wizard_info.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
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
};

void TestMainWindowWizard::init() {
  SetUp(kTimeScale);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({test::AlphaWithAnna("1,1,0,0,0,0")})),
           m_sim->Error().c_str());
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

QTEST_MAIN(TestMainWindowWizard)
#include "tst_main_window_wizard.moc"
