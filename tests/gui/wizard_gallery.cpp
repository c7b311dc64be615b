// The wizard gallery: the real wizard frame with each of its pages, filled
// from a simulated box, in English, German and Russian, written as PNG files
// so they can be looked at (the network page in both of its modes, and in
// German sending DHCP with a hidden address left half-typed, the disk mode
// page with one and with two disks), and the format progress dialog running,
// completed and failed.
//
//   wizard_gallery <folder> [scale]
//
// Run under an X server (xvfb-run) inside a network namespace. With scale 2
// the windows are drawn at device pixel ratio 2 and the files are named
// <shot>@2x.png. The exit code is 0 when every page showed the box's values
// and every shot was written.

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "gallery_sim.h"
#include "gallery_support.h"
#include "i18n/current_language.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/udp/adapter_table.h"
#include "platform/message_box.h"
#include "platform/network_drives.h"
#include "platform/text_codec.h"
#include "support/nas_sim_process.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/skin/gdip_list_combo_box.h"
#include "ui/skin/gdip_list_ctrl.h"
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
using namespace corvesta::wizard_ids;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

using gallery::Fail;
using gallery::Save;
using gallery::ShootOnScreen;

struct Language {
  int index;
  const char *code;
};
constexpr Language kLanguages[] = {{0, "eng"}, {2, "ger"}, {4, "rus"}};

json Box(const std::string &name, int host, bool dhcp, json disks) {
  char mac[32];
  std::snprintf(mac, sizeof mac, "02:c0:de:00:02:%02x", host);
  json box = NasSimProcess::MakeBox(name, "127.0.0." + std::to_string(host), mac, "admin");
  box["dhcp"] = dhcp;
  box["workgroup"] = "FAMILY";
  box["description"] = "Photos and backups";
  box["timezone"] = 40;
  box["dns1"] = "127.0.0.1";
  box["disks"] = std::move(disks);
  return box;
}

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

// One page of a fresh wizard run, once the box's values are in; with
// `focus` that control holds the focus as Tab takes it there.
void ShootPage(std::size_t order, const QString &name, int focus = 0) {
  WizardPageSet pages;
  CWizardDialog frame(nullptr, 0, true);
  AddWizardPages(frame, pages, true, 0);
  frame.Initialise();
  frame.show();
  if (order != 0) {
    frame.OnStep(kSteps[order].button);
  }
  if (auto *raid = dynamic_cast<CRaidPage *>(pages.Page(order))) {
    QElapsedTimer clock;
    clock.start();
    while (!raid->ReportReceived() && clock.elapsed() < 10000) {
      QTest::qWait(20);
    }
    if (raid->DiskState() == 0) {
      Fail(QStringLiteral("no disks for ") + name);
    }
  } else if (auto *page = dynamic_cast<CBoxValuesPage *>(pages.Page(order))) {
    QElapsedTimer clock;
    clock.start();
    while (page->Load() == CBoxValuesPage::LoadState::Loading && clock.elapsed() < 10000) {
      QTest::qWait(20);
    }
    if (page->Load() != CBoxValuesPage::LoadState::Loaded) {
      Fail(QStringLiteral("no values for ") + name);
    }
  } else {
    for (int id : {kOldPassword, kNewPassword, kConfirmPassword}) {
      frame.GetDlgItemAs<QLineEdit>(id)->setText(QStringLiteral("Shelf2024"));
    }
  }
  if (focus != 0) {
    ShootOnScreen(frame);
    QApplication::setActiveWindow(&frame);
    QWidget *control = frame.GetDlgItem(focus);
    if (control == nullptr) {
      Fail(QStringLiteral("nothing to focus in ") + name);
    } else {
      control->setFocus(Qt::TabFocusReason);
      gallery::SettleOnScreen();
    }
  }
  Save(ShootOnScreen(frame), name);
}

// The network page of a DHCP box: an address typed half-way under Static,
// then DHCP again and Next. Nobody is asked about the hidden field; the shot
// shows the change under way.
void ShootHalfTypedHiddenField(const QString &name) {
  auto asked = std::make_shared<MessageBoxRecorder>();
  const auto previous = SetMessageBoxService(asked);
  // This machine's loopback is the PC's network: the box stays inside it.
  AdapterTable table;
  CopyToField(table.adapters[0].address, sizeof table.adapters[0].address, "127.0.0.1");
  CopyToField(table.adapters[0].mask, sizeof table.adapters[0].mask, "255.0.0.0");
  table.count = 1;
  const AdapterTable before = CurrentAdapterTable();
  SetCurrentAdapterTable(table);
  {
    WizardPageSet pages;
    CWizardDialog frame(nullptr, 0, true);
    AddWizardPages(frame, pages, true, 0);
    frame.Initialise();
    frame.show();
    frame.OnStep(kSteps[3].button);
    auto *page = static_cast<CBoxValuesPage *>(pages.Page(3));
    QElapsedTimer clock;
    clock.start();
    while (page->Load() == CBoxValuesPage::LoadState::Loading && clock.elapsed() < 10000) {
      QTest::qWait(20);
    }
    if (page->Load() != CBoxValuesPage::LoadState::Loaded) {
      Fail(QStringLiteral("no values for ") + name);
    }
    QTest::mouseClick(frame.GetDlgItem(kStatic), Qt::LeftButton);
    auto *address = frame.GetDlgItemAs<CGdipIpAddrCtl>(kIpAddress);
    address->Field(0)->setText(QStringLiteral("192"));
    address->Field(1)->setText(QStringLiteral("168"));
    address->Field(2)->clear();
    address->Field(3)->clear();
    QTest::mouseClick(frame.GetDlgItem(kDhcp), Qt::LeftButton);
    if (address->isVisible()) {
      Fail(QStringLiteral("the address field is shown in DHCP mode for ") + name);
    }
    frame.OnNext();
    Save(ShootOnScreen(frame), name);
    if (!page->IsPending()) {
      Fail(QStringLiteral("no change under way for ") + name);
    }
    // The change ends before the frame goes, so the box is left as it was.
    clock.restart();
    while (page->IsPending() && clock.elapsed() < 10000) {
      QTest::qWait(20);
    }
  }
  SetCurrentAdapterTable(before);
  SetMessageBoxService(previous);
  for (const MessageBoxRequest &request : asked->Requests()) {
    Fail(name + QStringLiteral(" asked: ") + QString::fromStdU16String(request.text));
  }
}

// The format progress dialog driven by the answers a box would give: at 62%
// while it runs, or on to its end: completed, or a formatting the box
// reported failed (remounted and finished all the same).
enum class FormatShot { Running, Complete, Failed };

void ShootFormat(FormatShot shot, const QString &name) {
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
  // The next state answer, once the poll for it has gone out.
  const auto state = [&dialog](int value, int percent) {
    QTest::qWait(400);
    dialog.WindowProc(WM_FORMAT_PROGRESS, static_cast<WPARAM>(value), percent);
  };
  step(CommandIndex::StopFileBrowser);
  dialog.WindowProc(WM_FORMAT_CREATE_RESULT, 1, static_cast<LPARAM>(CommandIndex::CreateVolumes));
  state(1, 62);
  if (shot != FormatShot::Running) {
    state(shot == FormatShot::Complete ? 2 : 0, 100);
    step(CommandIndex::RemountDisks);
    step(CommandIndex::ReadRemountState);
    step(CommandIndex::FinishFormatting);
    if (!dialog.Outcome()) {
      Fail(QStringLiteral("the chain did not end for ") + name);
    }
  }
  Save(ShootOnScreen(dialog), name);
  if (shot != FormatShot::Running) {
    dialog.accept();
  }
}

// The drive mapping page once the share list is in; with `chooser` the
// Location cell of the first share is open.
void ShootDrivePage(const QString &name, bool chooser) {
  WizardPageSet pages;
  CWizardDialog frame(nullptr, 0, true);
  AddWizardPages(frame, pages, true, 0);
  frame.Initialise();
  frame.show();
  frame.OnStep(kSteps[5].button);
  auto *page = static_cast<CDriveMappingPage *>(pages.Page(5));
  QElapsedTimer clock;
  clock.start();
  while (page->List()->GetItemCount() == 0 && clock.elapsed() < 10000) {
    QTest::qWait(20);
  }
  if (page->List()->GetItemCount() == 0) {
    Fail(QStringLiteral("no shares for ") + name);
  }
  if (chooser) {
    ShootOnScreen(frame);
    // Opened from the keyboard, as a person without a mouse opens it.
    QApplication::setActiveWindow(&frame);
    page->List()->SetSelectedRow(0);
    page->List()->setFocus(Qt::TabFocusReason);
    gallery::SettleOnScreen();
    QTest::keyClick(page->List(), Qt::Key_Space);
    gallery::SettleOnScreen();
    if (CGdipListCtrl::Chooser() == nullptr || !CGdipListCtrl::Chooser()->isVisible()) {
      Fail(QStringLiteral("no chooser for ") + name);
    }
  }
  Save(ShootOnScreen(frame), name);
}

// HOMESTORE with two disks and three shares, KS-NEW with one disk on DHCP.
json GalleryState() {
  const json two = json::array(
      {json{{"device", "sda"}, {"size_gib", 1000}}, json{{"device", "sdb"}, {"size_gib", 1000}}});
  const json one = json::array({json{{"device", "sda"}, {"size_gib", 2000}}});
  json homestore = Box("HOMESTORE", 3, false, two);
  homestore["shares"] = json::array({{{"name", "Public"}},
                                     {{"name", "Photos"}},
                                     {{"name", "Backup of the family laptops 2024"}}});
  return NasSimProcess::MakeState({homestore, Box("KS-NEW", 2, true, one)});
}

// Every page and the format progress dialog in each language.
void ShootLanguages() {
  // Photos is on Z:, a remembered letter of another box holds Y:.
  ScopedNetworkDrivesRecorder drives;
  DriveMapping photos;
  photos.letter = 'Z';
  photos.server = "127.0.0.3";
  photos.share = "Photos";
  photos.connected = true;
  drives->AddMapping(photos);
  DriveMapping other = photos;
  other.letter = 'Y';
  other.server = "10.1.1.9";
  other.connected = false;
  drives->AddMapping(other);
  SetCurrentCredentials(MakeCredentials("admin", "admin"));
  const char *shots[] = {"wizard_password", "wizard_device_info", "wizard_time_zone",
                         "wizard_network_static"};
  for (const Language &language : kLanguages) {
    SelectLanguage(language.index);
    const QString code = QString::fromLatin1(language.code);
    UseBox("HOMESTORE", "127.0.0.3");
    for (std::size_t order = 0; order < std::size(shots); ++order) {
      ShootPage(order, QString::fromLatin1(shots[order]) + QLatin1Char('_') + code);
    }
    ShootPage(4, QStringLiteral("wizard_raid_two_disks_") + code);
    ShootDrivePage(QStringLiteral("wizard_drive_mapping_") + code, false);
    ShootDrivePage(QStringLiteral("wizard_drive_mapping_choices_") + code, true);
    UseBox("KS-NEW", "127.0.0.2");
    ShootPage(3, QStringLiteral("wizard_network_dhcp_") + code);
    ShootPage(3, QStringLiteral("wizard_network_focus_dhcp_") + code, kDhcp);
    ShootPage(4, QStringLiteral("wizard_raid_one_disk_") + code);
    ShootFormat(FormatShot::Running, QStringLiteral("format_running_") + code);
    ShootFormat(FormatShot::Complete, QStringLiteral("format_complete_") + code);
    ShootFormat(FormatShot::Failed, QStringLiteral("format_failed_") + code);
    if (code == QStringLiteral("ger")) {
      ShootHalfTypedHiddenField(QStringLiteral("wizard_network_dhcp_half_typed_") + code);
    }
  }
  ClearCurrentLanguage();
}

} // namespace

int main(int argc, char *argv[]) {
  return gallery::RunAgainstSim(argc, argv, "wizard_gallery", GalleryState(),
                                [](NasSimProcess &) { ShootLanguages(); });
}
