// A skinned text in its room: drawn whole when it fits, else shortened with
// an ellipsis (one line) or kept to the lines its room holds, the last ending
// in an ellipsis (word-wrapped), never cut mid-letter; and the settings
// dialog's tab, which takes a second line rather than shortening its name;
// and the title strips, whose titles are of one size in every dialog.

#include <QTest>

#include "main_test_support.h"
#include "support/temp_folder.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/main_layout.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/text_room.h"
#include "ui/skin/trans_static.h"
#include "ui/skin/underline_button.h"
#include "ui/wizard/disk_ids.h"
#include "ui/wizard/process_dialog.h"

using namespace corvesta;

namespace {

const QChar kEllipsis(0x2026);
constexpr int kSingle = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
constexpr int kWrapped = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

class TestTextRoom : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void aTextIsShortenedOnlyWhenItDoesNotFit_data();
  void aTextIsShortenedOnlyWhenItDoesNotFit();
  void theSettingsTabShowsItsNameWholeInEveryLanguage_data();
  void theSettingsTabShowsItsNameWholeInEveryLanguage();
  void everyTitleStripHasOneTextSize();
};

void TestTextRoom::aTextIsShortenedOnlyWhenItDoesNotFit_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("flags");
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("lines"); // the room's height in lines
  QTest::addColumn<bool>("fits");
  const QString tab = QStringLiteral("Tiempo de cierre de sesión");
  QTest::newRow("one line with room") << tab << kSingle << 400 << 1 << true;
  QTest::newRow("one line too narrow") << tab << kSingle << 120 << 1 << false;
  QTest::newRow("wrapped onto two lines of two") << tab << kWrapped << 140 << 2 << true;
  QTest::newRow("wrapped, two lines needed, one there") << tab << kWrapped << 140 << 1 << false;
  QTest::newRow("wrapped, a word wider than the room")
      << QStringLiteral("Netzwerkfreigabeverbindungen") << kWrapped << 80 << 3 << false;
  QTest::newRow("a line break kept in its room")
      << QStringLiteral("Corvesta\n(c) 2026") << int(Qt::AlignLeft | Qt::AlignTop) << 400 << 2
      << true;
}

void TestTextRoom::aTextIsShortenedOnlyWhenItDoesNotFit() {
  QFETCH(QString, text);
  QFETCH(int, flags);
  QFETCH(int, width);
  QFETCH(int, lines);
  QFETCH(bool, fits);
  const QFont font = skin::SkinFont(18);
  const QFontMetrics metrics(font);
  const skin::TextRoom room{text, font, QRect(10, 10, width, lines * metrics.lineSpacing()), flags};
  QCOMPARE(skin::TextFits(room), fits);
  const QString fitted = skin::FittedText(room);
  if (fits) {
    QCOMPARE(fitted, text);
    return;
  }
  // Shortened: it ends in an ellipsis, holds no more lines than the room
  // and each line is within the room's width.
  QVERIFY2(fitted.endsWith(kEllipsis), qPrintable(fitted));
  const QStringList drawn = fitted.split(QLatin1Char('\n'));
  QVERIFY2(drawn.size() <= lines, qPrintable(fitted));
  for (const QString &line : drawn) {
    QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(line));
  }
  // What it keeps is the text's beginning.
  QVERIFY2(text.startsWith(QString(drawn.front()).remove(kEllipsis).trimmed()), qPrintable(fitted));
}

void TestTextRoom::theSettingsTabShowsItsNameWholeInEveryLanguage_data() {
  QTest::addColumn<int>("language");
  const char *const codes[] = {"eng", "fre", "ger", "spa", "rus"};
  for (int i = 0; i < 5; ++i) {
    QTest::newRow(codes[i]) << i;
  }
}

void TestTextRoom::theSettingsTabShowsItsNameWholeInEveryLanguage() {
  QFETCH(int, language);
  test::ScopedAppDataFolder settings;
  test::ScopedLanguage chosen(language);
  CSettingsDialog dialog;
  auto *tab = dialog.GetDlgItemAs<CUnderLineButton>(main_ids::kSettingsLogoutTab);
  const std::vector<skin::TextRoom> rooms = skin::TextRoomsOf(*tab);
  QCOMPARE(rooms.size(), std::size_t(1));
  QVERIFY2(skin::TextFits(rooms.front(), tab), qPrintable(tab->text()));
  // The tab keeps its place and width, and a name of one line its height;
  // a longer name grows it downwards, clear of the picture under it.
  QCOMPARE(tab->geometry().topLeft(), layout::kSettingsTab.topLeft());
  QCOMPARE(tab->width(), layout::kSettingsTab.width());
  const bool oneLine =
      QFontMetrics(tab->font(), tab).horizontalAdvance(tab->text()) <= rooms.front().room.width();
  if (oneLine) {
    QCOMPARE(tab->height(), layout::kSettingsTab.height());
  } else {
    QVERIFY(tab->height() > layout::kSettingsTab.height());
  }
  QVERIFY(tab->geometry().bottom() < layout::kSettingsPicture.top());
  QVERIFY(!tab->geometry().intersects(layout::kSettingsDescription));
}

void TestTextRoom::everyTitleStripHasOneTextSize() {
  test::ScopedAppDataFolder settings;
  CLoginDialog login;
  CSettingsDialog settingsDialog;
  CSettingIpDialog setIp(-1);
  CProcessDialog format(nullptr, 0, VolumeSpec{}, FormatRequests{});
  const std::pair<const char *, CTransStatic *> titles[] = {
      {"login", login.GetDlgItemAs<CTransStatic>(main_ids::kLoginTitle)},
      {"settings", settingsDialog.GetDlgItemAs<CTransStatic>(main_ids::kSettingsTitle)},
      {"set-IP", setIp.GetDlgItemAs<CTransStatic>(main_ids::kSetIpTitle)},
      {"format", format.GetDlgItemAs<CTransStatic>(disk_ids::kTitle)},
  };
  for (const auto &[dialog, title] : titles) {
    QVERIFY2(title != nullptr, dialog);
    QVERIFY2(title->TextHeight() == skin::kTitleStripTextHeight, dialog);
    QVERIFY2(title->font().pixelSize() ==
                 skin::SkinFont(skin::kTitleStripTextHeight, skin::kWeightBold).pixelSize(),
             dialog);
  }
}

QTEST_MAIN(TestTextRoom)
#include "tst_text_room.moc"
