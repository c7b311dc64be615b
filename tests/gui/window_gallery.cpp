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

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "i18n/current_language.h"
#include "main_test_support.h"
#include "nas/protocol_timing.h"
#include "platform/base64.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/platform/qt_message_box.h"
#include "ui/platform/qt_services.h"
#include "ui/skin/gdip_combo_box.h"

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

json GalleryState() {
  const json admin = {{"user", "admin"}, {"password", "admin"}, {"access", "1,1,1,1,1,1"}};
  const json anna = {{"user", "anna"}, {"password", "anna2024"}, {"access", "1,1,0,0,0,0"}};
  const json volume1 = {{"volume", 1},    {"mode", "standard"},      {"file_system", "ext4"},
                        {"disks", "sda"}, {"total_kib", 1048576000}, {"used_kib", 402653184}};
  return NasSimProcess::MakeState({Box("HOMESTORE", 3, json::array({admin, anna}), {volume1}),
                                   Box("KS-NEW", 2, json::array({admin}), json::array()),
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

void ShootLanguage(const Language &language, bool all) {
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
    ShootLanguage(language, true);
  }
  return g_ok ? 0 : 1;
}
