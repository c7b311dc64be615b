// The skinned message box: its answers from the keyboard and the mouse, its
// buttons and their texts, its icon from the skin's artwork at the screen's
// pixel ratio, its size and place, and what assistive technology reads.
// Run at pixel ratio 1 and, as tst_message_dialog_2x, at ratio 2.

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <optional>

#include "i18n/current_language.h"
#include "i18n/translate.h"
#include "platform/message_box.h"
#include "setup/address_change_plan.h"
#include "ui/platform/qt_message_box.h"
#include "ui/qt_text.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_message_dialog.h"
#include "ui/skin/trans_static.h"

using namespace corvesta;

Q_DECLARE_METATYPE(MessageBoxButtons)
Q_DECLARE_METATYPE(MessageBoxIcon)
Q_DECLARE_METATYPE(MessageBoxResult)

namespace {

MessageBoxRequest Request(MessageBoxButtons buttons, MessageBoxIcon icon = MessageBoxIcon::None,
                          std::u16string text = u"IP address input error. Please try again.") {
  MessageBoxRequest request;
  request.text = std::move(text);
  request.caption = u"Warning";
  request.buttons = buttons;
  request.icon = icon;
  return request;
}

// Runs the dialog modally; once it is the active window, `act` works on it.
// The answer, or nothing when the dialog did not end within five seconds.
std::optional<MessageBoxResult> RunAnd(CSkinMessageDialog &dialog,
                                       std::function<void(CSkinMessageDialog &)> act) {
  bool ended = false;
  QTimer::singleShot(0, &dialog, [&] {
    if (QTest::qWaitForWindowActive(&dialog)) {
      act(dialog);
    }
  });
  QTimer::singleShot(5000, &dialog, [&] {
    if (!ended) {
      dialog.done(QDialog::Rejected);
    }
  });
  QElapsedTimer clock;
  clock.start();
  const MessageBoxResult answer = dialog.Run();
  ended = true;
  if (clock.elapsed() >= 5000) {
    return std::nullopt;
  }
  return answer;
}

void PressKeys(CSkinMessageDialog &dialog, const QList<Qt::Key> &keys) {
  for (Qt::Key key : keys) {
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &dialog, key);
  }
}

QStringList Labels(const CSkinMessageDialog &dialog) {
  QStringList labels;
  for (const CGdipButton *button : dialog.Buttons()) {
    labels << button->text();
  }
  return labels;
}

// What the widget paints of itself, without the dialog's surface behind it.
QImage OwnPaint(QWidget &widget, qreal ratio) {
  QImage image(widget.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  return image;
}

} // namespace

class TestMessageDialog : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void cleanup() { ClearCurrentLanguage(); }

  void keysGiveTheAnswer_data() {
    QTest::addColumn<MessageBoxButtons>("buttons");
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<MessageBoxResult>("expected");
    using K = QList<Qt::Key>;
    const struct {
      const char *name;
      MessageBoxButtons buttons;
      MessageBoxResult enter, escape, tabEnter;
    } sets[] = {
        {"OK", MessageBoxButtons::Ok, MessageBoxResult::Ok, MessageBoxResult::Ok,
         MessageBoxResult::Ok},
        {"OK/Cancel", MessageBoxButtons::OkCancel, MessageBoxResult::Ok, MessageBoxResult::Cancel,
         MessageBoxResult::Cancel},
        {"Yes/No", MessageBoxButtons::YesNo, MessageBoxResult::Yes, MessageBoxResult::No,
         MessageBoxResult::No},
    };
    for (const auto &set : sets) {
      QTest::addRow("%s, Enter", set.name) << set.buttons << K{Qt::Key_Return} << set.enter;
      QTest::addRow("%s, keypad Enter", set.name) << set.buttons << K{Qt::Key_Enter} << set.enter;
      QTest::addRow("%s, Escape", set.name) << set.buttons << K{Qt::Key_Escape} << set.escape;
      QTest::addRow("%s, Tab then Enter", set.name)
          << set.buttons << K{Qt::Key_Tab, Qt::Key_Return} << set.tabEnter;
      // Tab goes round the buttons only: back to the first after the last.
      QTest::addRow("%s, Tab twice then Space", set.name)
          << set.buttons << K{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space} << set.enter;
      QTest::addRow("%s, Tab then Escape", set.name)
          << set.buttons << K{Qt::Key_Tab, Qt::Key_Escape} << set.escape;
    }
  }
  void keysGiveTheAnswer() {
    QFETCH(MessageBoxButtons, buttons);
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(MessageBoxResult, expected);
    QWidget owner;
    owner.resize(460, 360);
    owner.show();
    CSkinMessageDialog dialog(Request(buttons, MessageBoxIcon::Question), &owner);
    const std::optional<MessageBoxResult> answer =
        RunAnd(dialog, [&](CSkinMessageDialog &shown) { PressKeys(shown, keys); });
    QVERIFY2(answer.has_value(), "the dialog did not end");
    QCOMPARE(*answer, expected);
  }

  void theFirstButtonHasTheFocusAndIsTheDefault() {
    CSkinMessageDialog dialog(Request(MessageBoxButtons::YesNo), nullptr);
    QWidget *focused = nullptr;
    RunAnd(dialog, [&](CSkinMessageDialog &shown) {
      focused = QApplication::focusWidget();
      shown.reject();
    });
    QCOMPARE(focused, dialog.ButtonFor(MessageBoxResult::Yes));
    QCOMPARE(dialog.DefaultButton(), dialog.ButtonFor(MessageBoxResult::Yes));
  }

  void closingGivesTheDismissAnswer_data() {
    QTest::addColumn<MessageBoxButtons>("buttons");
    QTest::addColumn<bool>("closeButton"); // else the window's close
    QTest::addColumn<MessageBoxResult>("expected");
    QTest::newRow("OK, close button") << MessageBoxButtons::Ok << true << MessageBoxResult::Ok;
    QTest::newRow("OK/Cancel, close button")
        << MessageBoxButtons::OkCancel << true << MessageBoxResult::Cancel;
    QTest::newRow("Yes/No, close button")
        << MessageBoxButtons::YesNo << true << MessageBoxResult::No;
    QTest::newRow("Yes/No, window closed")
        << MessageBoxButtons::YesNo << false << MessageBoxResult::No;
  }
  void closingGivesTheDismissAnswer() {
    QFETCH(MessageBoxButtons, buttons);
    QFETCH(bool, closeButton);
    QFETCH(MessageBoxResult, expected);
    CSkinMessageDialog dialog(Request(buttons), nullptr);
    const std::optional<MessageBoxResult> answer = RunAnd(dialog, [&](CSkinMessageDialog &shown) {
      if (closeButton) {
        QTest::mouseClick(shown.GetDlgItem(CSkinMessageDialog::kCloseId), Qt::LeftButton);
      } else {
        shown.close();
      }
    });
    QVERIFY(answer.has_value());
    QCOMPARE(*answer, expected);
  }

  void aClickedButtonGivesItsAnswer() {
    CSkinMessageDialog dialog(Request(MessageBoxButtons::YesNo), nullptr);
    const std::optional<MessageBoxResult> answer = RunAnd(dialog, [](CSkinMessageDialog &shown) {
      QTest::mouseClick(shown.ButtonFor(MessageBoxResult::No), Qt::LeftButton);
    });
    QVERIFY(answer.has_value());
    QCOMPARE(*answer, MessageBoxResult::No);
  }

  void buttonsHaveTheirOrderAndTexts_data() {
    QTest::addColumn<MessageBoxButtons>("buttons");
    QTest::addColumn<bool>("english");
    QTest::addColumn<int>("language"); // -1: none
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("OK, English") << MessageBoxButtons::Ok << false << 0
                                 << QStringList{QStringLiteral("OK")};
    QTest::newRow("OK/Cancel, Spanish")
        << MessageBoxButtons::OkCancel << false << 3
        << QStringList{QStringLiteral("Aceptar"), QStringLiteral("Cancelar")};
    QTest::newRow("OK/Cancel, Spanish, English asked")
        << MessageBoxButtons::OkCancel << true << 3
        << QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")};
    QTest::newRow("Yes/No, Russian") << MessageBoxButtons::YesNo << false << 4
                                     << QStringList{QStringLiteral("Да"), QStringLiteral("Нет")};
    QTest::newRow("Yes/No, German") << MessageBoxButtons::YesNo << false << 2
                                    << QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")};
    QTest::newRow("Yes/No, no language")
        << MessageBoxButtons::YesNo << false << -1
        << QStringList{QStringLiteral("Yes"), QStringLiteral("No")};
  }
  void buttonsHaveTheirOrderAndTexts() {
    QFETCH(MessageBoxButtons, buttons);
    QFETCH(bool, english);
    QFETCH(int, language);
    QFETCH(QStringList, labels);
    SelectLanguage(language);
    MessageBoxRequest request = Request(buttons);
    request.englishButtons = english;
    CSkinMessageDialog dialog(request, nullptr);
    QCOMPARE(Labels(dialog), labels);
    int left = -1;
    for (const CGdipButton *button : dialog.Buttons()) {
      QCOMPARE(button->accessibleName(), button->text());
      QVERIFY(button->geometry().left() > left); // left to right
      left = button->geometry().right();
      // The label fits its face.
      QVERIFY(QFontMetrics(button->font()).horizontalAdvance(button->text()) < button->width());
      QVERIFY(dialog.rect().contains(button->geometry()));
    }
  }

  void theIconIsTheSkinsArtworkAtTheScreensRatio_data() {
    QTest::addColumn<MessageBoxIcon>("icon");
    QTest::newRow("information") << MessageBoxIcon::Information;
    QTest::newRow("warning") << MessageBoxIcon::Warning;
    QTest::newRow("question") << MessageBoxIcon::Question;
    QTest::newRow("error") << MessageBoxIcon::Error;
  }
  void theIconIsTheSkinsArtworkAtTheScreensRatio() {
    QFETCH(MessageBoxIcon, icon);
    // The 2x run must really draw at ratio 2.
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2") ? 2.0 : 1.0;
    CSkinMessageDialog dialog(Request(MessageBoxButtons::Ok, icon), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.devicePixelRatioF(), ratio);
    CGdipIconStatic *picture = dialog.IconPicture();
    QVERIFY(picture != nullptr);
    QCOMPARE(picture->size(), QSize(40, 40));

    CGdiPlusBitmapResource artwork;
    QVERIFY(artwork.LoadFromResource(CSkinMessageDialog::ImageOf(icon), ratio));
    QImage expected =
        artwork.Pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage drawn = OwnPaint(*picture, ratio);
    QCOMPARE(drawn.size(), QSize(40, 40) * ratio);
    // Drawn pixel for pixel: the image of this ratio, not a scaled one.
    QCOMPARE(drawn, expected);
    // Beside the icon, the text.
    QVERIFY(dialog.TextLabel()->geometry().left() > picture->geometry().right());
  }

  void noIconLeavesTheTextAtTheMargin() {
    CSkinMessageDialog dialog(Request(MessageBoxButtons::Ok, MessageBoxIcon::None), nullptr);
    QCOMPARE(dialog.IconPicture(), nullptr);
    QCOMPARE(dialog.GetDlgItem(CSkinMessageDialog::kIconId), nullptr);
    QVERIFY(dialog.TextLabel()->geometry().left() < 40);
  }

  void aLongRussianTextWrapsInsideTheScreen() {
    SelectLanguage(4);
    const std::u16string text = Translate(kGatewayQuestion);
    QVERIFY(text != std::u16string(kGatewayQuestion)); // translated
    CSkinMessageDialog dialog(Request(MessageBoxButtons::YesNo, MessageBoxIcon::Warning, text),
                              nullptr);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    CTransStatic *label = dialog.TextLabel();
    const QFontMetrics metrics(label->font());
    QVERIFY(metrics.horizontalAdvance(ToQString(text)) > label->width()); // it had to wrap
    QVERIFY(label->width() <= CSkinMessageDialog::kMaxTextWidth);
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, label->width(), 10000), label->Format(), label->Text());
    QVERIFY2(needed.height() >= 2 * metrics.lineSpacing(), "more than one line");
    QVERIFY2(needed.height() <= label->height(), "every line is shown");
    QVERIFY(needed.width() <= label->width());
    QVERIFY(dialog.rect().contains(label->geometry()));
    QVERIFY(dialog.width() <= area.width());
    // The lines end above the buttons.
    QVERIFY(label->geometry().bottom() < dialog.Buttons().front()->geometry().top());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(area.contains(dialog.frameGeometry()));
  }

  void aVeryLongTextStaysOnTheScreen() {
    std::u16string text;
    for (int i = 0; i < 200; ++i) {
      text += u"The NAS did not answer after the change was sent. ";
    }
    CSkinMessageDialog dialog(Request(MessageBoxButtons::Ok, MessageBoxIcon::Error, text), nullptr);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(dialog.width() <= area.width());
    QVERIFY(dialog.height() <= area.height());
    QVERIFY(dialog.rect().contains(dialog.TextLabel()->geometry()));
    QVERIFY(dialog.rect().contains(dialog.Buttons().front()->geometry()));
  }

  void aShortTextGivesAModestDialog() {
    CSkinMessageDialog dialog(Request(MessageBoxButtons::Ok, MessageBoxIcon::Information, u"OK."),
                              nullptr);
    QVERIFY(dialog.width() < 400);
    QVERIFY(dialog.height() < 220);
    // A short text stands by the middle of the icon.
    const int iconMiddle = dialog.IconPicture()->geometry().center().y();
    QVERIFY(qAbs(dialog.TextLabel()->geometry().center().y() - iconMiddle) <= 1);
  }

  void itIsCentredOnItsOwnerAndModalToIt() {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(area.adjusted(10, 10, -10, -10));
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    CSkinMessageDialog dialog(Request(MessageBoxButtons::OkCancel), &owner);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint offset = dialog.frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QCOMPARE(dialog.parentWidget(), &owner);
    QCOMPARE(dialog.windowModality(), Qt::WindowModal);
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));

    CSkinMessageDialog alone(Request(MessageBoxButtons::Ok), nullptr);
    QCOMPARE(alone.windowModality(), Qt::ApplicationModal);
  }

  void overAnOwnerAtTheScreensEdgeItStaysOnTheScreen() {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(area.right() - 60, area.bottom() - 40, 120, 80);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    CSkinMessageDialog dialog(Request(MessageBoxButtons::YesNo, MessageBoxIcon::Question), &owner);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(area.contains(dialog.frameGeometry()));
  }

  void theCaptionIsInTheTitleStrip() {
    CSkinMessageDialog dialog(Request(MessageBoxButtons::Ok), nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Warning"));
    bool found = false;
    for (const CTransStatic *label : dialog.findChildren<CTransStatic *>()) {
      if (label->Text() == QStringLiteral("Warning")) {
        found = true;
        QVERIFY(label->geometry().bottom() < 50); // inside the strip
      }
    }
    QVERIFY(found);
  }

  void assistiveTechnologyReadsAnAlert() {
    CSkinMessageDialog dialog(Request(MessageBoxButtons::OkCancel, MessageBoxIcon::Warning),
                              nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QAccessibleInterface *alert = QAccessible::queryAccessibleInterface(&dialog);
    QVERIFY(alert != nullptr);
    QCOMPARE(alert->role(), QAccessible::AlertMessage);
    QCOMPARE(alert->text(QAccessible::Name), QStringLiteral("Warning"));
    const QString text = QStringLiteral("IP address input error. Please try again.");
    QCOMPARE(alert->text(QAccessible::Description), text);
    QCOMPARE(alert->text(QAccessible::Value), text);

    // Its children: the text as static text, and the buttons by their names.
    QStringList buttons;
    bool textFound = false;
    for (int i = 0; i < alert->childCount(); ++i) {
      QAccessibleInterface *child = alert->child(i);
      if (child->role() == QAccessible::StaticText && child->text(QAccessible::Name) == text) {
        textFound = true;
      }
      if (child->role() == QAccessible::Button) {
        buttons << child->text(QAccessible::Name);
      }
    }
    QVERIFY(textFound);
    QVERIFY(buttons.contains(QStringLiteral("OK")));
    QVERIFY(buttons.contains(QStringLiteral("Cancel")));
  }

  void withoutCaptionTheTextNamesTheAlert() {
    MessageBoxRequest request = Request(MessageBoxButtons::Ok);
    request.caption.clear();
    CSkinMessageDialog dialog(request, nullptr);
    QAccessibleInterface *alert = QAccessible::queryAccessibleInterface(&dialog);
    QVERIFY(alert != nullptr);
    QCOMPARE(alert->text(QAccessible::Name), ToQString(request.text));
  }

  void theServiceShowsTheSkinnedDialog() {
    // The service's own presenter, answered by a person clicking No.
    QtMessageBoxService service;
    QString shownClass;
    QTimer::singleShot(0, [&] {
      QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() != nullptr, 5000);
      QWidget *modal = QApplication::activeModalWidget();
      shownClass = QString::fromLatin1(modal->metaObject()->className());
      if (auto *dialog = qobject_cast<CSkinMessageDialog *>(modal)) {
        QTest::mouseClick(dialog->ButtonFor(MessageBoxResult::No), Qt::LeftButton);
      } else {
        modal->close();
      }
    });
    QCOMPARE(service.Show(Request(MessageBoxButtons::YesNo, MessageBoxIcon::Question)),
             MessageBoxResult::No);
    QCOMPARE(shownClass, QStringLiteral("corvesta::CSkinMessageDialog"));
  }
};

QTEST_MAIN(TestMessageDialog)
#include "tst_message_dialog.moc"
