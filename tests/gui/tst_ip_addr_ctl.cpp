#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "i18n/current_language.h"
#include "main_test_support.h"
#include "platform/message_box.h"
#include "ui/main/address_names.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_dialog.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_image_ids.h"

using namespace corvesta;

Q_DECLARE_METATYPE(corvesta::AddressKind)

namespace {

// A dialog with a field before the address control and a button after it,
// shown and active so that the focus can be followed.
struct Stage {
  CGdipDialog dialog;
  QLineEdit *before;
  CGdipIpAddrCtl *address;
  QPushButton *after;

  Stage() {
    dialog.resize(320, 120);
    before = new QLineEdit(&dialog);
    before->setGeometry(10, 10, 100, 24);
    address = new CGdipIpAddrCtl(&dialog);
    address->setGeometry(10, 44, 180, 26);
    after = new QPushButton(QStringLiteral("OK"), &dialog);
    after->setGeometry(10, 80, 80, 28);
    after->setAutoDefault(false);
    SetDlgCtrlID(after, 1148);
    dialog.show();
    dialog.activateWindow();
    // Focus events need an active window; a fault here fails the checks.
    active = QTest::qWaitForWindowActive(&dialog);
  }
  bool active = false;
  CIPAddrEdit *Field(int i) const { return address->Field(i); }
  void Fill(const QStringList &texts) {
    for (int i = 0; i < 4; ++i) {
      Field(i)->setText(texts.value(i));
    }
  }
  // The address field that has the focus, -1 for none.
  int FocusedField() const {
    for (int i = 0; i < 4; ++i) {
      if (dialog.focusWidget() == Field(i)) {
        return i;
      }
    }
    return -1;
  }
  void Type(int field, const QString &keys) {
    Field(field)->setFocus();
    for (QChar c : keys) {
      QWidget *target = dialog.focusWidget();
      QTest::keyClick(target, c.toLatin1());
    }
  }
};

QStringList Texts(std::initializer_list<const char *> texts) {
  QStringList list;
  for (const char *text : texts) {
    list << QString::fromLatin1(text);
  }
  return list;
}

QString Text(const MessageBoxRequest &request) {
  return ToQString(request.text);
}

} // namespace

class TestIpAddrCtl : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void getAddress_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<AddressKind>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focusField");
    const auto ip = AddressKind::IpAddress;
    const auto mask = AddressKind::SubnetMask;
    const QString ipRange = QStringLiteral(
        "%1 is not a valid entry in IP address.Please specify a value between 1 and %2 for this "
        "field.");
    QTest::newRow("host address") << Texts({"192", "168", "1", "10"}) << ip << 4 << 0xC0A8010Au
                                  << QString() << -1;
    QTest::newRow("first 0") << Texts({"0", "168", "1", "10"}) << ip << 0 << 0u
                             << ipRange.arg(0).arg(223) << 0;
    QTest::newRow("first 224") << Texts({"224", "168", "1", "10"}) << ip << 0 << 0u
                               << ipRange.arg(224).arg(223) << 0;
    QTest::newRow("last 255") << Texts({"192", "168", "1", "255"}) << ip << 0 << 0u
                              << ipRange.arg(255).arg(254) << 3;
    QTest::newRow("last 0") << Texts({"192", "168", "1", "0"}) << ip << 0 << 0u
                            << ipRange.arg(0).arg(254) << 3;
    QTest::newRow("gateway")
        << Texts({"240", "0", "0", "1"}) << AddressKind::Gateway << 0 << 0u
        << QStringLiteral("240 is not a valid entry in GateWay IP.  Please specify a value "
                          "between 1 and 223 for this field.")
        << 0;
    QTest::newRow("dns") << Texts({"8", "8", "8", "0"}) << AddressKind::DnsServer << 0 << 0u
                         << QStringLiteral("0 is not a valid entry in DNS.  Please specify a "
                                           "value between 1 and 254 for this field.")
                         << 3;
    const QString badMask = QStringLiteral("Please enter a valid address in SubnetMask.");
    QTest::newRow("mask /24") << Texts({"255", "255", "255", "0"}) << mask << 4 << 0xFFFFFF00u
                              << QString() << -1;
    QTest::newRow("mask /32") << Texts({"255", "255", "255", "255"}) << mask << 4 << 0xFFFFFFFFu
                              << QString() << -1;
    QTest::newRow("mask with a hole")
        << Texts({"255", "0", "255", "0"}) << mask << 0 << 0u << badMask << 0;
    QTest::newRow("mask 0.0.0.0") << Texts({"0", "0", "0", "0"}) << mask << 0 << 0u << badMask << 0;
    QTest::newRow("second field missing") << Texts({"192", "", "1", "10"}) << AddressKind::None << 1
                                          << 0u << QStringLiteral("Missing value in address") << 1;
    QTest::newRow("all missing") << Texts({"", "", "", ""}) << ip << 0 << 0u
                                 << QStringLiteral("Missing value in address") << 0;
    QTest::newRow("unchecked kind")
        << Texts({"0", "0", "0", "0"}) << AddressKind::None << 4 << 0u << QString() << -1;
    QTest::newRow("field above 255 placed without typing")
        << Texts({"192", "256", "1", "10"}) << AddressKind::None << 1 << 0u
        << QStringLiteral("256 is not a valid entry.  Please specify a value between 0 and 255 "
                          "for this field.")
        << 1;
  }
  void getAddress() {
    QFETCH(QStringList, fields);
    QFETCH(AddressKind, kind);
    QFETCH(int, count);
    QFETCH(uint, value);
    QFETCH(QString, message);
    QFETCH(int, focusField);
    ScopedMessageBoxRecorder boxes;
    Stage stage;
    stage.Fill(fields);
    stage.before->setFocus();

    std::uint32_t packed = 0xDEADBEEF;
    QCOMPARE(stage.address->GetAddressValue(kind, packed), count);
    QCOMPARE(packed, value);
    std::uint8_t a = 9, b = 9, c = 9, d = 9;
    QCOMPARE(stage.address->GetAddress(kind, a, b, c, d), count);
    QCOMPARE(std::uint32_t(a) << 24 | std::uint32_t(b) << 16 | std::uint32_t(c) << 8 | d, value);

    if (message.isEmpty()) {
      QCOMPARE(boxes->Count(), 0u);
      QCOMPARE(stage.dialog.focusWidget(), stage.before);
      return;
    }
    const auto requests = boxes->Requests();
    QCOMPARE(requests.size(), 2u);
    QCOMPARE(Text(requests[0]), message);
    QCOMPARE(ToQString(requests[0].caption), QStringLiteral("Error"));
    QCOMPARE(requests[0].icon, MessageBoxIcon::Warning);
    QCOMPARE(requests[0].buttons, MessageBoxButtons::Ok);
    QCOMPARE(requests[0].owner, stage.address->Handle());
    QCOMPARE(stage.FocusedField(), focusField);
  }

  void messagesAreTranslatedBeforeTheNumbersGoIn() {
    ScopedMessageBoxRecorder boxes;
    QVERIFY(SelectLanguage(2)); // German
    Stage stage;
    stage.Fill(Texts({"230", "1", "1", "1"}));
    std::uint32_t value = 0;
    QCOMPARE(stage.address->GetAddressValue(AddressKind::IpAddress, value), 0);
    ClearCurrentLanguage();
    QCOMPARE(boxes->Count(), 1u);
    const MessageBoxRequest request = boxes->Requests()[0];
    QCOMPARE(ToQString(request.caption), QStringLiteral("Fehler"));
    QVERIFY2(Text(request).startsWith(QStringLiteral("230 ")), qPrintable(Text(request)));
    QVERIFY(Text(request).contains(QStringLiteral(" 223 ")));
    QVERIFY(!Text(request).contains(QStringLiteral("%d")));
  }

  void eachFieldIsNamedAsAPartOfTheAddress_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("English") << 0 << "Gateway, part 1 of 4"
                             << "Gateway, part 4 of 4";
    QTest::newRow("French") << 1 << "Gateway, partie 1 sur 4"
                            << "Gateway, partie 4 sur 4";
    QTest::newRow("German") << 2 << "Gateway, Teil 1 von 4"
                            << "Gateway, Teil 4 von 4";
    QTest::newRow("Spanish") << 3 << "Gateway, parte 1 de 4"
                             << "Gateway, parte 4 de 4";
    QTest::newRow("Russian") << 4 << QString::fromUtf8("Gateway, часть 1 из 4")
                             << QString::fromUtf8("Gateway, часть 4 из 4");
  }
  void eachFieldIsNamedAsAPartOfTheAddress() {
    QFETCH(int, language);
    QFETCH(QString, first);
    QFETCH(QString, last);
    test::ScopedLanguage scoped(language);
    CGdipIpAddrCtl control;
    NameAddressControl(&control, QStringLiteral("Gateway"));
    QCOMPARE(control.accessibleName(), QStringLiteral("Gateway"));
    QCOMPARE(control.Field(0)->accessibleName(), first);
    QCOMPARE(control.Field(3)->accessibleName(), last);
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(control.Field(1));
    QCOMPARE(field->role(), QAccessible::EditableText);
    QVERIFY(field->text(QAccessible::Name).contains(QLatin1String("Gateway")));
    QVERIFY(field->text(QAccessible::Name).contains(QLatin1Char('2')));
  }

  void setClearAndBlank() {
    Stage stage;
    QVERIFY(stage.address->IsBlank());
    stage.address->SetAddress(10, 0, 7, 255);
    QCOMPARE(stage.Field(0)->text(), QStringLiteral("10"));
    QCOMPARE(stage.Field(1)->text(), QStringLiteral("0"));
    QCOMPARE(stage.Field(3)->text(), QStringLiteral("255"));
    QVERIFY(!stage.address->IsBlank());
    stage.address->SetAddressValue(0xC0A8010A);
    std::uint32_t value = 0;
    QCOMPARE(stage.address->GetAddressValue(AddressKind::IpAddress, value), 4);
    QCOMPARE(value, 0xC0A8010Au);
    stage.address->ClearAddress();
    QVERIFY(stage.address->IsBlank());
    stage.Field(2)->setText(QStringLiteral("1"));
    QVERIFY(!stage.address->IsBlank());
  }

  void typing_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("focusField");
    QTest::addColumn<QString>("message");
    QTest::newRow("300 is refused after the third digit")
        << 0 << QStringLiteral("300") << Texts({"", "", "", ""}) << 0
        << QStringLiteral("300 is not a valid entry.  Please specify a value between 0 and 255 "
                          "for this field.");
    QTest::newRow("255 moves on") << 0 << QStringLiteral("255") << Texts({"255", "", "", ""}) << 1
                                  << QString();
    QTest::newRow("1. moves on") << 0 << QStringLiteral("1.") << Texts({"1", "", "", ""}) << 1
                                 << QString();
    QTest::newRow("space moves on")
        << 1 << QStringLiteral("7 ") << Texts({"", "7", "", ""}) << 2 << QString();
    QTest::newRow(". in the last field stays")
        << 3 << QStringLiteral("4.") << Texts({"", "", "", "4"}) << 3 << QString();
    QTest::newRow("a whole address typed") << 0 << QStringLiteral("192.168.1.10")
                                           << Texts({"192", "168", "1", "10"}) << 3 << QString();
    QTest::newRow("three digits in the last field stay")
        << 3 << QStringLiteral("254") << Texts({"", "", "", "254"}) << 3 << QString();
    QTest::newRow("a digit past a full field goes on")
        << 0 << QStringLiteral("1921") << Texts({"192", "1", "", ""}) << 1 << QString();
  }
  void typing() {
    QFETCH(int, field);
    QFETCH(QString, keys);
    QFETCH(QStringList, texts);
    QFETCH(int, focusField);
    QFETCH(QString, message);
    ScopedMessageBoxRecorder boxes;
    Stage stage;
    stage.Type(field, keys);
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(stage.Field(i)->text(), texts[i]);
    }
    QCOMPARE(stage.FocusedField(), focusField);
    if (message.isEmpty()) {
      QCOMPARE(boxes->Count(), 0u);
    } else {
      QCOMPARE(boxes->Count(), 1u);
      QCOMPARE(Text(boxes->Requests()[0]), message);
    }
  }

  void otherCharactersAreRefused() {
    Stage stage;
    QSignalSpy refused(stage.address, &CGdipIpAddrCtl::InputRefused);
    stage.Field(1)->setText(QStringLiteral("12"));
    stage.Field(1)->setFocus();
    QTest::keyClick(stage.Field(1), Qt::Key_A);
    QTest::keyClick(stage.Field(1), Qt::Key_Minus);
    QCOMPARE(refused.count(), 2);
    QCOMPARE(stage.Field(1)->text(), QStringLiteral("12"));
    QCOMPARE(stage.FocusedField(), 1);
    // Backspace is an ordinary edit.
    QTest::keyClick(stage.Field(1), Qt::Key_Backspace);
    QCOMPARE(stage.Field(1)->text(), QStringLiteral("1"));
    QCOMPARE(refused.count(), 2);
  }

  void arrowsCrossFieldEdgesOnly() {
    Stage stage;
    stage.address->SetAddress(192, 168, 1, 10);
    // Left at the start of the second field: the end of the first.
    stage.Field(1)->setFocus();
    stage.Field(1)->setCursorPosition(0);
    QTest::keyClick(stage.Field(1), Qt::Key_Left);
    QCOMPARE(stage.FocusedField(), 0);
    QCOMPARE(stage.Field(0)->cursorPosition(), 3);
    // Left at the start of the first field goes nowhere.
    stage.Field(0)->setCursorPosition(0);
    QTest::keyClick(stage.Field(0), Qt::Key_Left);
    QCOMPARE(stage.FocusedField(), 0);
    // Right inside a field moves the caret; at its end, into the next field
    // at its start without selecting.
    stage.Field(0)->setCursorPosition(2);
    QTest::keyClick(stage.Field(0), Qt::Key_Right);
    QCOMPARE(stage.FocusedField(), 0);
    QTest::keyClick(stage.Field(0), Qt::Key_Right);
    QCOMPARE(stage.FocusedField(), 1);
    QCOMPARE(stage.Field(1)->cursorPosition(), 0);
    QVERIFY(!stage.Field(1)->hasSelectedText());
    // Right at the end of the last field goes nowhere.
    stage.Field(3)->setFocus();
    stage.Field(3)->setCursorPosition(2);
    QTest::keyClick(stage.Field(3), Qt::Key_Right);
    QCOMPARE(stage.FocusedField(), 3);
  }

  void tabLeavesTheControl() {
    Stage stage;
    QVERIFY(stage.active);
    stage.Field(1)->setFocus();
    QTest::keyClick(stage.Field(1), Qt::Key_Tab);
    QCOMPARE(stage.dialog.focusWidget(), stage.after);
    stage.Field(2)->setFocus();
    QTest::keyClick(stage.Field(2), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(stage.dialog.focusWidget(), stage.before);
    // Coming in by Tab puts the focus into the first field, all selected.
    stage.address->SetAddress(10, 1, 2, 3);
    stage.before->setFocus();
    QTest::keyClick(stage.before, Qt::Key_Tab);
    QCOMPARE(stage.FocusedField(), 0);
    QCOMPARE(stage.Field(0)->selectedText(), QStringLiteral("10"));
  }

  void enterPressesTheDefaultButton() {
    Stage stage;
    QSignalSpy clicked(stage.after, &QPushButton::clicked);
    stage.Field(2)->setFocus();
    QTest::keyClick(stage.Field(2), Qt::Key_Return);
    QCOMPARE(clicked.count(), 0); // no default yet
    stage.dialog.SetDefaultButton(stage.after);
    QTest::keyClick(stage.Field(2), Qt::Key_Return);
    QTRY_COMPARE(clicked.count(), 1);
    QCOMPARE(stage.FocusedField(), 2);
    QVERIFY(stage.dialog.isVisible());
  }

  void escapeOnAPageCancelsTheOuterDialog() {
    QDialog outer;
    outer.resize(400, 300);
    auto *page = new QDialog(&outer, Qt::Widget);
    page->setGeometry(20, 20, 300, 200);
    auto *address = new CGdipIpAddrCtl(page);
    address->move(10, 10);
    outer.show();
    QSignalSpy outerRejected(&outer, &QDialog::rejected);
    QSignalSpy pageRejected(page, &QDialog::rejected);
    address->Field(0)->setFocus();
    QTest::keyClick(address->Field(0), Qt::Key_Escape);
    QCOMPARE(outerRejected.count(), 1);
    QCOMPARE(pageRejected.count(), 0);

    // On a dialog of its own, Escape is that dialog's ordinary Cancel.
    Stage stage;
    QSignalSpy rejected(&stage.dialog, &QDialog::rejected);
    stage.Field(0)->setFocus();
    QTest::keyClick(stage.Field(0), Qt::Key_Escape);
    QCOMPARE(rejected.count(), 1);
  }

  void pasteSpreadsAWholeAddress_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<int>("refusals");
    QTest::newRow("whole address into the first field")
        << 0 << QStringLiteral("192.168.1.10") << Texts({"192", "168", "1", "10"}) << 0 << 0;
    QTest::newRow("whole address into the third field")
        << 2 << QStringLiteral(" 10.0.0.254\n") << Texts({"10", "0", "0", "254"}) << 0 << 0;
    QTest::newRow("part of an address from the field on")
        << 2 << QStringLiteral("1.10") << Texts({"", "", "1", "10"}) << 0 << 0;
    QTest::newRow("one number") << 1 << QStringLiteral("77") << Texts({"", "77", "", ""}) << 0 << 0;
    QTest::newRow("a group out of range")
        << 0 << QStringLiteral("192.300.1.1") << Texts({"192", "", "1", "1"}) << 1 << 0;
    QTest::newRow("not an address")
        << 0 << QStringLiteral("nas.local") << Texts({"", "", "", ""}) << 0 << 1;
    QTest::newRow("too many groups for the field")
        << 3 << QStringLiteral("1.2") << Texts({"", "", "", ""}) << 0 << 1;
  }
  void pasteSpreadsAWholeAddress() {
    QFETCH(int, field);
    QFETCH(QString, clipboard);
    QFETCH(QStringList, texts);
    QFETCH(int, boxes);
    QFETCH(int, refusals);
    ScopedMessageBoxRecorder recorder;
    Stage stage;
    QSignalSpy refused(stage.address, &CGdipIpAddrCtl::InputRefused);
    QApplication::clipboard()->setText(clipboard);
    stage.Field(field)->setFocus();
    QTest::keySequence(stage.Field(field), QKeySequence::Paste);
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(stage.Field(i)->text(), texts[i]);
    }
    QCOMPARE(int(recorder->Count()), boxes);
    QCOMPARE(refused.count(), refusals);
  }

  void disablingReachesTheFieldsAndGreysTheDots() {
    Stage stage;
    stage.address->SetAddress(1, 2, 3, 4);
    auto dotPixel = [&] {
      QImage image(stage.address->size(), QImage::Format_ARGB32);
      image.fill(Qt::transparent);
      stage.address->render(&image);
      const QRect dot = stage.address->DotRect(0);
      // The darkest pixel inside the field's frame is the dot itself.
      int darkest = 255;
      for (int y = dot.top() + 4; y <= dot.bottom() - 3; ++y) {
        for (int x = dot.left(); x <= dot.right(); ++x) {
          darkest = std::min(darkest, qGray(image.pixel(x, y)));
        }
      }
      return darkest;
    };
    const int enabledDot = dotPixel();
    stage.address->setEnabled(false);
    for (int i = 0; i < 4; ++i) {
      QVERIFY(!stage.Field(i)->isEnabled());
    }
    const int disabledDot = dotPixel();
    QVERIFY2(enabledDot < 80, qPrintable(QString::number(enabledDot)));
    QVERIFY2(disabledDot > enabledDot + 40, qPrintable(QString::number(disabledDot)));
    stage.address->setEnabled(true);
    QVERIFY(stage.Field(3)->isEnabled());
  }

  void aNarrowOrWideControlKeepsBothEndsOfItsImage() {
    CGdiPlusBitmapResource field;
    QVERIFY(field.LoadFromResource(skin::kIpAddressField, 1.0));
    const QImage natural = field.Pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const int last = natural.width() - 1;
    for (int width : {150, natural.width(), 220}) {
      CGdipIpAddrCtl control;
      control.resize(width, natural.height());
      control.setEnabled(false); // no caret or selection in the picture
      control.ClearAddress();
      QImage drawn(control.size(), QImage::Format_ARGB32);
      drawn.fill(Qt::transparent);
      control.render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);
      // The left and right border columns, at a row away from the fields'
      // text and the dots.
      // Translucent pixels may differ by a rounding step.
      const auto same = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
               std::abs(qBlue(a) - qBlue(b)) <= 2 && std::abs(qAlpha(a) - qAlpha(b)) <= 2;
      };
      for (int y : {0, 1, natural.height() - 2, natural.height() - 1}) {
        for (auto [x, imageX] :
             {std::pair{0, 0}, {1, 1}, {width - 2, last - 1}, {width - 1, last}}) {
          QVERIFY2(same(drawn.pixel(x, y), natural.pixel(imageX, y)),
                   qPrintable(QStringLiteral("width %1, pixel %2,%3").arg(width).arg(x).arg(y)));
        }
      }
    }
  }

  void fieldsAndDotsShareTheWidth() {
    Stage stage;
    QVERIFY(stage.address->ImageLoaded());
    for (int i = 0; i < 4; ++i) {
      const QRect field = stage.address->FieldRect(i);
      QVERIFY(stage.address->rect().contains(field));
      QCOMPARE(GetDlgCtrlID(stage.Field(i)), i + 1);
      if (i < 3) {
        QVERIFY(field.right() < stage.address->DotRect(i).left());
        QVERIFY(stage.address->DotRect(i).right() < stage.address->FieldRect(i + 1).left());
      }
    }
  }
};

QTEST_MAIN(TestIpAddrCtl)
#include "tst_ip_addr_ctl.moc"
