// The set-IP dialog against a simulated box outside the PC's subnet: FARBOX
// sits on a link-local address at the far end of a veth pair whose near end
// (10.77.0.1/24) is the PC's second network. The dialog sends the new
// settings by datagram; the simulator's log shows the bytes that arrived.

#include <QTest>
#include <cstdlib>
#include <cstring>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/udp/udp_datagrams.h"
#include "platform/message_box.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace corvesta::main_ids;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr double kTimeScale = 0.2;
constexpr int kWithinMs = 20000;
constexpr char kFarMac[] = "02:aa:00:00:00:77";

// Where the settings block lies in the address-change datagram, and its fields.
constexpr std::size_t kBlockOffset = 60;
constexpr std::size_t kBlockSize = 120;
struct BlockField {
  std::size_t offset, size;
};
constexpr BlockField kInterface{0, 10}, kIp{10, 16}, kMask{26, 16}, kGateway{42, 16}, kDhcp{58, 1};

struct SentBlock {
  std::string interfaceName, ip, mask, gateway;
  char dhcp = 0;
  bool gatewayAllZero = false;
};

std::string Text(const std::string &block, BlockField field) {
  const char *start = block.data() + field.offset;
  return std::string(start, strnlen(start, field.size));
}

bool IsAddressChange(const test::SimRequest &r) {
  return r.transport == "udp" && r.bytes.size() >= kBlockOffset + kBlockSize &&
         r.bytes.compare(kBlockOffset, 4, "LAN1") == 0;
}

bool IsProbe(const test::SimRequest &r) {
  return r.transport == "udp" && r.bytes.size() == udp::kProbeSize;
}

// The discovery probes the box heard after the first address change.
int ProbesAfterTheChange(const NasSimProcess &sim) {
  int probes = 0;
  bool changed = false;
  for (const test::SimRequest &r : sim.Requests()) {
    changed = changed || IsAddressChange(r);
    probes += changed && IsProbe(r) ? 1 : 0;
  }
  return probes;
}

std::vector<SentBlock> SentBlocks(const NasSimProcess &sim) {
  std::vector<SentBlock> blocks;
  for (const test::SimRequest &r : sim.Requests()) {
    if (!IsAddressChange(r)) {
      continue;
    }
    const std::string block = r.bytes.substr(kBlockOffset, kBlockSize);
    SentBlock sent{Text(block, kInterface), Text(block, kIp),    Text(block, kMask),
                   Text(block, kGateway),   block[kDhcp.offset], true};
    for (std::size_t i = 0; i < kGateway.size; ++i) {
      sent.gatewayAllZero = sent.gatewayAllZero && block[kGateway.offset + i] == '\0';
    }
    blocks.push_back(sent);
  }
  return blocks;
}

json FarBox(bool dhcp) {
  json box = NasSimProcess::MakeBox("FARBOX", "169.254.37.12", kFarMac, "admin");
  box["netmask"] = "255.255.0.0";
  box["gateway"] = dhcp ? "" : "169.254.0.1";
  box["dhcp"] = dhcp;
  box["address_grace_ms"] = 0;
  test::GiveOneVolume(box, 500, 521142272, 1048576);
  return box;
}

void SetAddress(CGdipIpAddrCtl *control, const QString &dotted) {
  const QStringList parts = dotted.split(QLatin1Char('.'));
  for (int i = 0; i < 4; ++i) {
    control->Field(i)->setText(i < parts.size() ? parts[i] : QString());
  }
}

QString Shown(CGdipIpAddrCtl *control) {
  QStringList parts;
  for (int i = 0; i < 4; ++i) {
    parts << control->Field(i)->text();
  }
  return parts.join(QLatin1Char('.'));
}

QStringList Messages(const MessageBoxRecorder &recorder) {
  QStringList texts;
  for (const MessageBoxRequest &request : recorder.Requests()) {
    texts << ToQString(request.text);
  }
  return texts;
}

const QString kQuestion =
    QStringLiteral("Not the same subnet, do you want to change NAS IP address?");
const QString kTaken = QStringLiteral("Network Storage IP setup successfully, connecting....");

} // namespace

class TestSetIpDialog : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void initTestCase();
  void cleanupTestCase();
  void init();
  void cleanup();
  void staticAddressIsTakenAndConnectThenLogsIn();
  void dhcpLeftAsItIsSendsNothing();
  void staticToDhcpCarriesTheCurrentTexts();
  void refusedInputSendsNothing_data();
  void refusedInputSendsNothing();
  void aBoxNoLongerListedIsToldAndNothingIsSent_data();
  void aBoxNoLongerListedIsToldAndNothingIsSent();
  void gatewayOutsideTheSubnetIsAsked_data();
  void gatewayOutsideTheSubnetIsAsked();
  void noAcknowledgementIsReportedAndTheDialogStaysUsable();
  void anAcknowledgedChangeIsSearchedForOnceByTheWindow();

private:
  void StartFarBox(bool dhcp);
  // A dialog for FARBOX, the device list filled by the window's search.
  std::int32_t FarBoxIndex();

  bool m_lan = false;
  std::unique_ptr<test::ScopedAppDataFolder> m_settings;
  std::unique_ptr<timing::ScopedTimeScale> m_timeScale;
  std::unique_ptr<NasSimProcess> m_sim;
  std::unique_ptr<CUtilityDlg> m_window;
};

void TestSetIpDialog::initTestCase() {
  std::system("ip link del corvdlg0 2>/dev/null");
  m_lan = std::system("ip link add corvdlg0 type veth peer name corvdlg1 2>/dev/null && "
                      "ip link set corvdlg0 up && ip link set corvdlg1 multicast off up && "
                      "ip addr add 10.77.0.1/24 dev corvdlg0 && "
                      "ip addr add 10.77.0.9/24 dev corvdlg1 && "
                      "ip addr add 169.254.37.12/16 dev corvdlg1 && "
                      "for f in all corvdlg0 corvdlg1; do "
                      "echo 1 > /proc/sys/net/ipv4/conf/$f/accept_local && "
                      "echo 0 > /proc/sys/net/ipv4/conf/$f/rp_filter; done") == 0;
  if (!m_lan) {
    std::system("ip link del corvdlg0 2>/dev/null");
    QSKIP("cannot make a veth pair in this namespace");
  }
}

void TestSetIpDialog::cleanupTestCase() {
  if (m_lan) {
    std::system("ip link del corvdlg0 2>/dev/null");
  }
}

void TestSetIpDialog::init() {
  m_settings = std::make_unique<test::ScopedAppDataFolder>();
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  m_timeScale = std::make_unique<timing::ScopedTimeScale>(kTimeScale);
  m_sim = std::make_unique<NasSimProcess>();
}

void TestSetIpDialog::cleanup() {
  m_window.reset();
  m_sim.reset();
  m_timeScale.reset();
  m_settings.reset();
}

void TestSetIpDialog::StartFarBox(bool dhcp) {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({FarBox(dhcp)})), m_sim->Error().c_str());
  m_window = std::make_unique<CUtilityDlg>();
  m_window->show();
  m_window->Start();
  QTRY_COMPARE_WITH_TIMEOUT(m_window->State(), UiState::Listed, kWithinMs);
  QCOMPARE(m_window->GetDlgItemAs<CGdipComboBox>(kBoxList)->count(), 1);
}

std::int32_t TestSetIpDialog::FarBoxIndex() {
  const std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (std::string(devices[i].name) == "FARBOX") {
      return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

void TestSetIpDialog::staticAddressIsTakenAndConnectThenLogsIn() {
  StartFarBox(true);
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::Ok); // the question
  bool dhcpTicked = false, fieldsHidden = false;
  QString shownAddress;
  test::WhenModalShown<CSettingIpDialog>([&](CSettingIpDialog *dialog) {
    dhcpTicked = dialog->GetDlgItemAs<CGdipButton>(kSetIpDhcp)->GetCheck();
    fieldsHidden = !dialog->GetDlgItem(kSetIpAddress)->isVisible() &&
                   !dialog->GetDlgItem(kSetIpAddressLabel)->isVisible();
    shownAddress = Shown(dialog->GetDlgItemAs<CGdipIpAddrCtl>(kSetIpAddress));
    QTest::mouseClick(dialog->GetDlgItem(kSetIpStatic), Qt::LeftButton);
    SetAddress(dialog->GetDlgItemAs<CGdipIpAddrCtl>(kSetIpAddress), QStringLiteral("10.77.0.9"));
    SetAddress(dialog->GetDlgItemAs<CGdipIpAddrCtl>(kSetIpMask), QStringLiteral("255.255.255.0"));
    dialog->GetDlgItemAs<CGdipIpAddrCtl>(kSetIpGateway)->ClearAddress();
    QTest::mouseClick(dialog->GetDlgItem(kSetIpOk), Qt::LeftButton);
  });
  test::WhenModalShown<CLoginDialog>([](CLoginDialog *dialog) {
    dialog->PasswordField()->setText(QStringLiteral("admin"));
    QTest::mouseClick(dialog->GetDlgItem(kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(m_window->GetDlgItem(kConnect), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(Messages(*boxes).contains(kTaken), kWithinMs);
  QCOMPARE(Messages(*boxes), (QStringList{kQuestion, kTaken}));
  QVERIFY(dhcpTicked);
  QVERIFY(fieldsHidden);
  QCOMPARE(shownAddress, QStringLiteral("169.254.37.12"));

  const std::vector<SentBlock> sent = SentBlocks(*m_sim);
  QCOMPARE(sent.size(), std::size_t(1));
  QCOMPARE(QString::fromStdString(sent[0].interfaceName), QStringLiteral("LAN1"));
  QCOMPARE(QString::fromStdString(sent[0].ip), QStringLiteral("10.77.0.9"));
  QCOMPARE(QString::fromStdString(sent[0].mask), QStringLiteral("255.255.255.0"));
  QVERIFY(sent[0].gatewayAllZero);
  QCOMPARE(sent[0].dhcp, '0');
  QCOMPARE(QString::fromStdString(m_sim->Box("FARBOX").value_or(json::object()).value("ip", "")),
           QStringLiteral("10.77.0.9"));

  // The window searched again and finds the box in its subnet now.
  QTRY_COMPARE_WITH_TIMEOUT(m_window->State(), UiState::Listed, kWithinMs);
  test::WhenModalShown<CLoginDialog>([](CLoginDialog *dialog) {
    dialog->PasswordField()->setText(QStringLiteral("admin"));
    QTest::mouseClick(dialog->GetDlgItem(kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(m_window->GetDlgItem(kConnect), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(m_window->InfoPanel()->isVisible(), kWithinMs);
  QVERIFY(m_window->LoggedIn());
  QCOMPARE(m_window->InfoPanel()->LineText(1), QStringLiteral("IP:10.77.0.9"));
  QCOMPARE(boxes->Count(), std::size_t(2)); // no second question
}

void TestSetIpDialog::dhcpLeftAsItIsSendsNothing() {
  StartFarBox(true);
  ScopedMessageBoxRecorder boxes;
  CSettingIpDialog dialog(FarBoxIndex());
  dialog.show();
  QTest::mouseClick(dialog.GetDlgItem(kSetIpOk), Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(boxes->Count(), std::size_t(0));
  QTest::qWait(200);
  QVERIFY(SentBlocks(*m_sim).empty());
}

void TestSetIpDialog::staticToDhcpCarriesTheCurrentTexts() {
  StartFarBox(false);
  ScopedMessageBoxRecorder boxes;
  CSettingIpDialog dialog(FarBoxIndex());
  dialog.show();
  QVERIFY(dialog.GetDlgItemAs<CGdipButton>(kSetIpStatic)->GetCheck());
  QVERIFY(dialog.GetDlgItem(kSetIpGateway)->isVisible());
  QCOMPARE(Shown(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpGateway)),
           QStringLiteral("169.254.0.1"));
  // A field left incomplete before switching to DHCP is not asked about: it
  // cannot be seen any more.
  dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpMask)->Field(3)->clear();
  QTest::mouseClick(dialog.GetDlgItem(kSetIpDhcp), Qt::LeftButton);
  QVERIFY(!dialog.GetDlgItem(kSetIpMask)->isVisible());
  QTest::mouseClick(dialog.GetDlgItem(kSetIpOk), Qt::LeftButton);
  QVERIFY(dialog.Waiting());
  QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), kWithinMs);
  QCOMPARE(Messages(*boxes), QStringList());

  const std::vector<SentBlock> sent = SentBlocks(*m_sim);
  QCOMPARE(sent.size(), std::size_t(1));
  QCOMPARE(sent[0].dhcp, '1');
  QCOMPARE(QString::fromStdString(sent[0].ip), QStringLiteral("169.254.37.12"));
  QCOMPARE(QString::fromStdString(sent[0].mask), QStringLiteral("255.255.0.0"));
  QCOMPARE(QString::fromStdString(sent[0].gateway), QStringLiteral("169.254.0.1"));
}

void TestSetIpDialog::refusedInputSendsNothing_data() {
  QTest::addColumn<QString>("ip");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("gateway");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("caption");
  QTest::newRow("loopback") << "127.0.0.5"
                            << "255.0.0.0"
                            << ""
                            << "IP address input error. Please try again."
                            << "Warning";
  QTest::newRow("incomplete address") << "10.77..9"
                                      << "255.255.255.0"
                                      << ""
                                      << "Missing value in address"
                                      << "Error";
  QTest::newRow("mask with a hole") << "10.77.0.9"
                                    << "255.0.255.0"
                                    << ""
                                    << "Please enter a valid address in SubnetMask."
                                    << "Error";
}

void TestSetIpDialog::refusedInputSendsNothing() {
  QFETCH(QString, ip);
  QFETCH(QString, mask);
  QFETCH(QString, gateway);
  QFETCH(QString, message);
  QFETCH(QString, caption);
  StartFarBox(false);
  ScopedMessageBoxRecorder boxes;
  CSettingIpDialog dialog(FarBoxIndex());
  dialog.show();
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpAddress), ip);
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpMask), mask);
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpGateway), gateway);
  QTest::mouseClick(dialog.GetDlgItem(kSetIpOk), Qt::LeftButton);
  QCOMPARE(Messages(*boxes), QStringList{message});
  QCOMPARE(ToQString(boxes->Requests()[0].caption), caption);
  QVERIFY(dialog.isVisible());
  QVERIFY(!dialog.Waiting());
  for (int id : {kSetIpOk, kSetIpCancel, kSetIpDhcp, kSetIpStatic}) {
    QVERIFY(dialog.GetDlgItem(id)->isEnabled());
  }
  QTest::qWait(200);
  QVERIFY(SentBlocks(*m_sim).empty());
}

void TestSetIpDialog::aBoxNoLongerListedIsToldAndNothingIsSent_data() {
  QTest::addColumn<bool>("listedAtOpening");
  QTest::newRow("a newer search dropped it while the dialog was open") << true;
  QTest::newRow("not in the list when the dialog opened") << false;
}

// The address change goes to a box of the device list: one that is not
// there (any more) is told "Refresh NAS list failed.", nothing is sent, and
// the dialog stays usable.
void TestSetIpDialog::aBoxNoLongerListedIsToldAndNothingIsSent() {
  QFETCH(bool, listedAtOpening);
  StartFarBox(false);
  ScopedMessageBoxRecorder boxes;
  CSettingIpDialog dialog(listedAtOpening ? FarBoxIndex() : 7);
  dialog.show();
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpAddress), QStringLiteral("10.77.0.9"));
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpMask), QStringLiteral("255.255.255.0"));
  dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpGateway)->ClearAddress();
  if (listedAtOpening) {
    DeviceList::Instance().Clear();
  }
  QTest::mouseClick(dialog.GetDlgItem(kSetIpOk), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(Messages(*boxes),
                            QStringList{QStringLiteral("Refresh NAS list failed.")}, kWithinMs);
  QVERIFY(!dialog.Waiting());
  QVERIFY(dialog.isVisible());
  for (int id : {kSetIpOk, kSetIpCancel, kSetIpDhcp, kSetIpStatic}) {
    QVERIFY(dialog.GetDlgItem(id)->isEnabled());
  }
  QTest::qWait(200);
  QVERIFY(SentBlocks(*m_sim).empty());
  QCOMPARE(QString::fromStdString(m_sim->Box("FARBOX")->value("ip", "")),
           QStringLiteral("169.254.37.12"));
}

void TestSetIpDialog::gatewayOutsideTheSubnetIsAsked_data() {
  QTest::addColumn<bool>("yes");
  QTest::newRow("Yes sends") << true;
  QTest::newRow("No sends nothing") << false;
}

void TestSetIpDialog::gatewayOutsideTheSubnetIsAsked() {
  QFETCH(bool, yes);
  StartFarBox(false);
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(yes ? MessageBoxResult::Yes : MessageBoxResult::No);
  CSettingIpDialog dialog(FarBoxIndex());
  dialog.show();
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpAddress), QStringLiteral("10.77.0.9"));
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpMask), QStringLiteral("255.255.255.0"));
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpGateway), QStringLiteral("10.77.1.1"));
  QTest::mouseClick(dialog.GetDlgItem(kSetIpOk), Qt::LeftButton);
  QCOMPARE(boxes->Count(), std::size_t(1));
  const MessageBoxRequest asked = boxes->Requests()[0];
  QVERIFY(ToQString(asked.text).startsWith(QStringLiteral("Warning - The default gateway")));
  QCOMPARE(ToQString(asked.caption), QStringLiteral("Warning"));
  QCOMPARE(asked.buttons, MessageBoxButtons::YesNo);
  if (!yes) {
    QVERIFY(!dialog.Waiting());
    QVERIFY(dialog.GetDlgItem(kSetIpOk)->isEnabled());
    QTest::qWait(200);
    QVERIFY(SentBlocks(*m_sim).empty());
    return;
  }
  QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), kWithinMs);
  const std::vector<SentBlock> sent = SentBlocks(*m_sim);
  QCOMPARE(sent.size(), std::size_t(1));
  QCOMPARE(QString::fromStdString(sent[0].gateway), QStringLiteral("10.77.1.1"));
  QCOMPARE(sent[0].dhcp, '0');
}

void TestSetIpDialog::noAcknowledgementIsReportedAndTheDialogStaysUsable() {
  StartFarBox(false);
  QVERIFY(m_sim->SetFaults("FARBOX", json{{"no_address_ack", true}}));
  ScopedMessageBoxRecorder boxes;
  CSettingIpDialog dialog(FarBoxIndex());
  dialog.show();
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpAddress), QStringLiteral("10.77.0.9"));
  SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpMask), QStringLiteral("255.255.255.0"));
  dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpGateway)->ClearAddress();
  QTest::mouseClick(dialog.GetDlgItem(kSetIpOk), Qt::LeftButton);
  QVERIFY(dialog.Waiting());
  for (int id : {kSetIpOk, kSetIpCancel, kSetIpDhcp, kSetIpStatic}) {
    QVERIFY(!dialog.GetDlgItem(id)->isEnabled());
  }
  // Escape, the window's close and WM_CLOSE do nothing meanwhile.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(!dialog.close());
  SendMessage(dialog.Handle(), WM_CLOSE, 0, 0);
  QVERIFY(dialog.isVisible());
  QVERIFY(m_sim->WaitForRequest(IsAddressChange, std::chrono::seconds(10)));

  QTRY_VERIFY_WITH_TIMEOUT(!dialog.Waiting(), 40000);
  QCOMPARE(Messages(*boxes),
           QStringList{QStringLiteral("setting NAS ip failed,please reset NAS ip.")});
  QVERIFY(dialog.isVisible());
  for (int id : {kSetIpOk, kSetIpCancel, kSetIpDhcp, kSetIpStatic}) {
    QVERIFY(dialog.GetDlgItem(id)->isEnabled());
  }
  QTest::mouseClick(dialog.GetDlgItem(kSetIpCancel), Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QVERIFY(!dialog.isVisible());
}

// The dialog ends at the box's acknowledgement and leaves the search to the
// main window: the box hears the probes of one discovery, not two.
void TestSetIpDialog::anAcknowledgedChangeIsSearchedForOnceByTheWindow() {
  StartFarBox(false);
  QTest::qWait(300); // the window's first search has ended
  int firstSearch = 0;
  for (const test::SimRequest &r : m_sim->Requests()) {
    firstSearch += IsProbe(r) ? 1 : 0;
  }
  QVERIFY(firstSearch > 0);
  {
    // The dialog alone: once acknowledged it closes without a search.
    ScopedMessageBoxRecorder boxes;
    CSettingIpDialog dialog(FarBoxIndex());
    dialog.show();
    SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpAddress), QStringLiteral("169.254.37.12"));
    SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(kSetIpMask), QStringLiteral("255.255.0.0"));
    QTest::mouseClick(dialog.GetDlgItem(kSetIpOk), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), kWithinMs);
    QTest::qWait(300);
    QCOMPARE(ProbesAfterTheChange(*m_sim), 0);
    QCOMPARE(Messages(*boxes), QStringList());
  }
  // From the window: the question, the dialog, then the window's one search.
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::Ok);
  test::WhenModalShown<CSettingIpDialog>([&](CSettingIpDialog *dialog) {
    SetAddress(dialog->GetDlgItemAs<CGdipIpAddrCtl>(kSetIpAddress), QStringLiteral("10.77.0.9"));
    SetAddress(dialog->GetDlgItemAs<CGdipIpAddrCtl>(kSetIpMask), QStringLiteral("255.255.255.0"));
    dialog->GetDlgItemAs<CGdipIpAddrCtl>(kSetIpGateway)->ClearAddress();
    QTest::mouseClick(dialog->GetDlgItem(kSetIpOk), Qt::LeftButton);
  });
  test::WhenModalShown<CLoginDialog>([](CLoginDialog *dialog) {
    dialog->PasswordField()->setText(QStringLiteral("admin"));
    QTest::mouseClick(dialog->GetDlgItem(kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(m_window->GetDlgItem(kConnect), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(Messages(*boxes).contains(kTaken), kWithinMs);
  QTRY_COMPARE_WITH_TIMEOUT(m_window->State(), UiState::Listed, kWithinMs);
  QTest::qWait(300);
  QCOMPARE(ProbesAfterTheChange(*m_sim), firstSearch);
  QCOMPARE(test::ListedNames(*m_window), QStringList{QStringLiteral("FARBOX")});
}

QTEST_MAIN(TestSetIpDialog)
#include "tst_set_ip_dialog.moc"
