#pragma once
// Helpers for tests of the main window against simulated boxes: the
// surroundings of each test, a box of the simulator's state, the window's
// start until the box list fills, the listed names, and Connect with the
// login dialog filled in.

#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTest>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "main_test_support.h"
#include "nas/protocol_timing.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/utility_dlg.h"
#include "ui/skin/gdip_combo_box.h"

namespace corvesta::test {

// What each test runs in: a settings folder of its own, the protocol's timing
// scaled, and a simulator to start. A test class derives from it beside
// QObject, calls SetUp from its init() and TearDown from its cleanup(), which
// stops the simulator first.
class SimWindowFixture {
protected:
  void SetUp(double timeScale) {
    m_settings = std::make_unique<ScopedAppDataFolder>();
    m_timeScale = std::make_unique<timing::ScopedTimeScale>(timeScale);
    m_sim = std::make_unique<NasSimProcess>();
  }
  void TearDown() {
    m_sim.reset();
    m_timeScale.reset();
    m_settings.reset();
  }

  std::unique_ptr<ScopedAppDataFolder> m_settings;
  std::unique_ptr<timing::ScopedTimeScale> m_timeScale;
  std::unique_ptr<NasSimProcess> m_sim;
};

// A box at 127.0.0.`host` with an administrator whose password is
// `password` and a hardware address of its own.
inline nlohmann::json SimBox(const std::string &name, int host,
                             const std::string &password = "admin") {
  char mac[32];
  std::snprintf(mac, sizeof mac, "02:aa:00:00:01:%02x", host);
  return NasSimProcess::MakeBox(name, "127.0.0." + std::to_string(host), mac, password);
}

// Gives `box` one disk, sda of `sizeGib`, holding one ext4 volume of
// `totalKib` with `usedKib` in use.
inline void GiveOneVolume(nlohmann::json &box, int sizeGib, std::int64_t totalKib,
                          std::int64_t usedKib) {
  box["disks"] = nlohmann::json::array({{{"device", "sda"}, {"size_gib", sizeGib}}});
  box["volumes"] = nlohmann::json::array({{{"volume", 1},
                                           {"mode", "standard"},
                                           {"file_system", "ext4"},
                                           {"disks", "sda"},
                                           {"total_kib", totalKib},
                                           {"used_kib", usedKib}}});
}

// ALPHA at 127.0.0.2 with the administrator (password "secret"), the user
// anna (password "anna2024") with `annaAccess`, and one volume of 1000 GiB,
// a tenth used.
inline nlohmann::json AlphaWithAnna(const std::string &annaAccess) {
  nlohmann::json box = SimBox("ALPHA", 2, "secret");
  box["accounts"].push_back({{"user", "anna"}, {"password", "anna2024"}, {"access", annaAccess}});
  GiveOneVolume(box, 1000, 1048576000, 104857600);
  return box;
}

// Shows the window and starts its search; the test fails unless the box list
// has filled within `withinMs`.
inline void StartListed(CUtilityDlg &window, int withinMs) {
  window.show();
  window.Start();
  QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, withinMs);
}

inline QStringList ListedNames(CUtilityDlg &window) {
  auto *list = window.GetDlgItemAs<CGdipComboBox>(main_ids::kBoxList);
  QStringList names;
  for (int i = 0; i < list->count(); ++i) {
    names << list->itemText(i);
  }
  return names;
}

// Selects the box named `name` and runs Connect, answering the login dialog
// with `user` and `password` once it shows.
inline void ConnectAs(CUtilityDlg &window, const QString &name, const QString &user,
                      const QString &password) {
  auto *list = window.GetDlgItemAs<CGdipComboBox>(main_ids::kBoxList);
  list->setCurrentIndex(list->findText(name));
  WhenModalShown<CLoginDialog>([=](CLoginDialog *dialog) {
    dialog->UserField()->setText(user);
    dialog->PasswordField()->setText(password);
    QTest::mouseClick(dialog->GetDlgItem(main_ids::kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(main_ids::kConnect), Qt::LeftButton);
}

} // namespace corvesta::test
