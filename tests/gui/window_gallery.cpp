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
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <cstdio>
#include <functional>

#include "app/program_info.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "i18n/current_language.h"
#include "i18n/translate.h"
#include "main_test_support.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "platform/base64.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/platform/qt_message_box.h"
#include "ui/platform/qt_services.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_ip_addr_ctl.h"

using namespace corvesta;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

bool g_ok = true;
QString g_folder;
QString g_suffix;

struct Language {
  int index; // for SelectLanguage
  const char *code;
};
constexpr Language kLanguages[] = {{0, "eng"}, {1, "fre"}, {2, "ger"}, {3, "spa"}, {4, "rus"}};

void Fail(const QString &what) {
  std::fprintf(stderr, "window_gallery: %s\n", qPrintable(what));
  g_ok = false;
}

void Settle() {
  for (int i = 0; i < 10; ++i) {
    QCoreApplication::processEvents();
  }
}

// A shot that is one colour all over shows nothing.
bool IsBlank(const QImage &image) {
  if (image.isNull()) {
    return true;
  }
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); y += 3) {
    for (int x = 0; x < image.width(); x += 3) {
      if (image.pixel(x, y) != first) {
        return false;
      }
    }
  }
  return true;
}

void Save(QImage image, const QString &name) {
  const QString path = g_folder + QLatin1Char('/') + name + g_suffix + QStringLiteral(".png");
  if (IsBlank(image)) {
    Fail(QStringLiteral("blank shot ") + path);
    return;
  }
  if (!image.save(path, "PNG")) {
    Fail(QStringLiteral("cannot write ") + path);
  }
}

// The window as drawn, cut to its outline as the screen shows it.
QImage Shoot(QWidget &window) {
  window.show();
  window.raise();
  window.activateWindow();
  if (!QTest::qWaitForWindowExposed(&window)) {
    Fail(QStringLiteral("a window was not shown: ") + window.windowTitle());
  }
  Settle();
  QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (!window.mask().isEmpty()) {
    const qreal ratio = image.devicePixelRatio();
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    const QRegion outside = QRegion(window.rect()).subtracted(window.mask());
    for (const QRect &r : outside) {
      painter.fillRect(QRectF(r.x(), r.y(), r.width(), r.height()), Qt::transparent);
    }
    painter.end();
    image.setDevicePixelRatio(ratio);
  }
  return image;
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

// The window with the message box that `trigger` shows drawn over its middle.
QImage WithMessage(QWidget &window, const std::function<void()> &trigger) {
  QImage composed;
  auto service = std::make_shared<QtMessageBoxService>([&](const MessageBoxRequest &request,
                                                           QWidget *owner) {
    auto box = BuildMessageBox(request, owner);
    const QImage shot = Shoot(*box);
    composed = Shoot(window);
    QPainter painter(&composed);
    painter.drawImage(
        QPoint((window.width() - box->width()) / 2, (window.height() - box->height()) / 2), shot);
    return DismissAnswer(request.buttons);
  });
  auto previous = SetMessageBoxService(service);
  trigger();
  SetMessageBoxService(previous);
  return composed;
}

void SetAddress(CGdipIpAddrCtl *control, const char *dotted) {
  const QStringList parts = QString::fromLatin1(dotted).split(QLatin1Char('.'));
  for (int i = 0; i < 4; ++i) {
    control->Field(i)->setText(i < parts.size() ? parts[i] : QString());
  }
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
    Save(Shoot(dialog), QStringLiteral("settings_") + code);
  }
  const std::int32_t box = IndexOf("OFFICE-NAS");
  if (box < 0) {
    Fail(QStringLiteral("OFFICE-NAS is not listed"));
    return;
  }
  {
    CSettingIpDialog dialog(box);
    Save(Shoot(dialog), QStringLiteral("set_ip_static_") + code);
    QTest::mouseClick(dialog.GetDlgItem(main_ids::kSetIpDhcp), Qt::LeftButton);
    Save(Shoot(dialog), QStringLiteral("set_ip_dhcp_") + code);
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
    Save(Shoot(dialog), QStringLiteral("set_ip_waiting_") + code);
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
  Save(Shoot(window), QStringLiteral("main_folders_") + code);
  // The timeout logs out first, then says so.
  QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
  Save(WithMessage(window,
                   [&] {
                     ShowMessageBox(window.Handle(), Translate(u"Time out, please login again."),
                                    std::u16string(kProgramTitle));
                   }),
       QStringLiteral("main_timeout_") + code);
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

// Connect to the box selected in the list as `user`, the login dialog
// answered once it shows; true once the panel with the volumes is shown.
bool LogIn(CUtilityDlg &window, const QString &user, const QString &password) {
  test::WhenModalShown<CLoginDialog>([=](CLoginDialog *dialog) {
    dialog->UserField()->setText(user);
    dialog->PasswordField()->setText(password);
    QTest::mouseClick(dialog->GetDlgItem(main_ids::kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(main_ids::kConnect), Qt::LeftButton);
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
      Save(Shoot(window), QStringLiteral("main_searching_") + code);
    }
    window.Start();
    for (int i = 0; i < 2000 && window.State() != UiState::Listed; ++i) {
      QTest::qWait(10);
    }
    if (window.State() != UiState::Listed) {
      Fail(QStringLiteral("the box list did not fill"));
    }
    Save(Shoot(window), QStringLiteral("main_listed_") + code);
    ShootDialogs(code, sim);

    if (all) {
      // Help's message box over the window.
      QImage composed;
      auto service = std::make_shared<QtMessageBoxService>([&](const MessageBoxRequest &request,
                                                               QWidget *owner) {
        auto box = BuildMessageBox(request, owner);
        const QImage shot = Shoot(*box);
        composed = Shoot(window);
        QPainter painter(&composed);
        const QPoint at((window.width() - box->width()) / 2, (window.height() - box->height()) / 2);
        painter.drawImage(at, shot);
        return MessageBoxResult::Ok;
      });
      auto previous = SetMessageBoxService(service);
      QTest::mouseClick(window.GetDlgItem(main_ids::kHelp), Qt::LeftButton);
      SetMessageBoxService(previous);
      Save(composed, QStringLiteral("main_help_") + code);
    }

    // Logged in: the administrator with every center, a user with some.
    if (LogIn(window, QStringLiteral("admin"), QStringLiteral("admin"))) {
      Save(Shoot(window), QStringLiteral("main_admin_") + code);
      ShootFolders(window, code);
    }
    QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
    if (LogIn(window, QStringLiteral("anna"), QStringLiteral("anna2024"))) {
      Save(Shoot(window), QStringLiteral("main_anna_") + code);
    }
    QTest::mouseClick(window.GetDlgItem(main_ids::kLogout), Qt::LeftButton);
  }
  {
    CLoginDialog dialog;
    dialog.Prepare(QString(), QString());
    Save(Shoot(dialog), QStringLiteral("login_empty_") + code);
  }
  {
    CLoginDialog dialog;
    dialog.Prepare(QStringLiteral("anna"), QStringLiteral("anna2024"));
    Save(Shoot(dialog), QStringLiteral("login_remembered_") + code);
  }
  {
    // The refusal of an empty user name over the dialog.
    CLoginDialog dialog;
    dialog.Prepare(QString(), QString());
    dialog.UserField()->clear();
    QImage composed;
    auto service = std::make_shared<QtMessageBoxService>([&](const MessageBoxRequest &request,
                                                             QWidget *owner) {
      auto box = BuildMessageBox(request, owner);
      const QImage shot = Shoot(*box);
      composed = Shoot(dialog);
      QPainter painter(&composed);
      painter.drawImage(
          QPoint((dialog.width() - box->width()) / 2, (dialog.height() - box->height()) / 2), shot);
      return MessageBoxResult::Ok;
    });
    auto previous = SetMessageBoxService(service);
    dialog.show();
    QTest::mouseClick(dialog.GetDlgItem(main_ids::kLoginOk), Qt::LeftButton);
    SetMessageBoxService(previous);
    if (all) {
      Save(composed, QStringLiteral("login_empty_user_") + code);
    }
  }
  ClearCurrentLanguage();
}

} // namespace

int main(int argc, char *argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_gallery <folder> [scale]\n");
    return 2;
  }
  const int scale = argc > 2 ? std::atoi(argv[2]) : 1;
  if (scale == 2) {
    qputenv("QT_SCALE_FACTOR", "2");
    g_suffix = QStringLiteral("@2x");
  }
  QApplication application(argc, argv);
  g_folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(g_folder)) {
    Fail(QStringLiteral("cannot make ") + g_folder);
    return 1;
  }
  InstallQtPlatformServices();
  test::ScopedAppDataFolder settingsFolder;
  timing::ScopedTimeScale faster(0.2);
  NasSimProcess sim;
  if (!sim.Start(GalleryState())) {
    Fail(QString::fromStdString("nas-sim: " + sim.Error()));
    return 1;
  }
  settings::Write(settings::kSectionCurrent, settings::kKeyServName, u"HOMESTORE");
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  for (const Language &language : kLanguages) {
    ShootLanguage(language, true, sim);
  }
  return g_ok ? 0 : 1;
}
