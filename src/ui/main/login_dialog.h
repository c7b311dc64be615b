#pragma once
// The login dialog: user name, password and "Remember Me" for a box. It only
// collects input; the main window sends and stores what it returns.

#include <QString>

#include "ui/skin/gdip_dialog.h"

class QLineEdit;

namespace corvesta {

class CGdipButton;

class CLoginDialog : public CGdipDialog {
  Q_OBJECT
public:
  // Each field takes at most this many bytes of UTF-8: a character that
  // would go beyond is refused as it is typed.
  static constexpr int kMaxFieldBytes = 16;

  explicit CLoginDialog(QWidget *parent = nullptr);

  // The remembered values: with a user name "Remember Me" starts ticked and
  // both fields are filled; without one the user name is "admin", the
  // password field empty and "Remember Me" not ticked. A remembered value
  // that does not fit its field is not shown.
  void Prepare(const QString &userName, const QString &password);

  // After OK.
  QString UserName() const { return m_userName; }
  QString Password() const { return m_password; }
  bool Remember() const { return m_remember; }

  QLineEdit *UserField() const { return m_userField; }
  QLineEdit *PasswordField() const { return m_passwordField; }

  // Whether a text fits a field.
  static bool FitsField(const QString &text);

private:
  void OnOk();

  QLineEdit *m_userField;
  QLineEdit *m_passwordField;
  CGdipButton *m_rememberBox;
  QString m_userName;
  QString m_password;
  bool m_remember = false;
};

} // namespace corvesta
