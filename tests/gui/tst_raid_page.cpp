// The disk mode page and the format progress dialog against a simulated box
// in the test's network namespace: the options the disks allow, what Next
// refuses before anything is sent, the rebuild question, and the chain in
// the dialog through every end (completed, failed formatting, refused or
// lost steps, a silent or slow box), always closable once it has ended.

#include <QAccessible>
#include <QTest>
#include <algorithm>

#include "i18n/own_texts.h"
#include "main_test_support.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/adapter_table.h"
#include "platform/message_box.h"
#include "platform/message_queue_target.h"
#include "platform/text_codec.h"
#include "support/clean_records.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/idle_hold.h"
#include "ui/qt_text.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/gdip_process_ctrl.h"
#include "ui/skin/icon_radio_button.h"
#include "ui/skin/trans_static.h"
#include "ui/wizard/disk_ids.h"
#include "ui/wizard/process_dialog.h"
#include "ui/wizard/raid_page.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_launch.h"
#include "wizard_sim_test.h"

using namespace corvesta;
using namespace corvesta::disk_ids;
using corvesta::test::NasSimProcess;
using corvesta::test::SimRequest;
using nlohmann::json;

namespace {

using corvesta::test::kBoxIp;
using corvesta::test::kPassword;
using corvesta::test::kTimeScale; // also: no state answer for 3 s ends the polling
using corvesta::test::kWaitMs;
constexpr std::size_t kRaidPage = 4;
constexpr std::size_t kDriveMappingPage = 5;

const QString kCompletion = QStringLiteral(
    "Congratulations!! The Formation process is complete.Please enter the OK button to finish "
    "the Wizard. Thanks.");

json Disk(const char *device, int size) {
  return json{{"device", device}, {"size_gib", size}};
}

json Box(json disks) {
  json box = NasSimProcess::MakeBox("ALPHA", kBoxIp, "02:aa:00:00:00:02", kPassword);
  box["disks"] = std::move(disks);
  box["format_seconds"] = 1;
  return box;
}

json TwoDisks() {
  return json::array({Disk("sda", 1000), Disk("sdb", 1000)});
}

// What the box was asked, in order: the cmd value of a CGI request, "disks"
// and "state" for the two XML files.
QStringList Steps(const NasSimProcess &sim) {
  QStringList steps;
  for (const SimRequest &request : sim.Requests()) {
    if (request.transport != "tcp") {
      continue;
    }
    const std::string &bytes = request.bytes;
    const std::string firstLine = bytes.substr(0, bytes.find('\r'));
    if (firstLine.find("current_hd_info.xml") != std::string::npos) {
      steps << QStringLiteral("disks");
    } else if (firstLine.find("dm_read_state.xml") != std::string::npos) {
      steps << QStringLiteral("state");
    } else if (const auto cmd = bytes.find("cmd="); cmd != std::string::npos) {
      const auto end = bytes.find('&', cmd);
      steps << QString::fromStdString(
          bytes.substr(cmd + 4, end == std::string::npos ? std::string::npos : end - cmd - 4));
    }
  }
  return steps;
}

const QStringList kWholeChain{
    QStringLiteral("cgi_AJAXPlorer_Stop"), QStringLiteral("cgi_FMT_Create_DiskMGR"),
    QStringLiteral("cgi_Disk_Remount"), QStringLiteral("cgi_Check_Disk_Remount_State"),
    QStringLiteral("cgi_FMT_Disk_Finish")};

// The steps of the formatting chain the box was asked, in order, polls left
// out.
QStringList ChainSteps(const NasSimProcess &sim) {
  QStringList steps = Steps(sim);
  steps.removeIf([](const QString &step) { return !kWholeChain.contains(step); });
  return steps;
}

QString Text(QWidget *label) {
  auto *text = qobject_cast<CTransStatic *>(label);
  return text == nullptr ? QString() : text->Text();
}

QString BoxText(const MessageBoxRequest &request) {
  return ToQString(request.text);
}

} // namespace

class TestRaidPage : public test::WizardSimTest {
  Q_OBJECT
private Q_SLOTS:
  void init();
  void cleanup();
  void diskReports_data();
  void diskReports();
  void aDiskRemovedBetweenVisitsLeavesStandAloneChosen();
  void aFailedReadAfterAGoodOneLeavesNextSilent();
  void nextIsRefusedBeforeTheQuestion_data();
  void nextIsRefusedBeforeTheQuestion();
  void cancelOnTheQuestionSendsNothing();
  void theWholeRunFromThePageToTheNextPage();
  void aFormattingThatFailsPartWayEndsAsAFailure();
  void everyEndOfAFailedStepIsReadable_data();
  void everyEndOfAFailedStepIsReadable();
  void silentStatePollsEndTheDialogWithoutARemount();
  void lateStateAnswersNeverOverlap();

private:
  // A frame for the administrator, shown at the disk mode page.
  void Open();
  CRaidPage *Page() const { return static_cast<CRaidPage *>(m_pages->Page(kRaidPage)); }
  CIconRadioButton *Option(int id) const { return m_frame->GetDlgItemAs<CIconRadioButton>(id); }
  // Next on the page, the question answered with OK: the dialog opens.
  CProcessDialog *StartFormat(ScopedMessageBoxRecorder &boxes);
  // Waits for the chain's end; the dialog then shows it.
  void WaitEnded(CProcessDialog *dialog);
  // The box holds one volume, of this mode and size.
  void VerifyOneVolume(const char *mode, long long gib);
  void CheckEndedAndClosable(CProcessDialog *dialog, const QString &message, bool succeeded);
};

void TestRaidPage::init() {
  StartFixture(kTimeScale);
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
}

void TestRaidPage::cleanup() {
  // No request is left running and no hold on the idle logout.
  EndFixture(kWaitMs);
  QTRY_VERIFY_WITH_TIMEOUT(!IdleLogoutHeld(), kWaitMs);
  ReleaseFixture();
}

void TestRaidPage::Open() {
  OpenFrame("ALPHA", kBoxIp);
  m_frame->OnStep(wizard_ids::kSteps[kRaidPage].button);
  QCOMPARE(m_frame->ActivePage(), m_pages->Page(kRaidPage));
}

CProcessDialog *TestRaidPage::StartFormat(ScopedMessageBoxRecorder &boxes) {
  if (!QTest::qWaitFor([this] { return Page()->ReportReceived(); }, kWaitMs)) {
    return nullptr;
  }
  const std::size_t before = boxes->Count();
  boxes->QueueAnswer(MessageBoxResult::Ok);
  m_frame->OnNext();
  if (boxes->Count() != before + 1 || Page()->Dialog() == nullptr) {
    return nullptr;
  }
  CProcessDialog *dialog = Page()->Dialog();
  if (!dialog->isVisible() || dialog->windowModality() != Qt::WindowModal) {
    return nullptr;
  }
  return dialog;
}

void TestRaidPage::WaitEnded(CProcessDialog *dialog) {
  QTRY_VERIFY_WITH_TIMEOUT(dialog->Outcome().has_value(), kWaitMs);
}

void TestRaidPage::VerifyOneVolume(const char *mode, long long gib) {
  const json box = m_sim->Box("ALPHA").value_or(json::object());
  const json volumes = box.value("volumes", json::array());
  QCOMPARE(int(volumes.size()), 1);
  QCOMPARE(QString::fromStdString(volumes[0].value("mode", "")), QString::fromLatin1(mode));
  QCOMPARE(volumes[0].value("total_kib", 0LL), gib * 1024 * 1024);
}

void TestRaidPage::CheckEndedAndClosable(CProcessDialog *dialog, const QString &message,
                                         bool succeeded) {
  QVERIFY(!dialog->Running());
  QCOMPARE(Text(dialog->GetDlgItem(kText)), message);
  QCOMPARE(Text(dialog->GetDlgItem(kTitle)),
           succeeded ? QStringLiteral("Complete") : QStringLiteral("Format Hard Drives"));
  QVERIFY(dialog->GetDlgItem(kIcon)->isVisible());
  // A screen reader hears the end as it is shown: the window and its labels
  // are named by the texts now on screen.
  QCOMPARE(QAccessible::queryAccessibleInterface(dialog)->text(QAccessible::Name),
           Text(dialog->GetDlgItem(kTitle)));
  for (int id : {kTitle, kText}) {
    QAccessibleInterface *label = QAccessible::queryAccessibleInterface(dialog->GetDlgItem(id));
    QCOMPARE(label->role(), QAccessible::StaticText);
    QCOMPARE(label->text(QAccessible::Name), Text(dialog->GetDlgItem(id)));
  }
  QVERIFY(!dialog->GetDlgItem(kProgress)->isVisible());
  QVERIFY(!dialog->GetDlgItem(kPercent)->isVisible());
  for (int id : {kOk, kCancel, kClose}) {
    QVERIFY2(dialog->GetDlgItem(id)->isEnabled(), qPrintable(QString::number(id)));
  }
  QVERIFY(!IdleLogoutHeld());
}

// ---------------------------------------------------------------- reports

void TestRaidPage::diskReports_data() {
  QTest::addColumn<json>("box");
  // StandAlone, JBOD, RAID 0, RAID 1 enabled; "" for no message.
  QTest::addColumn<QString>("enabled");
  QTest::addColumn<QString>("message");

  const QString noDisk = QStringLiteral("No hard disk is detected.");
  const QString readFailed = QStringLiteral("Get wizard information failed.");
  QTest::newRow("one disk") << Box(json::array({Disk("sda", 500)})) << "1000" << QString();
  QTest::newRow("two disks") << Box(TwoDisks()) << "1111" << QString();
  QTest::newRow("none") << Box(json::array()) << "0000" << noDisk;
  json three = Box(TwoDisks());
  three["disk_count"] = 3;
  QTest::newRow("three") << three << "0000" << noDisk;
  json refused = Box(TwoDisks());
  refused["faults"] = {{"http", {{"current_hd_info.xml", {{"status", 500}}}}}};
  QTest::newRow("read refused") << refused << "0000" << readFailed;
  json dropped = Box(TwoDisks());
  dropped["faults"] = {{"http", {{"current_hd_info.xml", {{"drop", true}}}}}};
  QTest::newRow("read dropped") << dropped << "0000" << readFailed;
}

void TestRaidPage::diskReports() {
  QFETCH(json, box);
  QFETCH(QString, enabled);
  QFETCH(QString, message);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  const int ids[] = {kStandalone, kJbod, kRaid0, kRaid1};
  if (message.isEmpty()) {
    QTRY_VERIFY_WITH_TIMEOUT(Page()->ReportReceived(), kWaitMs);
  } else {
    QTRY_COMPARE_WITH_TIMEOUT(boxes->Count(), std::size_t(1), kWaitMs);
    QCOMPARE(BoxText(boxes->Requests()[0]), message);
  }
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(Option(ids[i])->isEnabled(), enabled[i] == QLatin1Char('1'));
  }
  if (enabled == QStringLiteral("1000")) {
    QVERIFY(Option(kStandalone)->GetCheck());
  }
  if (!message.isEmpty()) {
    // Next tells nothing new after a failed read and sends nothing.
    m_frame->OnNext();
    QTest::qWait(200);
    QCOMPARE(m_frame->ActivePage(), m_pages->Page(kRaidPage));
    QVERIFY(Page()->Dialog() == nullptr);
    for (const MessageBoxRequest &shown : boxes->Requests()) {
      QCOMPARE(BoxText(shown), message); // no question
    }
    QVERIFY(ChainSteps(*m_sim).isEmpty());
  }
}

void TestRaidPage::aDiskRemovedBetweenVisitsLeavesStandAloneChosen() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box(TwoDisks())})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  QTRY_VERIFY_WITH_TIMEOUT(Option(kRaid1)->isEnabled(), kWaitMs);
  // Arrows move through the one group of options, Space checks.
  m_frame->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
  Option(kStandalone)->setFocus(Qt::TabFocusReason);
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  }
  QCOMPARE(QApplication::focusWidget(), Option(kRaid1));
  QTest::keyClick(Option(kRaid1), Qt::Key_Space);
  QVERIFY(Option(kRaid1)->GetCheck());
  QTRY_VERIFY(!Option(kStandalone)->GetCheck()); // the others are unchecked by message

  // The second disk goes; the next visit reads the disks again.
  QVERIFY(m_sim->Patch("ALPHA", {{"disks", json::array({Disk("sda", 500)})}}));
  m_frame->OnStep(wizard_ids::kSteps[3].button);
  m_frame->OnStep(wizard_ids::kSteps[kRaidPage].button);
  QTRY_COMPARE_WITH_TIMEOUT(Page()->DiskState(), 1, kWaitMs);
  QVERIFY(!Option(kRaid1)->isEnabled());
  QVERIFY(Option(kStandalone)->GetCheck());
  QVERIFY(!Option(kRaid1)->GetCheck());

  CProcessDialog *dialog = StartFormat(boxes);
  QVERIFY(dialog != nullptr);
  WaitEnded(dialog);
  VerifyOneVolume("standard", 497);
}

void TestRaidPage::aFailedReadAfterAGoodOneLeavesNextSilent() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box(TwoDisks())})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  QTRY_VERIFY_WITH_TIMEOUT(Page()->ReportReceived(), kWaitMs);
  QVERIFY(m_sim->SetFaults("ALPHA", {{"http", {{"current_hd_info.xml", {{"drop", true}}}}}}));
  m_frame->OnStep(wizard_ids::kSteps[3].button);
  m_frame->OnStep(wizard_ids::kSteps[kRaidPage].button);
  QTRY_COMPARE_WITH_TIMEOUT(boxes->Count(), std::size_t(1), kWaitMs);
  QCOMPARE(BoxText(boxes->Requests()[0]), QStringLiteral("Get wizard information failed."));
  QVERIFY(!Option(kStandalone)->isEnabled());
  // The earlier report does not count: Next asks nothing and sends nothing.
  boxes->QueueAnswer(MessageBoxResult::Ok);
  m_frame->OnNext();
  QCOMPARE(boxes->Count(), std::size_t(1));
  QVERIFY(Page()->Dialog() == nullptr);
  QTest::qWait(200);
  QVERIFY(ChainSteps(*m_sim).isEmpty());
}

// ---------------------------------------------------------------- Next

void TestRaidPage::nextIsRefusedBeforeTheQuestion_data() {
  QTest::addColumn<json>("disks");
  QTest::addColumn<QString>("message");
  QTest::newRow("names beyond the field")
      << json::array({Disk("nvme0n1", 1000), Disk("nvme1n1", 1000)})
      << ToQString(kDiskNamesTooLongText);
  QTest::newRow("disks too small")
      << json::array({Disk("sda", 2)}) << ToQString(kDisksTooSmallText);
}

void TestRaidPage::nextIsRefusedBeforeTheQuestion() {
  QFETCH(json, disks);
  QFETCH(QString, message);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box(disks)})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  QTRY_VERIFY_WITH_TIMEOUT(Page()->ReportReceived(), kWaitMs);
  boxes->QueueAnswer(MessageBoxResult::Ok); // would confirm a question, were there one
  m_frame->OnNext();
  QCOMPARE(boxes->Count(), std::size_t(1));
  QCOMPARE(BoxText(boxes->Requests()[0]), message);
  QVERIFY(Page()->Dialog() == nullptr);
  QVERIFY(m_frame->GetDlgItem(wizard_ids::kNext)->isVisible());
  QTest::qWait(100);
  QVERIFY(ChainSteps(*m_sim).isEmpty());
}

void TestRaidPage::cancelOnTheQuestionSendsNothing() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box(TwoDisks())})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  QTRY_VERIFY_WITH_TIMEOUT(Page()->ReportReceived(), kWaitMs);
  boxes->QueueAnswer(MessageBoxResult::Cancel);
  m_frame->OnNext();
  QCOMPARE(boxes->Count(), std::size_t(1));
  const MessageBoxRequest question = boxes->Requests()[0];
  QCOMPARE(ToQString(question.caption), QStringLiteral("Warning"));
  QCOMPARE(question.buttons, MessageBoxButtons::OkCancel);
  QVERIFY(question.englishButtons);
  QVERIFY(Page()->Dialog() == nullptr);
  QCOMPARE(m_frame->ActivePage(), m_pages->Page(kRaidPage));
  QVERIFY(m_frame->GetDlgItem(wizard_ids::kNext)->isVisible());
  QTest::qWait(300);
  QVERIFY(ChainSteps(*m_sim).isEmpty());
}

// ---------------------------------------------------------------- the chain

void TestRaidPage::theWholeRunFromThePageToTheNextPage() {
  json box = Box(TwoDisks());
  box["format_seconds"] = 2;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  QTRY_VERIFY_WITH_TIMEOUT(Option(kRaid1)->isEnabled(), kWaitMs);
  QTest::mouseClick(Option(kRaid1), Qt::LeftButton);
  QTRY_VERIFY(!Option(kStandalone)->GetCheck());
  CProcessDialog *dialog = StartFormat(boxes);
  QVERIFY(dialog != nullptr);
  QVERIFY(IdleLogoutHeld());
  for (int id : {kOk, kCancel, kClose}) {
    QVERIFY(!dialog->GetDlgItem(id)->isEnabled());
  }
  QCOMPARE(Text(dialog->GetDlgItem(kPercent)), QStringLiteral("0%"));
  QVERIFY(!dialog->GetDlgItem(kIcon)->isVisible());

  // The percentage rises while the box formats; Escape and the window's
  // close change nothing meanwhile.
  auto *bar = dialog->GetDlgItemAs<CGdipProcessCtrl>(kProgress);
  QTRY_VERIFY_WITH_TIMEOUT(bar->GetPos() > 0 && bar->GetPos() < 100, kWaitMs);
  QCOMPARE(Text(dialog->GetDlgItem(kPercent)), QStringLiteral("%1%").arg(bar->GetPos()));
  QTest::keyClick(dialog, Qt::Key_Escape);
  dialog->close();
  QVERIFY(dialog->isVisible());
  QVERIFY(dialog->Running());
  const int seen = bar->GetPos();
  QTRY_VERIFY_WITH_TIMEOUT(bar->GetPos() > seen || !dialog->Running(), kWaitMs);

  WaitEnded(dialog);
  CheckEndedAndClosable(dialog, kCompletion, true);
  QVERIFY(dialog->Outcome()->Succeeded());
  QCOMPARE(ChainSteps(*m_sim), kWholeChain);                 // each step once, in order
  QCOMPARE(m_frame->ActivePage(), m_pages->Page(kRaidPage)); // until the dialog closes
  // The volume line as the box received it.
  std::string create;
  for (const SimRequest &request : m_sim->Requests()) {
    if (request.bytes.find("cmd=cgi_FMT_Create_DiskMGR") != std::string::npos) {
      create = request.bytes;
    }
  }
  QVERIFY2(create.find("f_create_volume_info=1,raid1,ext4,997,sdasdb,none,0,1,997,0,none,1,0,0,"
                       "null&") != std::string::npos,
           create.c_str());
  QVERIFY2(create.find("f_auto_sync=1") != std::string::npos, create.c_str());

  QTest::mouseClick(dialog->GetDlgItem(kOk), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kDriveMappingPage), kWaitMs);
  QVERIFY(!Page()->ReportReceived());
  QCOMPARE(boxes->Count(), std::size_t(1)); // the question only

  VerifyOneVolume("raid1", 997);
}

void TestRaidPage::aFormattingThatFailsPartWayEndsAsAFailure() {
  json box = Box(TwoDisks());
  box["faults"] = {{"format_errcode", 0}, {"format_fail_percent", 40}};
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  CProcessDialog *dialog = StartFormat(boxes);
  QVERIFY(dialog != nullptr);
  WaitEnded(dialog);
  CheckEndedAndClosable(dialog, QStringLiteral("format error."), false);
  // Remounted, checked and finished once each all the same.
  QCOMPARE(ChainSteps(*m_sim), kWholeChain);
  QVERIFY(dialog->Outcome()->completed);
  QVERIFY(!dialog->Outcome()->formatted);
  QTest::mouseClick(dialog->GetDlgItem(kCancel), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kDriveMappingPage), kWaitMs);
}

void TestRaidPage::everyEndOfAFailedStepIsReadable_data() {
  QTest::addColumn<json>("faults");
  QTest::addColumn<QString>("message");
  // The chain's steps the box received, as indexes into kWholeChain: after
  // the file browser was stopped (or may have been), a failure sends the
  // finish that starts it again.
  QTest::addColumn<QList<int>>("sent");

  auto refuse = [](const char *command) { return json{{"http", {{command, {{"refuse", true}}}}}}; };
  auto fault = [](const char *command, json how) { return json{{"http", {{command, how}}}}; };
  const QString settingFailed = QStringLiteral("setting failed.");
  // The stop's answer is taken whatever it says; the box then refuses the
  // creation, its file browser still running.
  QTest::newRow("stop refused") << refuse("cgi_AJAXPlorer_Stop") << settingFailed
                                << QList<int>{0, 1, 4};
  QTest::newRow("creation refused")
      << refuse("cgi_FMT_Create_DiskMGR") << settingFailed << QList<int>{0, 1, 4};
  QTest::newRow("remount refused")
      << refuse("cgi_Disk_Remount") << QStringLiteral("Set Remount failed.")
      << QList<int>{0, 1, 2, 4};
  QTest::newRow("check refused") << refuse("cgi_Check_Disk_Remount_State")
                                 << QStringLiteral("CheckDiskRemountState  failed.")
                                 << QList<int>{0, 1, 2, 3, 4};
  QTest::newRow("finish refused") << refuse("cgi_FMT_Disk_Finish") << settingFailed
                                  << QList<int>{0, 1, 2, 3, 4};
  QTest::newRow("stop dropped") << fault("cgi_AJAXPlorer_Stop", {{"drop", true}}) << settingFailed
                                << QList<int>{0, 4};
  // The volumes may have been made: the box is not known to have refused.
  QTest::newRow("creation status 500") << fault("cgi_FMT_Create_DiskMGR", {{"status", 500}})
                                       << ToQString(kChangeMayHaveBeenMadeText) << QList<int>{0, 1};
  QTest::newRow("remount broken XML")
      << fault("cgi_Disk_Remount", {{"broken_xml", true}}) << QStringLiteral("Set Remount failed.")
      << QList<int>{0, 1, 2, 4};
  QTest::newRow("finish silent") << fault("cgi_FMT_Disk_Finish", {{"delay_ms", 20000}})
                                 << settingFailed << QList<int>{0, 1, 2, 3, 4};
  QTest::newRow("connections refused")
      << json{{"refuse_connections", true}} << settingFailed << QList<int>{};
}

void TestRaidPage::everyEndOfAFailedStepIsReadable() {
  QFETCH(json, faults);
  QFETCH(QString, message);
  QFETCH(QList<int>, sent);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box(TwoDisks())})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  QTRY_VERIFY_WITH_TIMEOUT(Page()->ReportReceived(), kWaitMs);
  QVERIFY(m_sim->SetFaults("ALPHA", faults));
  CProcessDialog *dialog = StartFormat(boxes);
  QVERIFY(dialog != nullptr);
  WaitEnded(dialog);
  CheckEndedAndClosable(dialog, message, false);
  QTest::qWait(300); // nothing more follows
  QStringList expected;
  for (int step : sent) {
    expected << kWholeChain[step];
  }
  QCOMPARE(ChainSteps(*m_sim).join(QLatin1Char(' ')), expected.join(QLatin1Char(' ')));
  // Closable by Escape now; the wizard moves on.
  QTest::keyClick(dialog, Qt::Key_Escape);
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kDriveMappingPage), kWaitMs);
  QCOMPARE(boxes->Count(), std::size_t(1)); // the question only
}

void TestRaidPage::silentStatePollsEndTheDialogWithoutARemount() {
  json box = Box(TwoDisks());
  box["format_seconds"] = 30;
  box["faults"] = {{"http", {{"dm_read_state.xml", {{"delay_ms", 20000}}}}}};
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  CProcessDialog *dialog = StartFormat(boxes);
  QVERIFY(dialog != nullptr);
  WaitEnded(dialog);
  CheckEndedAndClosable(dialog, ToQString(kFormatStateLostText), false);
  QCOMPARE(ChainSteps(*m_sim), kWholeChain.mid(0, 2));
  QVERIFY(Steps(*m_sim).contains(QStringLiteral("state")));
}

void TestRaidPage::lateStateAnswersNeverOverlap() {
  // Each state answer comes 2.5 poll periods late.
  json box = Box(TwoDisks());
  box["faults"] = {{"http", {{"dm_read_state.xml", {{"delay_ms", 125}}}}}};
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  Open();
  CProcessDialog *dialog = StartFormat(boxes);
  QVERIFY(dialog != nullptr);
  WaitEnded(dialog);
  CheckEndedAndClosable(dialog, kCompletion, true);
  QCOMPARE(ChainSteps(*m_sim), kWholeChain); // one remount
  // A poll goes out only after the previous one's answer: never closer
  // than the box's delay.
  std::vector<double> polls;
  for (const SimRequest &request : m_sim->Requests()) {
    if (request.bytes.find("dm_read_state.xml") != std::string::npos) {
      polls.push_back(request.time);
    }
  }
  QVERIFY(polls.size() >= 2);
  for (std::size_t i = 1; i < polls.size(); ++i) {
    QVERIFY2(polls[i] - polls[i - 1] >= 0.120,
             qPrintable(QString::number(polls[i] - polls[i - 1])));
  }
}

QTEST_MAIN(TestRaidPage)
#include "tst_raid_page.moc"
