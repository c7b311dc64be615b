// The wizard's pages against a simulated box in the test's network
// namespace: what each page shows from the box, what Next sends (and what it
// never sends), the network change in and out of the PC's subnet, and the
// demo's new box through the wizard to a RAID 1 volume and Finish.

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <fstream>

#include "app/remembered_settings.h"
#include "i18n/current_language.h"
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
#include "ui/qt_text.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/skin/icon_radio_button.h"
#include "ui/wizard/disk_ids.h"
#include "ui/wizard/network_page.h"
#include "ui/wizard/process_dialog.h"
#include "ui/wizard/raid_page.h"
#include "ui/wizard/time_zone_page.h"
#include "ui/wizard/user_group_page.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_launch.h"
#include "wizard_sim_test.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace corvesta::wizard_ids;
using corvesta::test::NasSimProcess;
using corvesta::test::SimRequest;
using nlohmann::json;

namespace {

using corvesta::test::kBoxIp;
using corvesta::test::kPassword;
using corvesta::test::kTimeScale;
using corvesta::test::kWaitMs;
enum Order : std::size_t { kPasswordPage, kDeviceInfoPage, kTimeZonePage, kNetworkPage, kRaidPage };

json Box() {
  json box = NasSimProcess::MakeBox("ALPHA", kBoxIp, "02:aa:00:00:00:02", kPassword);
  box["workgroup"] = "HOME";
  box["description"] = "Shelf";
  box["timezone"] = 37;
  box["dns1"] = "127.0.0.1";
  box["disks"] = json::array(
      {json{{"device", "sda"}, {"size_gib", 1000}}, json{{"device", "sdb"}, {"size_gib", 1000}}});
  return box;
}

// The cmd values of the web requests the box received, in order.
QStringList Commands(const NasSimProcess &sim) {
  QStringList commands;
  for (const SimRequest &request : sim.Requests()) {
    if (request.transport != "tcp") {
      continue;
    }
    const auto cmd = request.bytes.find("cmd=");
    if (cmd == std::string::npos) {
      continue;
    }
    const auto end = request.bytes.find('&', cmd);
    commands << QString::fromStdString(request.bytes.substr(
        cmd + 4, end == std::string::npos ? std::string::npos : end - cmd - 4));
  }
  return commands;
}

// The body of the last request with this cmd value; empty when none.
std::string LastBody(const NasSimProcess &sim, const std::string &command) {
  std::string body;
  for (const SimRequest &request : sim.Requests()) {
    if (request.bytes.find("cmd=" + command) != std::string::npos) {
      body = request.bytes;
    }
  }
  return body;
}

QStringList Messages(const MessageBoxRecorder &recorder) {
  QStringList texts;
  for (const MessageBoxRequest &request : recorder.Requests()) {
    texts << ToQString(request.text);
  }
  return texts;
}

QString BoxText(NasSimProcess &sim, const char *key, const char *box = "ALPHA") {
  const auto state = sim.Box(box);
  return state ? QString::fromStdString(state->value(key, std::string())) : QString();
}

} // namespace

class TestWizardPages : public test::WizardSimTest {
  Q_OBJECT
private Q_SLOTS:
  void init();
  void cleanup();
  void passwordPage_data();
  void passwordPage();
  void aPasswordWhoseAnswerWasLostIsToldAndRemembered();
  void deviceInfoPage_data();
  void deviceInfoPage();
  void deviceInfoFieldsCountBytesAndRefuseNonBmp();
  void timeZonePage_data();
  void timeZonePage();
  void timeZoneUpAndDownFollowTheListsPosition();
  void nextBeforeTheLoadAnsweredSendsNothing_data();
  void nextBeforeTheLoadAnsweredSendsNothing();
  void networkPageRefusals_data();
  void networkPageRefusals();
  void dhcpBoxIsShownAndSentBackAsDhcp();
  void hiddenFieldsInDhcpModeAreTakenSilently_data();
  void hiddenFieldsInDhcpModeAreTakenSilently();
  void theGatewayQuestionIsAskedInThePersonsLanguage();
  void networkChangeInsideTheSubnetLogsInAndMovesOn();
  void aBoxThatNeverTellsItsAddressGivesUpAfterEightPolls();
  void aBoxThatLeftTheSubnetIsReportedToTheOwner();
  void exitDuringThePauseCancelsTheLogin();
  void theDemosNewBoxThroughTheWizardToARaid1Volume();

private:
  // A frame for the administrator on the box, shown at `order`.
  void Open(std::size_t order, const char *device = "ALPHA", const char *ip = kBoxIp);
  void WaitLoaded(std::size_t order);
  QLineEdit *Edit(int id) const { return m_frame->GetDlgItemAs<QLineEdit>(id); }
  CGdipIpAddrCtl *Address(int id) const { return m_frame->GetDlgItemAs<CGdipIpAddrCtl>(id); }
  void SetAddress(int id, const char *text);
};

void TestWizardPages::init() {
  StartFixture(kTimeScale);
}

void TestWizardPages::cleanup() {
  // No request is left running, whatever the page did.
  EndFixture(kWaitMs);
  ReleaseFixture();
}

void TestWizardPages::Open(std::size_t order, const char *device, const char *ip) {
  OpenFrame(device, ip);
  if (order != kPasswordPage) {
    m_frame->OnStep(kSteps[order].button);
  }
  QCOMPARE(m_frame->ActivePage(), m_pages->Page(order));
}

void TestWizardPages::WaitLoaded(std::size_t order) {
  auto *page = dynamic_cast<CBoxValuesPage *>(m_pages->Page(order));
  QVERIFY(page != nullptr);
  QTRY_COMPARE_WITH_TIMEOUT(page->Load(), CBoxValuesPage::LoadState::Loaded, kWaitMs);
}

void TestWizardPages::SetAddress(int id, const char *text) {
  CGdipIpAddrCtl *control = Address(id);
  const QStringList parts = QString::fromLatin1(text).split(QLatin1Char('.'));
  for (int i = 0; i < 4; ++i) {
    control->Field(i)->setText(i < parts.size() ? parts[i] : QString());
  }
}

// ---------------------------------------------------------------- password

void TestWizardPages::passwordPage_data() {
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("confirmation");
  QTest::addColumn<QString>("message");
  const QString length = QStringLiteral(
      "The password has to be at least 8 characters and maximum 16 number with numerical or "
      "alphabetical contents only.");
  const QString mismatch =
      QStringLiteral("The password and confirmation password characters do not match.");
  QTest::newRow("8 characters") << "abcd1234"
                                << "abcd1234" << QString();
  QTest::newRow("16 characters") << "ABCDEFGHijklmn16"
                                 << "ABCDEFGHijklmn16" << QString();
  QTest::newRow("7 characters") << "abc1234"
                                << "abc1234" << length;
  QTest::newRow("mismatch before length") << "abc"
                                          << "abd" << mismatch;
  QTest::newRow("space") << "abcd 1234"
                         << "abcd 1234" << length;
  QTest::newRow("underscore") << "abcd_1234"
                              << "abcd_1234" << length;
  QTest::newRow("accent") << QStringLiteral("abcdé1234") << QStringLiteral("abcdé1234") << length;
  QTest::newRow("case counts") << "Abcd1234"
                               << "abcd1234" << mismatch;
}

void TestWizardPages::passwordPage() {
  QFETCH(QString, password);
  QFETCH(QString, confirmation);
  QFETCH(QString, message);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  StoreLogin("ALPHA", "admin", kPassword);
  ScopedMessageBoxRecorder boxes;
  Open(kPasswordPage);
  // The edits take at most 16 characters.
  QTest::keyClicks(Edit(kNewPassword), QStringLiteral("x").repeated(20));
  QCOMPARE(Edit(kNewPassword)->text().size(), 16);
  Edit(kOldPassword)->setText(QString::fromLatin1(kPassword));
  Edit(kNewPassword)->setText(password);
  Edit(kConfirmPassword)->setText(confirmation);
  QTest::keyClick(m_frame.get(), Qt::Key_Return); // Enter presses Next

  if (!message.isEmpty()) {
    QTRY_COMPARE(boxes->Count(), std::size_t(1));
    QCOMPARE(ToQString(boxes->Requests()[0].text), message);
    QCOMPARE(m_frame->ActivePage(), m_pages->Page(kPasswordPage));
    QTest::qWait(100);
    QVERIFY(!Commands(*m_sim).contains(QStringLiteral("cgi_chg_user_pw")));
    return;
  }
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kDeviceInfoPage), kWaitMs);
  QCOMPARE(boxes->Count(), std::size_t(0));
  const auto accounts = m_sim->Box("ALPHA")->at("accounts");
  QCOMPARE(QString::fromStdString(accounts.at(0).at("password").get<std::string>()), password);
  // The remembered password follows, so the next Connect works.
  QCOMPARE(QString::fromStdString(RememberedLogin("ALPHA").password), password);
  QCOMPARE(QString::fromUtf8(CurrentCredentials().Password()), password);
}

// The box took the new password and its answer was lost: the person hears
// that it may have been made, the page stays, and the new password is
// remembered, for the old one may no longer open the box.
void TestWizardPages::aPasswordWhoseAnswerWasLostIsToldAndRemembered() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  QVERIFY2(m_sim->SetFaults("ALPHA", {{"http", {{"cgi_chg_user_pw", {{"drop", true}}}}}}),
           m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  StoreLogin("ALPHA", "admin", kPassword);
  ScopedMessageBoxRecorder boxes;
  Open(kPasswordPage);
  Edit(kOldPassword)->setText(QString::fromLatin1(kPassword));
  Edit(kNewPassword)->setText(QStringLiteral("newsecret9"));
  Edit(kConfirmPassword)->setText(QStringLiteral("newsecret9"));
  m_frame->OnNext();
  QTRY_COMPARE_WITH_TIMEOUT(boxes->Count(), std::size_t(1), kWaitMs);
  QCOMPARE(ToQString(boxes->Requests()[0].text), ToQString(kChangeMayHaveBeenMadeText));
  QCOMPARE(m_frame->ActivePage(), m_pages->Page(kPasswordPage));
  QCOMPARE(m_sim->Box("ALPHA")->at("accounts").at(0).at("password").get<std::string>(),
           std::string("newsecret9"));
  QCOMPARE(QString::fromStdString(RememberedLogin("ALPHA").password), QStringLiteral("newsecret9"));
}

// ---------------------------------------------------------------- device info

void TestWizardPages::deviceInfoPage_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("workgroup");
  QTest::addColumn<QString>("description");
  QTest::addColumn<QString>("message"); // the refusal shown; empty: sent
  const auto forbidden = [](const char *word, const char *characters) {
    return QStringLiteral("The %1 must not include the following characters:%2.")
        .arg(QLatin1String(word), QLatin1String(characters));
  };
  const char *nameCharacters = "*+=|/\\:';<>?,\"$%&[]{}#@!~()^.";
  QTest::newRow("'#' in the name, '*' in the workgroup: the workgroup")
      << "NAS#1"
      << "W*RK"
      << "" << forbidden("Workgroup", nameCharacters);
  QTest::newRow("both '*': the name") << "N*S"
                                      << "W*RK"
                                      << "" << forbidden("Name", nameCharacters);
  QTest::newRow("a field forged in the description")
      << "SHELF"
      << "OFFICE"
      << "x&hostname=EVIL" << forbidden("Description", "&=");
  QTest::newRow("empty name") << ""
                              << "OFFICE"
                              << "" << ToQString(kEmptyNameText);
  QTest::newRow("control character in the workgroup")
      << "SHELF" << QStringLiteral("OFF\tICE") << ""
      << ToQString(kUnsupportedCharactersText)
             .replace(QStringLiteral("%s"), QStringLiteral("Workgroup"));
  QTest::newRow("description holds every other forbidden character")
      << "SHELF"
      << "OFFICE" << QStringLiteral("*+|/\\:';<>?,\"$%[]{}#@!~()^.") << "";
  QTest::newRow("15 bytes") << QStringLiteral("ÄÄÄÄÄÄÄa") << "ABCDEFGHIJKLMNO"
                            << ""
                            << "";
}

void TestWizardPages::deviceInfoPage() {
  QFETCH(QString, name);
  QFETCH(QString, workgroup);
  QFETCH(QString, description);
  QFETCH(QString, message);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  Open(kDeviceInfoPage);
  WaitLoaded(kDeviceInfoPage);
  QCOMPARE(Edit(kDeviceName)->text(), QStringLiteral("ALPHA"));
  QCOMPARE(Edit(kWorkgroup)->text(), QStringLiteral("HOME"));
  QCOMPARE(Edit(kDescription)->text(), QStringLiteral("Shelf"));
  Edit(kDeviceName)->setText(name);
  Edit(kWorkgroup)->setText(workgroup);
  Edit(kDescription)->setText(description);
  m_frame->OnNext();
  if (!message.isEmpty()) {
    QCOMPARE(boxes->Count(), std::size_t(1));
    QCOMPARE(ToQString(boxes->Requests()[0].text), message);
    QTest::qWait(100);
    QVERIFY(!Commands(*m_sim).contains(QStringLiteral("cgi_device")));
    return;
  }
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kTimeZonePage), kWaitMs);
  QCOMPARE(BoxText(*m_sim, "name", name.toUtf8().constData()), name);
  QCOMPARE(BoxText(*m_sim, "workgroup", name.toUtf8().constData()), workgroup);
  QCOMPARE(BoxText(*m_sim, "description", name.toUtf8().constData()), description);
}

void TestWizardPages::deviceInfoFieldsCountBytesAndRefuseNonBmp() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  Open(kDeviceInfoPage);
  WaitLoaded(kDeviceInfoPage);
  QLineEdit *name = Edit(kDeviceName);
  name->clear();
  QTest::keyClicks(name, QStringLiteral("ÄÄÄÄÄÄÄÄ")); // 2 bytes each: typing stops at 14
  QCOMPARE(name->text(), QStringLiteral("ÄÄÄÄÄÄÄ"));
  QTest::keyClicks(name, QStringLiteral("ab"));
  QCOMPARE(name->text().toUtf8().size(), 15);
  QLineEdit *description = Edit(kDescription);
  description->clear();
  QTest::keyClicks(description, QStringLiteral("d").repeated(40));
  QCOMPARE(description->text().size(), 30);
  description->clear();
  description->insert(QStringLiteral("a\U0001F600b")); // beyond U+FFFF: refused whole
  QCOMPARE(description->text(), QString());
}

// ---------------------------------------------------------------- time zone

void TestWizardPages::timeZonePage_data() {
  QTest::addColumn<int>("boxZone");
  QTest::addColumn<int>("clickRow"); // -1: no click
  QTest::addColumn<int>("downKeys"); // then Down pressed this often in the list, Up for < 0
  QTest::addColumn<int>("sent");     // 0: nothing sent
  QTest::newRow("zone 37 preselected and sent") << 37 << -1 << 0 << 37;
  QTest::newRow("row 0") << 37 << 0 << 0 << 1;
  QTest::newRow("row 95") << 37 << 95 << 0 << 96;
  QTest::newRow("zone 0 leaves no row") << 0 << -1 << 0 << 0;
  QTest::newRow("zone 0, then a click") << 0 << 3 << 0 << 4;
  QTest::newRow("two rows down from the keyboard") << 37 << -1 << 2 << 39;
  QTest::newRow("a click, then a row up from the keyboard") << 37 << 5 << -1 << 5;
  QTest::newRow("zone 0, Down chooses the first row") << 0 << -1 << 1 << 1;
}

void TestWizardPages::timeZonePage() {
  QFETCH(int, boxZone);
  QFETCH(int, clickRow);
  QFETCH(int, downKeys);
  QFETCH(int, sent);
  json box = Box();
  box["timezone"] = boxZone;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  Open(kTimeZonePage);
  WaitLoaded(kTimeZonePage);
  auto *page = static_cast<CTimeZonePage *>(m_pages->Page(kTimeZonePage));
  auto *list = m_frame->GetDlgItemAs<CGdipListCtrl>(kZoneList);
  QCOMPARE(list->GetItemCount(), 96);
  QCOMPARE(list->GetSelectedRow(), boxZone - 1);
  QCOMPARE(page->SelectedRow(), boxZone - 1);
  QCOMPARE(list->GetItemText(36, 1), QStringLiteral("GMT+01:00"));
  QCOMPARE(list->GetItemText(6, 0), QStringLiteral("Pacific Time (US & Canada)"));
  if (clickRow >= 0) {
    list->scrollTo(list->model()->index(clickRow, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(clickRow, 0)).center());
    QCOMPARE(page->SelectedRow(), clickRow);
  }
  if (downKeys != 0) {
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    list->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < std::abs(downKeys); ++i) {
      QTest::keyClick(list, downKeys > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
    QCOMPARE(list->GetSelectedRow(), sent - 1);
    QCOMPARE(page->SelectedRow(), sent - 1);
  }
  m_frame->OnNext();
  if (sent == 0) {
    QVERIFY(!page->IsPending());
    QTest::qWait(100);
    QVERIFY(!Commands(*m_sim).contains(QStringLiteral("cgi_timezone")));
    return;
  }
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kNetworkPage), kWaitMs);
  QVERIFY(LastBody(*m_sim, "cgi_timezone").find("f_timezone=" + std::to_string(sent)) !=
          std::string::npos);
  QCOMPARE(m_sim->Box("ALPHA")->at("timezone").get<int>(), sent);
}

// Up and Down scroll the list a line and show only where there is more to
// see: Up hidden at the top, Down hidden at the end, both hidden when every
// row fits. A scroll of the list itself updates them too.
void TestWizardPages::timeZoneUpAndDownFollowTheListsPosition() {
  json box = Box();
  box["timezone"] = 1;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  Open(kTimeZonePage);
  WaitLoaded(kTimeZonePage);
  auto *list = m_frame->GetDlgItemAs<CGdipListCtrl>(kZoneList);
  QWidget *up = m_frame->GetDlgItem(kZoneUp);
  QWidget *down = m_frame->GetDlgItem(kZoneDown);
  QVERIFY(up != nullptr && down != nullptr);
  auto shown = [&] {
    return QStringLiteral("%1 %2").arg(up->isVisible() ? QStringLiteral("Up") : QStringLiteral("-"),
                                       down->isVisible() ? QStringLiteral("Down")
                                                         : QStringLiteral("-"));
  };
  QCOMPARE(list->GetTopIndex(), 0);
  QCOMPARE(shown(), QStringLiteral("- Down"));

  QTest::mouseClick(down, Qt::LeftButton);
  QCOMPARE(list->GetTopIndex(), 1);
  QCOMPARE(shown(), QStringLiteral("Up Down"));
  QTest::mouseClick(up, Qt::LeftButton);
  QCOMPARE(list->GetTopIndex(), 0);
  QCOMPARE(shown(), QStringLiteral("- Down"));

  // Down to the end, a line at a time.
  const int end = list->GetItemCount() - list->GetCountPerPage();
  QVERIFY(end > 1);
  for (int line = 1; line <= end; ++line) {
    QVERIFY2(down->isVisible(), qPrintable(QString::number(line)));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(list->GetTopIndex(), line);
  }
  QCOMPARE(shown(), QStringLiteral("Up -"));

  // The list scrolled by its own scroll bar: the buttons follow.
  list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
  QTRY_COMPARE_WITH_TIMEOUT(list->GetTopIndex(), 0, kWaitMs);
  QTRY_COMPARE_WITH_TIMEOUT(shown(), QStringLiteral("- Down"), kWaitMs);

  // A list tall enough for every row needs neither.
  list->resize(list->width(), list->height() * 20);
  QVERIFY(list->GetCountPerPage() > list->GetItemCount());
  PostMessage(m_pages->Page(kTimeZonePage)->Handle(), WM_SKIN_LIST_SCROLLED, 0, 0);
  QTRY_COMPARE_WITH_TIMEOUT(shown(), QStringLiteral("- -"), kWaitMs);
}

// ---------------------------------------------------------------- loads

void TestWizardPages::nextBeforeTheLoadAnsweredSendsNothing_data() {
  QTest::addColumn<int>("order");
  QTest::addColumn<QByteArray>("fault");
  QTest::addColumn<bool>("told"); // "Get wizard information failed." shown at Next
  for (int order : {int(kDeviceInfoPage), int(kNetworkPage)}) {
    const QByteArray page = order == kDeviceInfoPage ? "device info" : "network";
    QTest::newRow(QByteArray(page + ", slow box").constData())
        << order << QByteArray(R"({"delay_ms": 800})") << false;
    QTest::newRow(QByteArray(page + ", refused read").constData())
        << order << QByteArray(R"({"status": 500})") << true;
  }
}

void TestWizardPages::nextBeforeTheLoadAnsweredSendsNothing() {
  QFETCH(int, order);
  QFETCH(QByteArray, fault);
  QFETCH(bool, told);
  if (!told) {
    // Waits as written: the box's answer comes late, but within them.
    m_timeScale.reset();
    m_timeScale = std::make_unique<timing::ScopedTimeScale>(1.0);
  }
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  QVERIFY(m_sim->SetFaults("ALPHA",
                           {{"http", {{"cgi_get_wizard", json::parse(fault.toStdString())}}}}));
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  Open(static_cast<std::size_t>(order));
  auto *page = static_cast<CBoxValuesPage *>(m_pages->Page(static_cast<std::size_t>(order)));
  const int field = order == kDeviceInfoPage ? kDeviceName : kDhcp;
  QVERIFY(!m_frame->GetDlgItem(field)->isEnabled());
  if (told) {
    QTRY_COMPARE_WITH_TIMEOUT(page->Load(), CBoxValuesPage::LoadState::Failed, kWaitMs);
    QCOMPARE(boxes->Count(), std::size_t(1));
  }
  m_frame->OnNext();
  QVERIFY(!page->IsPending());
  QCOMPARE(boxes->Count(), std::size_t(told ? 2 : 0));
  if (told) {
    QCOMPARE(ToQString(boxes->Requests()[1].text),
             QStringLiteral("Get wizard information failed."));
    QVERIFY(!m_frame->GetDlgItem(field)->isEnabled());
  } else {
    QTRY_VERIFY_WITH_TIMEOUT(m_frame->GetDlgItem(field)->isEnabled(), kWaitMs);
  }
  QTest::qWait(100);
  const QStringList commands = Commands(*m_sim);
  QVERIFY(!commands.contains(QStringLiteral("cgi_device")));
  QVERIFY(!commands.contains(QStringLiteral("cgi_setip_lock")));
  QVERIFY(!commands.contains(QStringLiteral("cgi_ip")));
}

// ---------------------------------------------------------------- network

void TestWizardPages::networkPageRefusals_data() {
  QTest::addColumn<QString>("ip");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("gateway");
  QTest::addColumn<QString>("message"); // the box shown; the question's answer is No
  const QString question = QStringLiteral(
      "Warning - The default gateway is not on the same network segment(subnet)that is defined by "
      "the IP address and subnet mask. Do you want to save this configuration?");
  QTest::newRow("address incomplete") << "127.0.0"
                                      << "255.0.0.0"
                                      << "127.0.0.1"
                                      << "Missing value in address";
  QTest::newRow("mask with a gap") << "127.0.0.21"
                                   << "255.0.255.0"
                                   << "127.0.0.1"
                                   << "Please enter a valid address in SubnetMask.";
  QTest::newRow("gateway outside the /30, No") << "127.0.0.20"
                                               << "255.255.255.252"
                                               << "127.0.0.1" << question;
  QTest::newRow("blank gateway, No") << "127.0.0.20"
                                     << "255.255.255.0"
                                     << "" << question;
  QTest::newRow("mask leaves no room") << "127.0.0.20"
                                       << "255.255.255.255"
                                       << "127.0.0.20" << ToQString(kMaskTooNarrowText);
  QTest::newRow("gateway is the box itself") << "127.0.0.20"
                                             << "255.255.255.0"
                                             << "127.0.0.20" << ToQString(kGatewayIsBoxAddressText);
}

void TestWizardPages::networkPageRefusals() {
  QFETCH(QString, ip);
  QFETCH(QString, mask);
  QFETCH(QString, gateway);
  QFETCH(QString, message);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::No);
  Open(kNetworkPage);
  WaitLoaded(kNetworkPage);
  QVERIFY(!static_cast<CNetworkPage *>(m_pages->Page(kNetworkPage))->DhcpMode());
  SetAddress(kIpAddress, ip.toLatin1().constData());
  SetAddress(kSubnetMask, mask.toLatin1().constData());
  SetAddress(kGateway, gateway.toLatin1().constData());
  m_frame->OnNext();
  QCOMPARE(boxes->Count(), std::size_t(1));
  QCOMPARE(ToQString(boxes->Requests()[0].text), message);
  QVERIFY(!m_pages->Page(kNetworkPage)->IsPending());
  QTest::qWait(100);
  QVERIFY(!Commands(*m_sim).contains(QStringLiteral("cgi_setip_lock")));
  QVERIFY(!Commands(*m_sim).contains(QStringLiteral("cgi_ip")));
}

void TestWizardPages::dhcpBoxIsShownAndSentBackAsDhcp() {
  json box = Box();
  box["dhcp"] = true;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  Open(kNetworkPage);
  WaitLoaded(kNetworkPage);
  auto *page = static_cast<CNetworkPage *>(m_pages->Page(kNetworkPage));
  QVERIFY(page->DhcpMode());
  QVERIFY(m_frame->GetDlgItemAs<CGdipButton>(kDhcp)->GetCheck());
  QVERIFY(Address(kIpAddress)->isHidden());
  m_frame->OnNext();
  QVERIFY(page->IsPending());
  QTRY_VERIFY_WITH_TIMEOUT(!LastBody(*m_sim, "cgi_ip").empty(), kWaitMs);
  const std::string body = LastBody(*m_sim, "cgi_ip");
  QVERIFY2(body.find("f_dhcp_enable=1") != std::string::npos, body.c_str());
  QVERIFY2(body.find("127.0.0.2") != std::string::npos, body.c_str());
  QTRY_VERIFY_WITH_TIMEOUT(!page->IsPending(), kWaitMs);
}

void TestWizardPages::hiddenFieldsInDhcpModeAreTakenSilently_data() {
  QTest::addColumn<int>("field");
  QTest::addColumn<QString>("typed"); // into the hidden field before Next
  QTest::addColumn<QString>("sent");  // the part of the cgi_ip body it becomes
  // The box: 127.0.0.2, mask 255.0.0.0, DNS 1 127.0.0.1, no DNS 2.
  QTest::newRow("half-typed address: the box's") << int(kIpAddress) << "127.0.0"
                                                 << "&f_ip=127.0.0.2&";
  QTest::newRow("blank address: the box's") << int(kIpAddress) << ""
                                            << "&f_ip=127.0.0.2&";
  QTest::newRow("half-typed mask: the box's") << int(kSubnetMask) << "255.255"
                                              << "&f_netmask=255.0.0.0&";
  QTest::newRow("half-typed DNS 1: the box's") << int(kDns1) << "127.0"
                                               << "&f_dns1=127.0.0.1&";
  QTest::newRow("DNS 2 out of range: the box's none") << int(kDns2) << "10.0.0.300"
                                                      << "&f_dns2=&";
  QTest::newRow("a complete DNS 2 is taken") << int(kDns2) << "127.0.0.9"
                                             << "&f_dns2=127.0.0.9&";
  QTest::newRow("a complete address is taken") << int(kIpAddress) << "127.0.0.2"
                                               << "&f_ip=127.0.0.2&";
  QTest::newRow("no gateway with DHCP") << int(kGateway) << "127.0.0.1"
                                        << "&f_gateway=&";
}

// In DHCP mode the address fields are hidden: nobody is asked about what
// they hold, and half an address is never sent.
void TestWizardPages::hiddenFieldsInDhcpModeAreTakenSilently() {
  QFETCH(int, field);
  QFETCH(QString, typed);
  QFETCH(QString, sent);
  json box = Box();
  box["dhcp"] = true;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  Open(kNetworkPage);
  WaitLoaded(kNetworkPage);
  auto *page = static_cast<CNetworkPage *>(m_pages->Page(kNetworkPage));
  QVERIFY(page->DhcpMode());
  SetAddress(field, typed.toLatin1().constData());
  QVERIFY(Address(field)->isHidden());
  m_frame->OnNext();
  QCOMPARE(Messages(*boxes), QStringList());
  QVERIFY(page->IsPending());
  QTRY_VERIFY_WITH_TIMEOUT(!LastBody(*m_sim, "cgi_ip").empty(), kWaitMs);
  const std::string body = LastBody(*m_sim, "cgi_ip");
  QVERIFY2(body.find("f_dhcp_enable=1") != std::string::npos, body.c_str());
  QVERIFY2(body.find(sent.toStdString()) != std::string::npos, body.c_str());
  QTRY_VERIFY_WITH_TIMEOUT(!page->IsPending(), kWaitMs);
}

// The set-IP dialog asks the same question translated; so does the page.
void TestWizardPages::theGatewayQuestionIsAskedInThePersonsLanguage() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::No);
  QVERIFY(SelectLanguage(2)); // German
  struct Back {
    ~Back() { ClearCurrentLanguage(); }
  } back;
  Open(kNetworkPage);
  WaitLoaded(kNetworkPage);
  SetAddress(kIpAddress, "127.0.0.20");
  SetAddress(kSubnetMask, "255.255.255.0");
  SetAddress(kGateway, ""); // a blank gateway is asked about
  m_frame->OnNext();
  QCOMPARE(boxes->Count(), std::size_t(1));
  const MessageBoxRequest asked = boxes->Requests()[0];
  QVERIFY2(ToQString(asked.text).startsWith(QStringLiteral("Warnung: Das Standardgateway")),
           qPrintable(ToQString(asked.text)));
  QCOMPARE(ToQString(asked.caption), QStringLiteral("Warnung"));
  QCOMPARE(asked.buttons, MessageBoxButtons::YesNo);
  QVERIFY(!m_pages->Page(kNetworkPage)->IsPending());
}

void TestWizardPages::networkChangeInsideTheSubnetLogsInAndMovesOn() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  Open(kNetworkPage);
  WaitLoaded(kNetworkPage);
  SetAddress(kIpAddress, "127.0.0.21");
  SetAddress(kSubnetMask, "255.255.255.0");
  SetAddress(kGateway, "127.0.0.1"); // in the /24: nothing asked
  m_frame->OnNext();
  QVERIFY(m_pages->Page(kNetworkPage)->IsPending());
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kRaidPage), kWaitMs);
  QCOMPARE(boxes->Count(), std::size_t(0));
  QCOMPARE(BoxText(*m_sim, "ip"), QStringLiteral("127.0.0.21"));
  const QStringList commands = Commands(*m_sim);
  const int lock = commands.indexOf(QStringLiteral("cgi_setip_lock"));
  const int settings = commands.indexOf(QStringLiteral("cgi_ip"));
  QVERIFY(lock >= 0 && settings >= 0);
  QVERIFY(commands.indexOf(QStringLiteral("cgi_get_lan_xml2")) > settings);
  QCOMPARE(commands.count(QStringLiteral("login")), 1); // one login for the series
  std::string loginAt;
  for (const SimRequest &request : m_sim->Requests()) {
    if (request.bytes.find("cmd=login") != std::string::npos) {
      loginAt = request.local;
    }
  }
  QVERIFY2(loginAt.rfind("127.0.0.21:", 0) == 0, loginAt.c_str());
  QTRY_VERIFY_WITH_TIMEOUT(m_owner->QueuedCount() == 0, 100);
}

void TestWizardPages::aBoxThatNeverTellsItsAddressGivesUpAfterEightPolls() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  QVERIFY(m_sim->SetFaults("ALPHA", {{"http", {{"cgi_get_lan_xml2", {{"drop", true}}}}}}));
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  Open(kNetworkPage);
  WaitLoaded(kNetworkPage);
  SetAddress(kIpAddress, "127.0.0.21");
  m_frame->OnNext();
  QTRY_COMPARE_WITH_TIMEOUT(boxes->Count(), std::size_t(1), kWaitMs);
  QCOMPARE(ToQString(boxes->Requests()[0].text), QStringLiteral("get NAS new ip error."));
  QCOMPARE(m_frame->ActivePage(), m_pages->Page(kNetworkPage));
  QVERIFY(!m_pages->Page(kNetworkPage)->IsPending());
  // The restore of a failed address change on a page between the first and
  // the last: Next, Finish and Previous shown and enabled, Skip hidden.
  for (int id : {kNext, kFinish, kPrevious}) {
    QVERIFY2(m_frame->GetDlgItem(id)->isVisible(), qPrintable(QString::number(id)));
    QVERIFY2(m_frame->GetDlgItem(id)->isEnabled(), qPrintable(QString::number(id)));
  }
  QVERIFY(!m_frame->GetDlgItem(kSkip)->isVisible());
  // The polling has stopped.
  QTest::qWait(300);
  const QStringList commands = Commands(*m_sim);
  QCOMPARE(commands.count(QStringLiteral("cgi_get_lan_xml2")), timing::kAddressPolls);
  QVERIFY(!commands.contains(QStringLiteral("login")));
}

void TestWizardPages::aBoxThatLeftTheSubnetIsReportedToTheOwner() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::Yes); // the gateway is outside the new /16
  Open(kNetworkPage);
  WaitLoaded(kNetworkPage);
  SetAddress(kIpAddress, "127.5.0.9");
  SetAddress(kSubnetMask, "255.255.0.0");
  m_frame->OnNext();
  QTRY_COMPARE_WITH_TIMEOUT(boxes->Count(), std::size_t(2), kWaitMs);
  const QString told = ToQString(boxes->Requests()[1].text);
  QVERIFY2(told.contains(QStringLiteral("127.5.0.9")), qPrintable(told));
  QVERIFY(m_owner->WaitForMessage(WM_NAS_LEFT_SUBNET, std::chrono::milliseconds(kWaitMs)));
  QTest::qWait(300);
  QVERIFY(!Commands(*m_sim).contains(QStringLiteral("login")));
}

void TestWizardPages::exitDuringThePauseCancelsTheLogin() {
  // Times as written: a poll a second, five seconds before the login.
  m_timeScale.reset();
  m_timeScale = std::make_unique<timing::ScopedTimeScale>(1.0);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", kPassword));
  ScopedMessageBoxRecorder boxes;
  Open(kNetworkPage);
  WaitLoaded(kNetworkPage);
  SetAddress(kIpAddress, "127.0.0.23");
  m_frame->OnNext();
  QTRY_VERIFY_WITH_TIMEOUT(Commands(*m_sim).contains(QStringLiteral("cgi_get_lan_xml2")), kWaitMs);
  QTest::qWait(500); // the answer is in; the pause runs, and the window answers meanwhile
  QTest::mouseClick(m_frame->GetDlgItem(kExit), Qt::LeftButton);
  QVERIFY(!m_frame->isVisible());
  QCOMPARE(m_frame->result(), int(QDialog::Rejected));
  QTest::qWait(6000);
  QVERIFY(!Commands(*m_sim).contains(QStringLiteral("login")));
  QCOMPARE(boxes->Count(), std::size_t(0));
}

void TestWizardPages::theDemosNewBoxThroughTheWizardToARaid1Volume() {
  std::ifstream file(CORVESTA_DEMO_STATE);
  json demo = json::parse(file);
  json newBox = demo.at("boxes").at(0);
  QCOMPARE(QString::fromStdString(newBox.at("name").get<std::string>()), QStringLiteral("KS-NEW"));
  newBox["format_seconds"] = 2;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({newBox})), m_sim->Error().c_str());
  const std::string ip = newBox.at("ip").get<std::string>();
  SetCurrentCredentials(MakeCredentials("admin", "admin"));
  ScopedMessageBoxRecorder boxes;
  Open(kPasswordPage, "KS-NEW", ip.c_str());

  Edit(kOldPassword)->setText(QStringLiteral("admin"));
  Edit(kNewPassword)->setText(QStringLiteral("Shelf2024"));
  Edit(kConfirmPassword)->setText(QStringLiteral("Shelf2024"));
  m_frame->OnNext();
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kDeviceInfoPage), kWaitMs);

  WaitLoaded(kDeviceInfoPage);
  Edit(kDeviceName)->setText(QStringLiteral("SHELF"));
  Edit(kWorkgroup)->setText(QStringLiteral("FAMILY"));
  Edit(kDescription)->setText(QStringLiteral("Living room"));
  m_frame->OnNext();
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kTimeZonePage), kWaitMs);

  WaitLoaded(kTimeZonePage);
  auto *list = m_frame->GetDlgItemAs<CGdipListCtrl>(kZoneList);
  list->scrollTo(list->model()->index(39, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(list->model()->index(39, 0)).center());
  m_frame->OnNext();
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kNetworkPage), kWaitMs);

  WaitLoaded(kNetworkPage);
  QTest::mouseClick(m_frame->GetDlgItem(kStatic), Qt::LeftButton);
  SetAddress(kIpAddress, "127.0.0.22");
  SetAddress(kSubnetMask, "255.0.0.0");
  SetAddress(kGateway, "127.0.0.1");
  SetAddress(kDns1, "127.0.0.1");
  m_frame->OnNext();
  QTRY_COMPARE_WITH_TIMEOUT(m_frame->ActivePage(), m_pages->Page(kRaidPage), kWaitMs);

  // The disk mode page: RAID 1 over the two disks, confirmed.
  auto *raid = static_cast<CRaidPage *>(m_pages->Page(kRaidPage));
  QTRY_VERIFY_WITH_TIMEOUT(m_frame->GetDlgItem(disk_ids::kRaid1)->isEnabled(), kWaitMs);
  QTest::mouseClick(m_frame->GetDlgItem(disk_ids::kRaid1), Qt::LeftButton);
  QTRY_VERIFY(!m_frame->GetDlgItemAs<CIconRadioButton>(disk_ids::kStandalone)->GetCheck());
  boxes->QueueAnswer(MessageBoxResult::Ok);
  m_frame->OnNext();
  QVERIFY(raid->Dialog() != nullptr);
  CProcessDialog *dialog = raid->Dialog();
  QTRY_VERIFY_WITH_TIMEOUT(dialog->Outcome().has_value(), kWaitMs);
  QVERIFY(dialog->Outcome()->Succeeded());
  QTest::mouseClick(dialog->GetDlgItem(disk_ids::kOk), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(m_frame->GetDlgItem(kFinish)->isVisible(), kWaitMs);
  QTest::mouseClick(m_frame->GetDlgItem(kFinish), Qt::LeftButton);
  QCOMPARE(m_frame->result(), kFinishedResult);
  QCOMPARE(boxes->Count(), std::size_t(1)); // the rebuild question

  const json state = m_sim->Box("SHELF").value_or(json::object());
  QCOMPARE(QString::fromStdString(state.value("workgroup", "")), QStringLiteral("FAMILY"));
  QCOMPARE(QString::fromStdString(state.value("description", "")), QStringLiteral("Living room"));
  QCOMPARE(state.value("timezone", 0), 40);
  QCOMPARE(state.value("dhcp", true), false);
  QCOMPARE(QString::fromStdString(state.value("ip", "")), QStringLiteral("127.0.0.22"));
  QCOMPARE(QString::fromStdString(state.value("dns1", "")), QStringLiteral("127.0.0.1"));
  QCOMPARE(QString::fromStdString(state.at("accounts").at(0).value("password", "")),
           QStringLiteral("Shelf2024"));
  const json volumes = state.value("volumes", json::array());
  QCOMPARE(int(volumes.size()), 1);
  QCOMPARE(QString::fromStdString(volumes[0].value("mode", "")), QStringLiteral("raid1"));
}

QTEST_MAIN(TestWizardPages)
#include "tst_wizard_pages.moc"
