#pragma once
// Helpers for tests of the main window against simulated boxes: a box of the
// simulator's state, the listed names, and Connect with the login dialog
// filled in.

#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTest>
#include <cstdio>
#include <string>

#include "main_test_support.h"
#include "support/nas_sim_process.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/utility_dlg.h"
#include "ui/skin/gdip_combo_box.h"

namespace corvesta::test {

// A box at 127.0.0.`host` with an administrator whose password is
// `password` and a hardware address of its own.
inline nlohmann::json SimBox(const std::string &name, int host,
                             const std::string &password = "admin") {
  char mac[32];
  std::snprintf(mac, sizeof mac, "02:aa:00:00:01:%02x", host);
  return NasSimProcess::MakeBox(name, "127.0.0." + std::to_string(host), mac, password);
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
