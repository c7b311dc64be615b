// The login dialog on the offscreen platform: what it shows for the
// remembered values, the field limits, and what OK and Cancel return.

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "main_test_support.h"
#include "platform/message_box.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/trans_static.h"

using namespace corvesta;
namespace ids = corvesta::main_ids;

namespace {
// Types the text key by key, as a keyboard with these characters would.
void Type(QWidget *widget, const QString &text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}
} // namespace

class TestLoginDialog : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void opensWithTheRememberedValues_data();
  void opensWithTheRememberedValues();
  void fieldsRefuseTheByteBeyondSixteen_data();
  void fieldsRefuseTheByteBeyondSixteen();
  void okReturnsWhatWasEntered();
  void emptyUserNameIsRefusedAndTheDialogStaysOpen();
  void cancelAndCloseReturnCancel_data();
  void cancelAndCloseReturnCancel();
  void enterPressesOk();
  void enterOnAnyControlButCancelPressesOk_data();
  void enterOnAnyControlButCancelPressesOk();
  void everyControlIsNamedAndReachableByKeyboard();
  void germanTexts();
};

void TestLoginDialog::opensWithTheRememberedValues_data() {
  QTest::addColumn<QString>("user");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("shownUser");
  QTest::addColumn<QString>("shownPassword");
  QTest::addColumn<bool>("ticked");
  QTest::newRow("nothing remembered") << ""
                                      << ""
                                      << "admin"
                                      << "" << false;
  QTest::newRow("a password without a user is not shown") << ""
                                                          << "secret"
                                                          << "admin"
                                                          << "" << false;
  QTest::newRow("user and password") << "anna"
                                     << "pw1"
                                     << "anna"
                                     << "pw1" << true;
  QTest::newRow("user without password") << "anna"
                                         << ""
                                         << "anna"
                                         << "" << true;
  QTest::newRow("remembered value too long for the field") << "anna"
                                                           << "seventeen-bytes-x"
                                                           << "anna"
                                                           << "" << true;
}

void TestLoginDialog::opensWithTheRememberedValues() {
  QFETCH(QString, user);
  QFETCH(QString, password);
  QFETCH(QString, shownUser);
  QFETCH(QString, shownPassword);
  QFETCH(bool, ticked);
  CLoginDialog dialog;
  dialog.Prepare(user, password);
  dialog.show();
  QCOMPARE(dialog.GetDlgItemAs<QLineEdit>(ids::kLoginUser)->text(), shownUser);
  QCOMPARE(dialog.GetDlgItemAs<QLineEdit>(ids::kLoginPassword)->text(), shownPassword);
  QCOMPARE(dialog.GetDlgItemAs<CGdipButton>(ids::kLoginRemember)->GetCheck(), ticked);
  QCOMPARE(dialog.GetDlgItemAs<QLineEdit>(ids::kLoginPassword)->echoMode(), QLineEdit::Password);
}

void TestLoginDialog::fieldsRefuseTheByteBeyondSixteen_data() {
  QTest::addColumn<int>("field");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("kept");
  const QString ascii20 = QStringLiteral("abcdefghijklmnopqrst");
  const QString cyrillic9 = QString(9, QChar(0x0436)); // two bytes each
  for (int field : {ids::kLoginUser, ids::kLoginPassword}) {
    const QByteArray name = field == ids::kLoginUser ? "user: " : "password: ";
    QTest::newRow(QByteArray(name + "ASCII").constData()) << field << ascii20 << ascii20.left(16);
    QTest::newRow(QByteArray(name + "two-byte characters").constData())
        << field << cyrillic9 << cyrillic9.left(8);
    // 15 bytes, then a two-byte character that would end at byte 17 (refused)
    // and a one-byte character that still fits.
    QTest::newRow(QByteArray(name + "a character across the limit").constData())
        << field << QStringLiteral("abcdefghijklmno\u00e9z") << QStringLiteral("abcdefghijklmnoz");
  }
}

void TestLoginDialog::fieldsRefuseTheByteBeyondSixteen() {
  QFETCH(int, field);
  QFETCH(QString, typed);
  QFETCH(QString, kept);
  CLoginDialog dialog;
  dialog.Prepare(QString(), QString());
  dialog.show();
  auto *edit = dialog.GetDlgItemAs<QLineEdit>(field);
  edit->clear();
  edit->setFocus();
  Type(edit, typed);
  QCOMPARE(edit->text(), kept);
  // Pasting a text too long as a whole leaves the field as it was.
  edit->clear();
  edit->insert(typed.left(3));
  edit->insert(typed);
  QCOMPARE(edit->text(), typed.left(3));
}

void TestLoginDialog::okReturnsWhatWasEntered() {
  CLoginDialog dialog;
  dialog.Prepare(QStringLiteral("anna"), QStringLiteral("old"));
  dialog.show();
  auto *user = dialog.GetDlgItemAs<QLineEdit>(ids::kLoginUser);
  auto *password = dialog.GetDlgItemAs<QLineEdit>(ids::kLoginPassword);
  user->setText(QStringLiteral("bert"));
  password->setText(QStringLiteral("p\u00e4ss"));
  QTest::mouseClick(dialog.GetDlgItem(ids::kLoginRemember), Qt::LeftButton);
  QTest::mouseClick(dialog.GetDlgItem(ids::kLoginOk), Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.UserName(), QStringLiteral("bert"));
  QCOMPARE(dialog.Password(), QStringLiteral("p\u00e4ss"));
  QCOMPARE(dialog.Remember(), false);
}

void TestLoginDialog::emptyUserNameIsRefusedAndTheDialogStaysOpen() {
  ScopedMessageBoxRecorder boxes;
  CLoginDialog dialog;
  dialog.Prepare(QStringLiteral("anna"), QStringLiteral("pw"));
  dialog.show();
  dialog.GetDlgItemAs<QLineEdit>(ids::kLoginUser)->clear();
  QTest::mouseClick(dialog.GetDlgItem(ids::kLoginOk), Qt::LeftButton);
  QVERIFY(dialog.isVisible());
  const auto shown = boxes->Requests();
  QCOMPARE(shown.size(), std::size_t(1));
  QVERIFY(shown[0].text == u"User name couldn't be empty.");
  QVERIFY(shown[0].owner == dialog.Handle());
  QCOMPARE(dialog.GetDlgItemAs<QLineEdit>(ids::kLoginPassword)->text(), QStringLiteral("pw"));
}

void TestLoginDialog::cancelAndCloseReturnCancel_data() {
  QTest::addColumn<int>("button");
  QTest::newRow("Cancel") << ids::kLoginCancel;
  QTest::newRow("close") << ids::kLoginClose;
}

void TestLoginDialog::cancelAndCloseReturnCancel() {
  QFETCH(int, button);
  CLoginDialog dialog;
  dialog.Prepare(QString(), QString());
  dialog.show();
  dialog.GetDlgItemAs<QLineEdit>(ids::kLoginPassword)->setText(QStringLiteral("typed"));
  QTest::mouseClick(dialog.GetDlgItem(button), Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QVERIFY(!dialog.isVisible());
}

void TestLoginDialog::enterPressesOk() {
  CLoginDialog dialog;
  dialog.Prepare(QString(), QString());
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto *password = dialog.GetDlgItemAs<QLineEdit>(ids::kLoginPassword);
  password->setFocus();
  QTest::keyClicks(password, QStringLiteral("pw"));
  QSignalSpy accepted(&dialog, &QDialog::accepted);
  QTest::keyClick(password, Qt::Key_Return);
  QVERIFY(accepted.count() == 1 || accepted.wait(2000));
  QCOMPARE(dialog.UserName(), QStringLiteral("admin"));
  QCOMPARE(dialog.Password(), QStringLiteral("pw"));
}

void TestLoginDialog::enterOnAnyControlButCancelPressesOk_data() {
  QTest::addColumn<int>("control");
  QTest::newRow("user name") << ids::kLoginUser;
  QTest::newRow("password") << ids::kLoginPassword;
  QTest::newRow("Remember Me") << ids::kLoginRemember;
  QTest::newRow("OK") << ids::kLoginOk;
}

// Enter on "Remember Me" is the dialog's Enter: it presses OK and leaves the
// tick as it was.
void TestLoginDialog::enterOnAnyControlButCancelPressesOk() {
  QFETCH(int, control);
  CLoginDialog dialog;
  dialog.Prepare(QStringLiteral("admin"), QStringLiteral("kept"));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QWidget *target = dialog.GetDlgItem(control);
  target->setFocus(Qt::TabFocusReason);
  QVERIFY(target->hasFocus());
  QSignalSpy accepted(&dialog, &QDialog::accepted);
  QTest::keyClick(target, Qt::Key_Return);
  QVERIFY(accepted.count() == 1 || accepted.wait(2000));
  QVERIFY(dialog.Remember());
  QVERIFY(dialog.GetDlgItemAs<QAbstractButton>(ids::kLoginRemember)->isChecked());
  QCOMPARE(dialog.Password(), QStringLiteral("kept"));
}

void TestLoginDialog::everyControlIsNamedAndReachableByKeyboard() {
  CLoginDialog dialog;
  dialog.Prepare(QString(), QString());
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  const int expected[] = {ids::kLoginUser, ids::kLoginPassword, ids::kLoginRemember,
                          ids::kLoginOk,   ids::kLoginCancel,   ids::kLoginClose};
  for (int id : expected) {
    QWidget *control = dialog.GetDlgItem(id);
    QVERIFY2(control != nullptr, qPrintable(QString::number(id)));
    QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(QString::number(id)));
  }
  // Tab walks the controls in order and comes round again.
  dialog.GetDlgItem(ids::kLoginUser)->setFocus();
  QList<int> visited;
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    visited << GetDlgCtrlID(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QCOMPARE(visited, QList<int>(std::begin(expected), std::end(expected)));
}

void TestLoginDialog::germanTexts() {
  test::ScopedLanguage german(2);
  CLoginDialog dialog;
  dialog.Prepare(QString(), QString());
  QCOMPARE(dialog.GetDlgItemAs<CTransStatic>(ids::kLoginUserLabel)->Text(),
           QStringLiteral("Benutzername"));
  QCOMPARE(dialog.GetDlgItemAs<CTransStatic>(ids::kLoginPasswordLabel)->Text(),
           QStringLiteral("Kennwort"));
  QCOMPARE(dialog.GetDlgItemAs<CGdipButton>(ids::kLoginCancel)->text(),
           QStringLiteral("Abbrechen"));
  QCOMPARE(dialog.GetDlgItemAs<CGdipButton>(ids::kLoginRemember)->text(),
           QStringLiteral("Angem. bleiben"));
}

QTEST_MAIN(TestLoginDialog)
#include "tst_login_dialog.moc"
