// The window gallery: the real main window and login dialog, driven against
// simulated boxes, shot in their states and in every language, written as
// PNG files so they can be looked at.
//
//   window_gallery <folder> [scale]
//
// Run under an X server (xvfb-run) inside a network namespace. With scale 2
// the windows are drawn at device pixel ratio 2 and the files are named
// <shot>@2x.png. The exit code is 0 when every shot was taken, is not blank
// and was written.

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <cstdio>
#include <functional>

#include "app/program_info.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "gallery_sim.h"
#include "gallery_support.h"
#include "i18n/current_language.h"
#include "i18n/translate.h"
#include "main_test_support.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "platform/base64.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/address_change_sequence.h"
#include "support/nas_sim_process.h"
#include "ui/main/idle_logout.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/platform/qt_message_box.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_ip_addr_ctl.h"

using namespace corvesta;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

using gallery::Fail;
using gallery::ShootOnScreen;

struct Language {
  int index; // for SelectLanguage
  const char *code;
};
constexpr Language kLanguages[] = {{0, "eng"}, {1, "fre"}, {2, "ger"}, {3, "spa"}, {4, "rus"}};

// A shot that shows nothing is refused.
void Save(const QImage &image, const QString &name) {
  if (gallery::IsBlank(image)) {
    Fail(QStringLiteral("blank shot ") + gallery::PathOf(name));
    return;
  }
  gallery::Save(image, name);
}

json Box(const std::string &name, int host, json accounts, json volumes) {
  char mac[32];
  std::snprintf(mac, sizeof mac, "02:c0:de:00:01:%02x", host);
  json box = NasSimProcess::MakeBox(name, "127.0.0." + std::to_string(host), mac, "admin");
  box["netmask"] = "255.0.0.0";
  box["accounts"] = std::move(accounts);
  box["volumes"] = std::move(volumes);
  return box;
}

// The owner's shot with the box's shot over it, each where the screen has
// it: the picture grows to hold a box that reaches beyond its owner.
QImage Composed(const QImage &owner, QRect ownerPlace, const QImage &box, QRect boxPlace) {
  const QRect whole = ownerPlace.united(boxPlace);
  const qreal ratio = owner.devicePixelRatio();
  QImage composed(whole.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  composed.setDevicePixelRatio(ratio);
  composed.fill(Qt::transparent);
  QPainter painter(&composed);
  painter.drawImage(ownerPlace.topLeft() - whole.topLeft(), owner);
  painter.drawImage(boxPlace.topLeft() - whole.topLeft(), box);
  return composed;
}

// The window with the message box that `trigger` shows, drawn whole where it
// opens over the window. A box shown later (from a worker, after a reply)
// is waited for; none within 20 seconds fails the shot.
QImage WithMessage(QWidget &window, const std::function<void()> &trigger) {
  QImage composed;
  auto service =
      std::make_shared<QtMessageBoxService>([&](const MessageBoxRequest &request, QWidget *owner) {
        // The box with the pointer off it, so that no button shows its hover
        // face; then the owner, once it is the active window again (a window
        // manager activates it a moment after the box has gone).
        const QPoint pointer = QCursor::pos();
        QCursor::setPos(0, 0);
        auto box = BuildMessageBox(request, owner);
        const QImage boxShot = ShootOnScreen(*box);
        // Where the windows are drawn: a window manager's frames are not shot.
        const QRect boxPlace = box->geometry();
        box->hide();
        QCursor::setPos(pointer);
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) {
          Fail(QStringLiteral("the owner of a message box did not become active again"));
        }
        composed = Composed(ShootOnScreen(window), window.geometry(), boxShot, boxPlace);
        return DismissAnswer(request.buttons);
      });
  auto previous = SetMessageBoxService(service);
  trigger();
  for (int i = 0; i < 2000 && composed.isNull(); ++i) {
    QTest::qWait(10);
  }
  SetMessageBoxService(previous);
  if (composed.isNull()) {
    Fail(QStringLiteral("no message box over ") +
         QString::fromLatin1(window.metaObject()->className()));
  }
  return composed;
}

void SetAddress(CGdipIpAddrCtl *control, const char *dotted) {
  const QStringList parts = QString::fromLatin1(dotted).split(QLatin1Char('.'));
  for (int i = 0; i < 4; ++i) {
    control->Field(i)->setText(i < parts.size() ? parts[i] : QString());
  }
}

// The window shown and active with the keyboard focus on `control`, as Tab
// would have taken it there: the control draws its focus ring.
QImage FocusedOn(QWidget &window, QWidget *control) {
  if (control == nullptr) {
    Fail(QStringLiteral("no control to focus in ") +
         QString::fromLatin1(window.metaObject()->className()));
    return {};
  }
  gallery::Show(window);
  QApplication::setActiveWindow(&window);
  // A click may have focused it already, and a click's focus draws no ring.
  control->clearFocus();
  control->setFocus(Qt::TabFocusReason);
  gallery::SettleOnScreen();
  if (!control->hasFocus()) {
    Fail(QStringLiteral("the focus did not go to ") +
         QString::fromLatin1(control->metaObject()->className()));
  }
  return ShootOnScreen(window);
}

std::int32_t IndexOf(const char *name) {
  const std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (std::string(devices[i].name) == name) {
      return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

// The settings dialog, and the set-IP dialog with DHCP, with a static
// address, with the gateway question over it and waiting for the box.
void ShootDialogs(const QString &code, NasSimProcess &sim) {
  {
    CSettingsDialog dialog;
    Save(ShootOnScreen(dialog), QStringLiteral("settings_") + code);
    Save(FocusedOn(dialog, dialog.GetDlgItem(CSettingsDialog::RadioFor(IdleTime()))),
         QStringLiteral("settings_focus_") + code);
  }
  const std::int32_t box = IndexOf("OFFICE-NAS");
  if (box < 0) {
    Fail(QStringLiteral("OFFICE-NAS is not listed"));
    return;
  }
  {
    CSettingIpDialog dialog(box);
    Save(ShootOnScreen(dialog), QStringLiteral("set_ip_static_") + code);
    QTest::mouseClick(dialog.GetDlgItem(main_ids::kSetIpDhcp), Qt::LeftButton);
    Save(ShootOnScreen(dialog), QStringLiteral("set_ip_dhcp_") + code);
    Save(FocusedOn(dialog, dialog.GetDlgItem(main_ids::kSetIpDhcp)),
         QStringLiteral("set_ip_focus_dhcp_") + code);
    QTest::mouseClick(dialog.GetDlgItem(main_ids::kSetIpStatic), Qt::LeftButton);
    SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(main_ids::kSetIpAddress), "192.168.1.10");
    SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(main_ids::kSetIpMask), "255.255.255.0");
    SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(main_ids::kSetIpGateway), "192.168.2.1");
    Save(WithMessage(
             dialog,
             [&] { QTest::mouseClick(dialog.GetDlgItem(main_ids::kSetIpOk), Qt::LeftButton); }),
         QStringLiteral("set_ip_gateway_warning_") + code);
  }
  {
    // The box stays silent: the dialog waits with its buttons off.
    sim.SetFaults("OFFICE-NAS", json{{"udp", {{"set_address", {{"silent", true}}}}}});
    timing::ScopedTimeScale shortWait(0.01);
    CSettingIpDialog dialog(box);
    SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(main_ids::kSetIpAddress), "192.168.1.10");
    SetAddress(dialog.GetDlgItemAs<CGdipIpAddrCtl>(main_ids::kSetIpMask), "255.255.255.0");
    dialog.GetDlgItemAs<CGdipIpAddrCtl>(main_ids::kSetIpGateway)->ClearAddress();
    dialog.show();
    QTest::mouseClick(dialog.GetDlgItem(main_ids::kSetIpOk), Qt::LeftButton);
    if (!dialog.Waiting()) {
      Fail(QStringLiteral("the set-IP dialog does not wait"));
    }
    Save(ShootOnScreen(dialog), QStringLiteral("set_ip_waiting_") + code);
    // Its end is shown in a message box; nobody is there to see it.
    auto quiet = std::make_shared<MessageBoxRecorder>();
    auto previous = SetMessageBoxService(quiet);
    for (int i = 0; i < 1000 && dialog.Waiting(); ++i) {
      QTest::qWait(10);
    }
    SetMessageBoxService(previous);
    sim.SetFaults("OFFICE-NAS", json::object());
  }
}

// Logout pressed, and the window active again: the focus has left the
// Logout button, which is off now (a window manager activates a moment later).
void LogOut(CUtilityDlg &window) {
  QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) {
    Fail(QStringLiteral("the main window did not become active after the logout"));
  }
  gallery::SettleOnScreen();
}

// Logged in to HOMESTORE: the folder view, and the idle timeout's message.
void ShootFolders(CUtilityDlg &window, const QString &code) {
  QTest::mouseClick(window.GetDlgItem(main_ids::kFolder), Qt::LeftButton);
  CFolderListCtrl *folders = window.InfoPanel()->FolderList();
  for (int i = 0; i < 2000 && folders->FolderCount() == 0; ++i) {
    QTest::qWait(10);
  }
  if (folders->FolderCount() == 0) {
    Fail(QStringLiteral("the folder view stayed empty"));
  }
  Save(ShootOnScreen(window), QStringLiteral("main_folders_") + code);
  // The timeout logs out first, then says so.
  LogOut(window);
  Save(WithMessage(window,
                   [&] {
                     ShowMessageBox(window.Handle(), Translate(u"Time out, please login again."),
                                    std::u16string(kProgramTitle));
                   }),
       QStringLiteral("main_timeout_") + code);
}

// The boxes of the gallery, every one silent to the probe or none.
void SetProbeSilent(NasSimProcess &sim, bool silent) {
  const json faults = silent ? json{{"udp", {{"probe", {{"silent", true}}}}}} : json::object();
  for (const char *name : {"HOMESTORE", "KS-NEW", "OFFICE-NAS"}) {
    if (!sim.SetFaults(name, faults)) {
      Fail(QStringLiteral("nas-sim took no faults for ") + QString::fromLatin1(name));
    }
  }
}

// Refresh's search, once the list has filled; false when it did not.
bool WaitListed(CUtilityDlg &window) {
  for (int i = 0; i < 2000 && window.State() != UiState::Listed; ++i) {
    QTest::qWait(10);
  }
  if (window.State() != UiState::Listed) {
    Fail(QStringLiteral("the box list did not fill"));
    return false;
  }
  return true;
}

// The word on the search: Refresh's search under way, and a search that no
// box answered with its hint. The boxes answer again afterwards.
void ShootSearch(CUtilityDlg &window, const QString &code, NasSimProcess &sim) {
  QTest::mouseClick(window.GetDlgItem(main_ids::kRefresh), Qt::LeftButton);
  const QImage searching = ShootOnScreen(window);
  if (window.State() != UiState::Searching) {
    Fail(QStringLiteral("the search ended before its shot"));
  }
  Save(searching, QStringLiteral("main_search_running_") + code);
  WaitListed(window);
  SetProbeSilent(sim, true);
  QTest::mouseClick(window.GetDlgItem(main_ids::kRefresh), Qt::LeftButton);
  if (WaitListed(window)) {
    Save(ShootOnScreen(window), QStringLiteral("main_no_box_") + code);
  }
  SetProbeSilent(sim, false);
  QTest::mouseClick(window.GetDlgItem(main_ids::kRefresh), Qt::LeftButton);
  WaitListed(window);
}

// Connect to the box selected in the list as `user`, the login dialog
// answered once it shows; what follows is left to the caller.
void Connect(CUtilityDlg &window, const QString &user, const QString &password) {
  test::WhenModalShown<CLoginDialog>([=](CLoginDialog *dialog) {
    dialog->UserField()->setText(user);
    dialog->PasswordField()->setText(password);
    QTest::mouseClick(dialog->GetDlgItem(main_ids::kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(main_ids::kConnect), Qt::LeftButton);
}

// The main window's messages around a login: the box's refusal of a wrong
// password, the first-run offer after the first login, and the set-IP
// dialog's success.
void ShootLoginMessages(CUtilityDlg &window, const QString &code) {
  Save(WithMessage(window,
                   [&] { Connect(window, QStringLiteral("admin"), QStringLiteral("wrong")); }),
       QStringLiteral("main_refused_") + code);

  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"");
  Save(WithMessage(window,
                   [&] { Connect(window, QStringLiteral("admin"), QStringLiteral("admin")); }),
       QStringLiteral("main_first_run_") + code);
  for (int i = 0; i < 2000 && !window.InfoPanel()->isVisible(); ++i) {
    QTest::qWait(10);
  }
  LogOut(window);

  // Shown once the set-IP dialog has ended with the box's acknowledgement.
  Save(WithMessage(window,
                   [&] {
                     ShowMessageBox(window.Handle(), Translate(kAddressTakenText),
                                    std::u16string(kProgramTitle));
                   }),
       QStringLiteral("main_address_taken_") + code);
}

json GalleryState() {
  const json admin = {{"user", "admin"}, {"password", "admin"}, {"access", "1,1,1,1,1,1"}};
  const json anna = {{"user", "anna"}, {"password", "anna2024"}, {"access", "1,1,0,0,0,0"}};
  const json volume1 = {{"volume", 1},    {"mode", "standard"},      {"file_system", "ext4"},
                        {"disks", "sda"}, {"total_kib", 1048576000}, {"used_kib", 402653184}};
  json home = Box("HOMESTORE", 3, json::array({admin, anna}), {volume1});
  home["shares"] = json::array({{{"name", "Public"}},
                                {{"name", "Photos"}},
                                {{"name", "Music"}},
                                {{"name", "Documents"}},
                                {{"name", "Family holidays 2024"}},
                                {{"name", "Backups"}}});
  return NasSimProcess::MakeState({home, Box("KS-NEW", 2, json::array({admin}), json::array()),
                                   Box("OFFICE-NAS", 4, json::array({admin}), json::array())});
}

// Connect as `user`; true once the panel with the volumes is shown.
bool LogIn(CUtilityDlg &window, const QString &user, const QString &password) {
  Connect(window, user, password);
  for (int i = 0; i < 2000 && !window.InfoPanel()->isVisible(); ++i) {
    QTest::qWait(10);
  }
  if (!window.InfoPanel()->isVisible()) {
    Fail(QStringLiteral("no panel after the login of ") + user);
    return false;
  }
  return true;
}

void ShootLanguage(const Language &language, bool all, NasSimProcess &sim) {
  SelectLanguage(language.index);
  const QString code = QString::fromLatin1(language.code);
  {
    CUtilityDlg window;
    if (all) {
      Save(ShootOnScreen(window), QStringLiteral("main_searching_") + code);
    }
    window.Start();
    for (int i = 0; i < 2000 && window.State() != UiState::Listed; ++i) {
      QTest::qWait(10);
    }
    if (window.State() != UiState::Listed) {
      Fail(QStringLiteral("the box list did not fill"));
    }
    Save(ShootOnScreen(window), QStringLiteral("main_listed_") + code);
    ShootSearch(window, code, sim);
    Save(FocusedOn(window, window.GetDlgItem(main_ids::kBoxList)),
         QStringLiteral("main_focus_box_list_") + code);
    Save(FocusedOn(window, window.GetDlgItem(main_ids::kConnect)),
         QStringLiteral("main_focus_connect_") + code);
    ShootDialogs(code, sim);

    if (all) {
      // Help's message box over the window.
      Save(WithMessage(
               window,
               [&] { QTest::mouseClick(window.GetDlgItem(main_ids::kHelp), Qt::LeftButton); }),
           QStringLiteral("main_help_") + code);
      ShootLoginMessages(window, code);
    }

    // Logged in: the administrator with every center, a user with some.
    if (LogIn(window, QStringLiteral("admin"), QStringLiteral("admin"))) {
      Save(ShootOnScreen(window), QStringLiteral("main_admin_") + code);
      ShootFolders(window, code);
    }
    QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
    if (LogIn(window, QStringLiteral("anna"), QStringLiteral("anna2024"))) {
      Save(ShootOnScreen(window), QStringLiteral("main_anna_") + code);
    }
    QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
  }
  {
    CLoginDialog dialog;
    dialog.Prepare(QString(), QString());
    Save(ShootOnScreen(dialog), QStringLiteral("login_empty_") + code);
  }
  {
    CLoginDialog dialog;
    dialog.Prepare(QStringLiteral("anna"), QStringLiteral("anna2024"));
    Save(ShootOnScreen(dialog), QStringLiteral("login_remembered_") + code);
    Save(FocusedOn(dialog, dialog.GetDlgItem(main_ids::kLoginRemember)),
         QStringLiteral("login_focus_remember_") + code);
  }
  {
    // The refusal of an empty user name over the dialog.
    CLoginDialog dialog;
    dialog.Prepare(QString(), QString());
    dialog.UserField()->clear();
    const QImage composed = WithMessage(dialog, [&] {
      dialog.show();
      QTest::mouseClick(dialog.GetDlgItem(main_ids::kLoginOk), Qt::LeftButton);
    });
    if (all) {
      Save(composed, QStringLiteral("login_empty_user_") + code);
    }
  }
  ClearCurrentLanguage();
}

} // namespace

int main(int argc, char *argv[]) {
  return gallery::RunAgainstSim(
      argc, argv, "window_gallery", GalleryState(), [](NasSimProcess &sim) {
        settings::Write(settings::kSectionCurrent, settings::kKeyServName, u"HOMESTORE");
        settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
        for (const Language &language : kLanguages) {
          ShootLanguage(language, true, sim);
        }
      });
}
