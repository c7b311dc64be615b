#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "skin_test_support.h"
#include "ui/skin/dialog_group.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_dialog.h"
#include "ui/skin/icon_radio_button.h"
#include "ui/skin/shortcut_button.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/underline_button.h"
#include "worker/private_messages.h"

using namespace corvesta;

namespace {

CGdipButton *MakeRadio(QWidget *parent, bool groupStart) {
  auto *radio = new CGdipButton(ButtonKind::RadioButton, parent);
  radio->LoadImages(skin::kRadioOff, skin::kRadioOn, skin::kRadioOn);
  radio->resize(120, 20);
  SetGroupStart(radio, groupStart);
  return radio;
}

void SetQuietly(QAbstractButton *button, bool checked) {
  QSignalBlocker block(button);
  button->setChecked(checked);
}

// The leftmost column with a bright pixel above the bottom row; the brightest
// channel, so white and light blue text of the same coverage read alike.
int LeftmostLitColumn(const QImage &image) {
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height() - 2; ++y) {
      const QRgb pixel = image.pixel(x, y);
      if (std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) > 100) {
        return x;
      }
    }
  }
  return -1;
}

// The brightest channel of the brightest pixel in `area`.
int Brightest(const QImage &image, const QRect &area) {
  int best = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      best = std::max({best, qRed(pixel), qGreen(pixel), qBlue(pixel)});
    }
  }
  return best;
}

} // namespace

class TestSkinButtons : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void checkingARadioClearsTheRestOfItsGroup() {
    QWidget dialog;
    CGdipButton *first = MakeRadio(&dialog, true);
    CGdipButton *second = MakeRadio(&dialog, false);
    CGdipButton *third = MakeRadio(&dialog, false);
    CGdipButton *nextGroup = MakeRadio(&dialog, true);
    SetQuietly(second, true);
    SetQuietly(third, true);
    SetQuietly(nextGroup, true);

    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(first->GetCheck());
    // The others learn it from a posted message, on the next turn of the loop.
    QTRY_VERIFY(!second->GetCheck() && !third->GetCheck());
    QVERIFY(first->GetCheck());
    QVERIFY(nextGroup->GetCheck());
  }

  void aLaterChoiceSurvivesAnEarlierOnesMessages() {
    QWidget dialog;
    CGdipButton *first = MakeRadio(&dialog, true);
    CGdipButton *second = MakeRadio(&dialog, false);
    // Two choices before the loop turns: the first one's message to the
    // second is still queued when the second is checked.
    first->SetCheck(true);
    second->SetCheck(true);
    QTRY_VERIFY(!first->GetCheck());
    QCoreApplication::processEvents();
    QVERIFY(second->GetCheck());
    // An uncheck from elsewhere (lParam 0) is always obeyed.
    QVERIFY(PostMessage(second->Handle(), WM_SKIN_UNCHECK, 0, 0));
    QTRY_VERIFY(!second->GetCheck());
  }

  void theGroupWalkStartsAfterTheButtonAndWrapsRound() {
    QWidget dialog;
    CGdipButton *first = MakeRadio(&dialog, true);
    CGdipButton *second = MakeRadio(&dialog, false);
    CGdipButton *third = MakeRadio(&dialog, false);
    MakeRadio(&dialog, true);
    const std::vector<WindowHandle> posted = second->UncheckGroup();
    QCOMPARE(posted, (std::vector<WindowHandle>{third->Handle(), first->Handle()}));
    QCoreApplication::processEvents();
  }

  void aLoneRadioSendsNothing() {
    QWidget dialog;
    CGdipButton *before = MakeRadio(&dialog, true);
    CGdipButton *lone = MakeRadio(&dialog, true);
    CGdipButton *after = MakeRadio(&dialog, true);
    SetQuietly(before, true);
    SetQuietly(after, true);
    QVERIFY(lone->UncheckGroup().empty());
    QTest::mouseClick(lone, Qt::LeftButton, {}, QPoint(5, 5));
    QCoreApplication::processEvents();
    QVERIFY(lone->GetCheck());
    QVERIFY(before->GetCheck());
    QVERIFY(after->GetCheck());
  }

  void clickingACheckedRadioKeepsItChecked() {
    QWidget dialog;
    CGdipButton *radio = MakeRadio(&dialog, true);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(radio->GetCheck());
  }

  void iconRadioButtonsExcludeEachOther() {
    QWidget page;
    std::vector<CIconRadioButton *> choices;
    for (int i = 0; i < 4; ++i) {
      auto *choice = new CIconRadioButton(&page);
      choice->resize(420, 70);
      SetGroupStart(choice, i == 0);
      choices.push_back(choice);
    }
    choices[0]->SetCheck(true);
    QCoreApplication::processEvents();
    QTest::mouseClick(choices[2], Qt::LeftButton, {}, QPoint(200, 30));
    QTRY_VERIFY(!choices[0]->GetCheck());
    QVERIFY(choices[2]->GetCheck());
    QVERIFY(!choices[1]->GetCheck() && !choices[3]->GetCheck());
  }

  void checkBoxTogglesOnlyOnAReleaseInside() {
    QWidget dialog;
    auto *box = new CGdipButton(ButtonKind::CheckBox, &dialog);
    box->LoadImages(skin::kCheckBox, skin::kCheckMark, skin::kCheckMark);
    box->setGeometry(10, 10, 150, 22);
    const QPoint inside(8, 8);
    const QPoint outside(box->width() + 30, 8);

    QTest::mousePress(box, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(box, Qt::LeftButton, {}, outside);
    QVERIFY(!box->GetCheck());

    QTest::mouseClick(box, Qt::LeftButton, {}, inside);
    QVERIFY(box->GetCheck());
    QTest::mousePress(box, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(box, Qt::LeftButton, {}, outside);
    QVERIFY(box->GetCheck());
    QTest::mouseClick(box, Qt::LeftButton, {}, inside);
    QVERIFY(!box->GetCheck());

    // Space toggles as a click does.
    QTest::keyClick(box, Qt::Key_Space);
    QVERIFY(box->GetCheck());
  }

  void pushButtonsNeverStayChecked() {
    CGdipButton button(ButtonKind::PushButton);
    button.resize(110, 32);
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    button.SetCheck(true);
    QVERIFY(!button.GetCheck());
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(50, 16));
    QVERIFY(!button.GetCheck());
    QCOMPARE(clicks.count(), 1);
    // A stray uncheck message changes nothing either.
    QCOMPARE(button.WindowProc(WM_SKIN_UNCHECK, 0, 0), LRESULT{0});
    QVERIFY(!button.GetCheck());
  }

  void buttonKindFollowsTheStyleBits_data() {
    QTest::addColumn<uint>("style");
    QTest::addColumn<int>("kind");
    QTest::newRow("push") << 0x0u << int(ButtonKind::PushButton);
    QTest::newRow("default push") << 0x1u << int(ButtonKind::PushButton);
    QTest::newRow("plain check box style") << 0x2u << int(ButtonKind::PushButton);
    QTest::newRow("plain radio style") << 0x4u << int(ButtonKind::PushButton);
    QTest::newRow("three state") << 0x5u << int(ButtonKind::PushButton);
    QTest::newRow("auto check box") << 0x3u << int(ButtonKind::CheckBox);
    QTest::newRow("auto radio") << 0x9u << int(ButtonKind::RadioButton);
    QTest::newRow("bits 0, 1 and 3") << 0xBu << int(ButtonKind::CheckBox);
    QTest::newRow("radio bit alone") << 0x8u << int(ButtonKind::PushButton);
  }
  void buttonKindFollowsTheStyleBits() {
    QFETCH(uint, style);
    QFETCH(int, kind);
    QCOMPARE(int(CGdipButton::KindFromStyle(style)), kind);
  }

  void keyboardReachesAndPressesButtons() {
    QWidget dialog;
    auto *first = new CGdipButton(ButtonKind::PushButton, &dialog);
    auto *second = new CGdipButton(ButtonKind::PushButton, &dialog);
    first->setGeometry(0, 0, 110, 32);
    second->setGeometry(0, 40, 110, 32);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    first->setFocus(Qt::OtherFocusReason);
    QVERIFY(!first->HasKeyboardFocus()); // focus from a click or code draws no frame
    QTest::keyClick(first, Qt::Key_Tab);
    QTRY_VERIFY(second->hasFocus());
    QVERIFY(second->HasKeyboardFocus());

    QSignalSpy clicks(second, &QAbstractButton::clicked);
    QTest::keyClick(second, Qt::Key_Space);
    QCOMPARE(clicks.count(), 1);
    QTest::keyClick(second, Qt::Key_Return);
    QTRY_COMPARE(clicks.count(), 2);
    QTest::keyClick(second, Qt::Key_Enter);
    QTRY_COMPARE(clicks.count(), 3);
  }

  void enterOnACheckBoxOrRadioPressesTheDefaultButtonAndKeepsTheTick_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("check box") << int(ButtonKind::CheckBox);
    QTest::newRow("radio") << int(ButtonKind::RadioButton);
  }
  void enterOnACheckBoxOrRadioPressesTheDefaultButtonAndKeepsTheTick() {
    QFETCH(int, kind);
    CGdipDialog dialog;
    auto *option = new CGdipButton(ButtonKind(kind), &dialog);
    auto *ok = new CGdipButton(ButtonKind::PushButton, &dialog);
    option->setGeometry(10, 10, 110, 22);
    ok->setGeometry(10, 40, 110, 32);
    dialog.SetDefaultButton(ok);
    option->SetCheck(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    option->setFocus(Qt::TabFocusReason);
    QSignalSpy okClicks(ok, &QAbstractButton::clicked);
    QSignalSpy optionClicks(option, &QAbstractButton::clicked);
    QTest::keyClick(option, Qt::Key_Return);
    QTRY_COMPARE(okClicks.count(), 1);
    QTest::keyClick(option, Qt::Key_Enter);
    QTRY_COMPARE(okClicks.count(), 2);
    QCOMPARE(optionClicks.count(), 0);
    QVERIFY(option->GetCheck());
    // Space still uses the option itself.
    QTest::keyClick(option, Qt::Key_Space);
    QCOMPARE(optionClicks.count(), 1);
  }

  void accessibleRolesAndStatesSayWhatEachButtonIs() {
    QWidget dialog;
    auto *push = new CGdipButton(ButtonKind::PushButton, &dialog);
    auto *check = new CGdipButton(ButtonKind::CheckBox, &dialog);
    CGdipButton *radio = MakeRadio(&dialog, true);
    auto *disk = new CIconRadioButton(&dialog);
    push->setText(QStringLiteral("OK"));
    check->setText(QStringLiteral("Remember Me"));
    radio->setText(QStringLiteral("DHCP"));
    radio->SetCheck(true);
    const struct {
      QAbstractButton *button;
      QAccessible::Role role;
      bool checkable;
      bool checked;
    } rows[] = {{push, QAccessible::Button, false, false},
                {check, QAccessible::CheckBox, true, false},
                {radio, QAccessible::RadioButton, true, true},
                {disk, QAccessible::RadioButton, true, false}};
    for (const auto &row : rows) {
      QAccessibleInterface *face = QAccessible::queryAccessibleInterface(row.button);
      QVERIFY(face != nullptr);
      QCOMPARE(face->role(), row.role);
      QCOMPARE(bool(face->state().checkable), row.checkable);
      QCOMPARE(bool(face->state().checked), row.checked);
      QCOMPARE(face->text(QAccessible::Name), row.button->text());
    }
  }

  // The accessible action of a radio-style button is the click: the button
  // is chosen, the rest of its group cleared, and the owner hears the click
  // that switches its mode. Choosing the chosen one never unticks it.
  void accessibleActionsDoWhatAClickDoes() {
    QWidget dialog;
    CGdipButton *dhcp = MakeRadio(&dialog, true);
    CGdipButton *fixed = MakeRadio(&dialog, false);
    auto *remember = new CGdipButton(ButtonKind::CheckBox, &dialog);
    fixed->SetCheck(true);
    bool dhcpMode = false;
    connect(dhcp, &QAbstractButton::clicked, &dialog, [&dhcpMode] { dhcpMode = true; });
    connect(fixed, &QAbstractButton::clicked, &dialog, [&dhcpMode] { dhcpMode = false; });

    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(dhcp);
    QAccessibleActionInterface *actions = face->actionInterface();
    QVERIFY(actions != nullptr);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(dhcpMode);
    QVERIFY(dhcp->GetCheck());
    QTRY_VERIFY(!fixed->GetCheck());
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(dhcp->GetCheck()); // chosen again, not unticked
    QAccessible::queryAccessibleInterface(fixed)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QVERIFY(!dhcpMode);
    QTRY_VERIFY(!dhcp->GetCheck());

    QAccessibleActionInterface *tick =
        QAccessible::queryAccessibleInterface(remember)->actionInterface();
    QSignalSpy clicks(remember, &QAbstractButton::clicked);
    tick->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(remember->GetCheck());
    tick->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!remember->GetCheck());
    QCOMPARE(clicks.count(), 2);

    remember->setEnabled(false);
    QVERIFY(tick->actionNames().isEmpty());
    tick->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!remember->GetCheck());
  }

  // A sidebar entry that can be used reads plainly; a disabled one is dimmed
  // well below it.
  void disabledShortcutTextIsDimmedWellBelowAUsableOne() {
    std::unique_ptr<QWidget> stage(test::MakeBlackStage({260, 60}));
    auto *button = new CShortCutButton(stage.get());
    QVERIFY(button->LoadImages(skin::kShortcutNormal, skin::kShortcutPressed, skin::kShortcutHover,
                               skin::kDownloadShortcut, skin::kDownloadShortcutLit));
    button->setText(QStringLiteral("Wizard"));
    button->setGeometry(0, 4, 240, 52);
    const QImage enabled = test::RenderChild(stage.get(), button);
    button->setEnabled(false);
    const QImage disabled = test::RenderChild(stage.get(), button);
    const QRect text(56, 10, 120, 32);
    const int on = Brightest(enabled, text);
    const int off = Brightest(disabled, text);
    QVERIFY2(on >= 180, qPrintable(QString::number(on)));
    QVERIFY2(off * 2 <= on, qPrintable(QStringLiteral("%1 against %2").arg(off).arg(on)));
    const QRect icon(8, 8, 36, 36);
    QVERIFY(Brightest(disabled, icon) < Brightest(enabled, icon));
  }

  void arrowKeysChooseWithinTheGroup() {
    QWidget dialog;
    CGdipButton *first = MakeRadio(&dialog, true);
    CGdipButton *second = MakeRadio(&dialog, false);
    CGdipButton *third = MakeRadio(&dialog, false);
    CGdipButton *otherGroup = MakeRadio(&dialog, true);
    second->move(0, 30);
    third->move(0, 60);
    otherGroup->move(0, 90);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    first->setFocus(Qt::TabFocusReason);
    first->SetCheck(true);
    QTest::keyClick(first, Qt::Key_Down);
    QVERIFY(second->hasFocus());
    QVERIFY(second->GetCheck());
    QTRY_VERIFY(!first->GetCheck());
    third->setEnabled(false); // skipped
    QTest::keyClick(second, Qt::Key_Down);
    QVERIFY(first->hasFocus()); // wrapped round past the disabled one
    QTest::keyClick(first, Qt::Key_Up);
    QVERIFY(second->hasFocus());
    QTRY_VERIFY(!first->GetCheck());
    QVERIFY(second->GetCheck());
    QVERIFY(!otherGroup->GetCheck());
  }

  void enterInATextFieldPressesTheDefaultButton() {
    CGdipDialog dialog;
    auto *name = new QLineEdit(&dialog);
    auto *ok = new CGdipButton(ButtonKind::PushButton, &dialog);
    auto *cancel = new CGdipButton(ButtonKind::PushButton, &dialog);
    ok->setGeometry(10, 40, 110, 32);
    cancel->setGeometry(130, 40, 110, 32);
    dialog.SetDefaultButton(ok);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    name->setFocus();
    QSignalSpy okClicks(ok, &QAbstractButton::clicked);
    QSignalSpy cancelClicks(cancel, &QAbstractButton::clicked);
    QTest::keyClick(name, Qt::Key_Return);
    QTRY_COMPARE(okClicks.count(), 1);
    // On a focused button Enter presses that button, not the default one.
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Return);
    QTRY_COMPARE(cancelClicks.count(), 1);
    QCOMPARE(okClicks.count(), 1);
    // A disabled default button is not pressed.
    ok->setEnabled(false);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Enter);
    QTest::qWait(200); // longer than a click animation
    QCOMPARE(okClicks.count(), 1);
  }

  void disabledPushButtonDrawsItsImageAtHalfOpacityAndIgnoresHover() {
    std::unique_ptr<QWidget> stage(test::MakeBlackStage({200, 60}));
    auto *button = new CGdipButton(ButtonKind::PushButton, stage.get());
    QVERIFY(button->LoadImages(skin::kTextButtonNormal, skin::kTextButtonActive,
                               skin::kTextButtonActive));
    button->SetDrawText(false);
    button->setGeometry(10, 10, 110, 32);
    const QImage enabled = test::RenderChild(stage.get(), button);
    button->setEnabled(false);
    const QImage disabled = test::RenderChild(stage.get(), button);
    QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
    QCoreApplication::sendEvent(button, &enter);
    const QImage disabledHovered = test::RenderChild(stage.get(), button);

    int compared = 0;
    for (const QPoint point : {QPoint(3, 16), QPoint(55, 8), QPoint(55, 24), QPoint(100, 16)}) {
      const QRgb on = enabled.pixel(point);
      const QRgb off = disabled.pixel(point);
      QVERIFY2(qRed(on) + qGreen(on) + qBlue(on) > 60, "the image is drawn there");
      QVERIFY(test::Near(qRed(off), qRed(on) / 2, 2));
      QVERIFY(test::Near(qGreen(off), qGreen(on) / 2, 2));
      QVERIFY(test::Near(qBlue(off), qBlue(on) / 2, 2));
      ++compared;
    }
    QCOMPARE(compared, 4);
    QCOMPARE(disabledHovered, disabled);
  }

  void disabledButtonTextIsGrey() {
    std::unique_ptr<QWidget> stage(test::MakeBlackStage({200, 60}));
    auto *button = new CGdipButton(ButtonKind::PushButton, stage.get());
    button->setText(QStringLiteral("MMMM"));
    button->setGeometry(10, 10, 110, 32); // no images: only the text is drawn
    button->setEnabled(false);
    const QImage image = test::RenderChild(stage.get(), button);
    int brightest = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        brightest = std::max(brightest, qRed(image.pixel(x, y)));
      }
    }
    QVERIFY(test::Near(brightest, 0x64, 6));
  }

  void underlineButtonTextStepsRightUnderTheMouse() {
    std::unique_ptr<QWidget> stage(test::MakeBlackStage({260, 40}));
    auto *tab = new CUnderLineButton(stage.get());
    QVERIFY(tab->ImagesLoaded());
    tab->setText(QStringLiteral("Logout Time"));
    tab->setGeometry(0, 0, 240, 30);
    const int before = LeftmostLitColumn(test::RenderChild(stage.get(), tab));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(tab, &enter);
    const int after = LeftmostLitColumn(test::RenderChild(stage.get(), tab));
    QVERIFY(before >= 60);
    QCOMPARE(after - before, 25);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(tab, &leave);
    QCOMPARE(LeftmostLitColumn(test::RenderChild(stage.get(), tab)), before);
  }

  void toolTipShowsAfterTheDelayAndHidesOnLeave() {
    QWidget dialog;
    dialog.resize(200, 100);
    auto *button = new CGdipButton(ButtonKind::PushButton, &dialog);
    button->setGeometry(10, 10, 28, 28);
    button->SetToolTipText(QString()); // nothing to show: no tool tip
    QVERIFY(button->ToolTip() == nullptr);
    button->SetToolTipText(QStringLiteral("Logout"));
    QVERIFY(button->ToolTip() != nullptr);
    QCOMPARE(button->ToolTip()->DelayTime(), 1000);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    button->ToolTip()->SetDelayTime(50);
    QTest::mouseMove(button, QPoint(14, 14));
    QTRY_VERIFY(button->ToolTip()->isVisible());
    QCOMPARE(button->ToolTip()->Text(), QStringLiteral("Logout"));
    QTest::mouseMove(&dialog, QPoint(150, 80));
    QTRY_VERIFY(!button->ToolTip()->isVisible());
  }
};

QTEST_MAIN(TestSkinButtons)
#include "tst_skin_buttons.moc"
