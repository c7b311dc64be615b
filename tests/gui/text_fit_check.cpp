// The text-fit check: every window opened in the five languages (the main
// window searching, listed, with nobody answering and logged in with its
// panel and folders; the login, settings and set-IP dialogs; each wizard
// page; the format dialog running, complete and failed), and every visible
// skinned text measured at its font against the room its control draws it
// in. A text that would be shortened fails the run, named by language,
// window, control and text, unless its control shortens by design (a name
// the box chose, a list title); those are listed in the report.
//
//   text_fit_check <folder> [scale]
//
// Writes <folder>/text-fit[@2x].txt with every shortened text; run at pixel
// ratio 1 and 2 inside a network namespace, against simulated boxes.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTextStream>
#include <cstdio>
#include <functional>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "gallery_sim.h"
#include "gallery_support.h"
#include "i18n/current_language.h"
#include "main_test_support.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "platform/message_box.h"
#include "platform/network_drives.h"
#include "platform/text_codec.h"
#include "support/nas_sim_process.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/skin/control_id.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/skin/text_room.h"
#include "ui/wizard/box_values_page.h"
#include "ui/wizard/drive_mapping_page.h"
#include "ui/wizard/process_dialog.h"
#include "ui/wizard/raid_page.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_launch.h"
#include "worker/private_messages.h"
#include "worker/ticket.h"

using namespace corvesta;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

using gallery::Fail;

struct Language {
  int index;
  const char *code;
};
constexpr Language kLanguages[] = {{0, "eng"}, {1, "fre"}, {2, "ger"}, {3, "spa"}, {4, "rus"}};
constexpr int kWaitMs = 10000;

QString g_language;
QStringList g_report;
int g_measured = 0;

QString Describe(const QWidget &control) {
  const int id = GetDlgCtrlID(&control);
  return QString::fromLatin1(control.metaObject()->className()) +
         (id != 0 ? QStringLiteral(" #%1").arg(id) : QString());
}

// Measures every visible skinned text of `window` as it stands.
void Measure(QWidget &window, const QString &where) {
  gallery::Settle();
  QList<QWidget *> controls = window.findChildren<QWidget *>();
  controls.prepend(&window);
  for (QWidget *control : controls) {
    if (!control->isVisible()) {
      continue;
    }
    for (const skin::TextRoom &room : skin::TextRoomsOf(*control)) {
      ++g_measured;
      if (skin::TextFits(room, control)) {
        continue;
      }
      const QRect needed =
          QFontMetrics(room.font, control).boundingRect(room.room, room.flags, room.text);
      const QString line = QStringLiteral("%1 %2: %3 \"%4\" needs %5x%6, has %7x%8")
                               .arg(g_language, where, Describe(*control), room.text)
                               .arg(needed.width())
                               .arg(needed.height())
                               .arg(room.room.width())
                               .arg(room.room.height());
      if (room.shortens) {
        g_report << line + QStringLiteral(" (shortened by design)");
      } else {
        g_report << line;
        Fail(QStringLiteral("cut: ") + line);
      }
    }
  }
}

bool WaitFor(const std::function<bool()> &done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < kWaitMs) {
    QTest::qWait(20);
  }
  return done();
}

// ------------------------------------------------------------ main window

bool LogIn(CUtilityDlg &window, const QString &user, const QString &password) {
  auto *list = window.GetDlgItemAs<QComboBox>(main_ids::kBoxList);
  list->setCurrentIndex(list->findText(QStringLiteral("HOMESTORE")));
  test::WhenModalShown<CLoginDialog>([=](CLoginDialog *dialog) {
    Measure(*dialog, QStringLiteral("login dialog over the main window"));
    dialog->UserField()->setText(user);
    dialog->PasswordField()->setText(password);
    QTest::mouseClick(dialog->GetDlgItem(main_ids::kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(main_ids::kConnect), Qt::LeftButton);
  if (!WaitFor([&] { return window.InfoPanel()->isVisible(); })) {
    Fail(g_language + QStringLiteral(": no panel after the login of ") + user);
    return false;
  }
  return true;
}

void SetProbeSilent(NasSimProcess &sim, bool silent) {
  const json faults = silent ? json{{"udp", {{"probe", {{"silent", true}}}}}} : json::object();
  for (const char *name : {"HOMESTORE", "KS-NEW"}) {
    sim.SetFaults(name, faults);
  }
}

void MeasureMainWindow(NasSimProcess &sim) {
  ScopedMessageBoxRecorder answers; // the first-run offer and the like are answered
  CUtilityDlg window;
  window.show();
  window.Start();
  Measure(window, QStringLiteral("main window searching"));
  if (!WaitFor([&] { return window.State() == UiState::Listed; })) {
    Fail(g_language + QStringLiteral(": the box list did not fill"));
    return;
  }
  Measure(window, QStringLiteral("main window listed"));
  SetProbeSilent(sim, true);
  QTest::mouseClick(window.GetDlgItem(main_ids::kRefresh), Qt::LeftButton);
  WaitFor([&] { return window.State() == UiState::Listed; });
  Measure(window, QStringLiteral("main window, no box answered"));
  SetProbeSilent(sim, false);
  QTest::mouseClick(window.GetDlgItem(main_ids::kRefresh), Qt::LeftButton);
  WaitFor([&] { return window.State() == UiState::Listed; });

  const std::int32_t office = [] {
    const std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
    for (std::size_t i = 0; i < devices.size(); ++i) {
      if (std::string(devices[i].name) == "KS-NEW") {
        return static_cast<std::int32_t>(i);
      }
    }
    return -1;
  }();
  {
    CSettingIpDialog dialog(office);
    dialog.show();
    Measure(dialog, QStringLiteral("set-IP dialog, static"));
    QTest::mouseClick(dialog.GetDlgItem(main_ids::kSetIpDhcp), Qt::LeftButton);
    Measure(dialog, QStringLiteral("set-IP dialog, DHCP"));
  }
  if (LogIn(window, QStringLiteral("admin"), QStringLiteral("admin"))) {
    Measure(window, QStringLiteral("main window, administrator"));
    QTest::mouseClick(window.GetDlgItem(main_ids::kFolder), Qt::LeftButton);
    WaitFor([&] { return window.InfoPanel()->FolderList()->FolderCount() > 0; });
    Measure(window, QStringLiteral("main window, folders"));
  }
  QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
  if (LogIn(window, QStringLiteral("anna"), QStringLiteral("anna2024"))) {
    Measure(window, QStringLiteral("main window, user"));
  }
  QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
}

void MeasureDialogs() {
  {
    CLoginDialog dialog;
    dialog.Prepare(QStringLiteral("anna"), QStringLiteral("anna2024"));
    dialog.show();
    Measure(dialog, QStringLiteral("login dialog"));
  }
  {
    CSettingsDialog dialog;
    dialog.show();
    Measure(dialog, QStringLiteral("settings dialog"));
  }
}

// ------------------------------------------------------------------ wizard

void UseBox(const char *name, const char *ip) {
  const std::uint64_t generation = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(generation, [&](std::vector<NasDevice> &devices) {
    NasDevice device;
    CopyToField(device.name, sizeof device.name, name);
    CopyToField(device.ip, sizeof device.ip, ip);
    CopyToField(device.netmask, sizeof device.netmask, "255.0.0.0");
    devices.push_back(device);
  });
}

// Every page of a wizard run, once each has its box's values.
void MeasureWizard(const QString &box) {
  for (std::size_t order = 0; order < wizard_ids::kSteps.size(); ++order) {
    WizardPageSet pages;
    CWizardDialog frame(nullptr, 0, true);
    AddWizardPages(frame, pages, true, 0);
    frame.Initialise();
    frame.show();
    if (order != 0) {
      frame.OnStep(wizard_ids::kSteps[order].button);
    }
    if (auto *raid = dynamic_cast<CRaidPage *>(pages.Page(order))) {
      WaitFor([&] { return raid->ReportReceived(); });
    } else if (auto *values = dynamic_cast<CBoxValuesPage *>(pages.Page(order))) {
      WaitFor([&] { return values->Load() != CBoxValuesPage::LoadState::Loading; });
    } else if (auto *drives = dynamic_cast<CDriveMappingPage *>(pages.Page(order))) {
      WaitFor([&] { return drives->List()->GetItemCount() > 0; });
    }
    Measure(frame, QStringLiteral("wizard page %1 of %2").arg(order + 1).arg(box));
  }
}

enum class FormatEnd { Running, Complete, Failed };

void MeasureFormat(FormatEnd end, const QString &where) {
  FormatRequests requests;
  const auto issue = [](WindowHandle, std::int32_t) { return NextTicket(); };
  requests.stopFileBrowser = issue;
  requests.createVolumes = [](WindowHandle, std::int32_t, const VolumeSpec &) {
    return NextTicket();
  };
  requests.readFormatState = issue;
  requests.remountDisks = issue;
  requests.readRemountState = issue;
  requests.finishFormatting = issue;
  CProcessDialog dialog(nullptr, 0, VolumeSpec{}, requests);
  dialog.show();
  dialog.Start();
  const auto step = [&dialog](CommandIndex index) {
    dialog.WindowProc(WM_DISK_STEP_RESULT, 1, static_cast<LPARAM>(index));
  };
  const auto state = [&dialog](int value, int percent) {
    QTest::qWait(400); // the poll for it has gone out
    dialog.WindowProc(WM_FORMAT_PROGRESS, static_cast<WPARAM>(value), percent);
  };
  step(CommandIndex::StopFileBrowser);
  dialog.WindowProc(WM_FORMAT_CREATE_RESULT, 1, static_cast<LPARAM>(CommandIndex::CreateVolumes));
  state(1, 62);
  if (end != FormatEnd::Running) {
    state(end == FormatEnd::Complete ? 2 : 0, 100);
    step(CommandIndex::RemountDisks);
    step(CommandIndex::ReadRemountState);
    step(CommandIndex::FinishFormatting);
  }
  Measure(dialog, where);
  if (end != FormatEnd::Running) {
    dialog.accept();
  }
}

void MeasureWizardAndFormat() {
  ScopedNetworkDrivesRecorder drives;
  ScopedMessageBoxRecorder answers;
  SetCurrentCredentials(MakeCredentials("admin", "admin"));
  UseBox("HOMESTORE", "127.0.0.3");
  MeasureWizard(QStringLiteral("HOMESTORE"));
  UseBox("KS-NEW", "127.0.0.2");
  MeasureWizard(QStringLiteral("KS-NEW (DHCP, one disk)"));
  MeasureFormat(FormatEnd::Running, QStringLiteral("format dialog running"));
  MeasureFormat(FormatEnd::Complete, QStringLiteral("format dialog complete"));
  MeasureFormat(FormatEnd::Failed, QStringLiteral("format dialog failed"));
}

json Box(const std::string &name, int host, bool dhcp, json accounts, json disks) {
  char mac[32];
  std::snprintf(mac, sizeof mac, "02:c0:de:00:03:%02x", host);
  json box = NasSimProcess::MakeBox(name, "127.0.0." + std::to_string(host), mac, "admin");
  box["netmask"] = "255.0.0.0";
  box["dhcp"] = dhcp;
  box["workgroup"] = "FAMILY";
  box["description"] = "Photos and backups";
  box["accounts"] = std::move(accounts);
  box["disks"] = std::move(disks);
  return box;
}

json CheckState() {
  const json admin = {{"user", "admin"}, {"password", "admin"}, {"access", "1,1,1,1,1,1"}};
  const json anna = {{"user", "anna"}, {"password", "anna2024"}, {"access", "1,1,0,0,0,0"}};
  const json two = json::array(
      {json{{"device", "sda"}, {"size_gib", 1000}}, json{{"device", "sdb"}, {"size_gib", 1000}}});
  json home = Box("HOMESTORE", 3, false, json::array({admin, anna}), two);
  home["volumes"] = json::array({{{"volume", 1},
                                  {"mode", "standard"},
                                  {"file_system", "ext4"},
                                  {"disks", "sda"},
                                  {"total_kib", 1048576000},
                                  {"used_kib", 402653184}}});
  home["shares"] =
      json::array({{{"name", "Public"}}, {{"name", "Photos"}}, {{"name", "Family holidays 2024"}}});
  return NasSimProcess::MakeState(
      {home, Box("KS-NEW", 2, true, json::array({admin}),
                 json::array({json{{"device", "sda"}, {"size_gib", 2000}}}))});
}

void WriteReport() {
  const QString path = gallery::PathOf(QStringLiteral("text-fit"))
                           .replace(QStringLiteral(".png"), QStringLiteral(".txt"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    Fail(QStringLiteral("cannot write ") + path);
    return;
  }
  QTextStream out(&file);
  out << "Texts measured: " << g_measured << ", shortened: " << g_report.size() << "\n";
  for (const QString &line : g_report) {
    out << line << "\n";
  }
  std::printf("text_fit_check: %d texts measured, %lld shortened (%s)\n", g_measured,
              static_cast<long long>(g_report.size()), qPrintable(path));
}

} // namespace

int main(int argc, char *argv[]) {
  return gallery::RunAgainstSim(argc, argv, "text_fit_check", CheckState(), [](NasSimProcess &sim) {
    settings::Write(settings::kSectionCurrent, settings::kKeyServName, u"HOMESTORE");
    settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
    for (const Language &language : kLanguages) {
      SelectLanguage(language.index);
      g_language = QString::fromLatin1(language.code);
      MeasureMainWindow(sim);
      MeasureDialogs();
      MeasureWizardAndFormat();
    }
    ClearCurrentLanguage();
    if (g_measured == 0) {
      Fail(QStringLiteral("no text was measured"));
    }
    WriteReport();
  });
}
