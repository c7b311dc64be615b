// A box's texts in the main window: a name, an address line and share names
// holding terminal control sequences, line breaks, direction overrides and
// markup are shown as plain text, each on its own line, and the box's own
// text is still what the window works with.

#include <QTest>

#include "main_window_sim.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/skin/folder_list_ctrl.h"

using namespace corvesta;
using namespace corvesta::main_ids;
using nlohmann::json;

namespace {

constexpr int kWithinMs = 20000;
// Clear the screen, a line break, markup, a right-to-left override.
const char kName[] = "E\x1b[2J\nX<b>B</b>\xe2\x80\xae";
const QString kNameShown = QStringLiteral(u"E\u241b[2J\u240aX<b>B</b>\ufffd");
// A title sequence with its bell, a carriage return, C1 CSI, DEL.
const char kShare[] = "S\x1b]0;t\x07\r\xc2\x9b"
                      "2K\x7f";
const QString kShareShown = QStringLiteral(u"S\u241b]0;t\u2407\u240d\ufffd2K\u2421");

bool HasControls(const QString &text) {
  for (QChar c : text) {
    if (c.category() == QChar::Other_Control || c.unicode() == 0x2028 || c.unicode() == 0x2029 ||
        (c.unicode() >= 0x202A && c.unicode() <= 0x202E)) {
      return true;
    }
  }
  return false;
}

} // namespace

class TestWindowBoxText : public QObject, public test::SimWindowFixture {
  Q_OBJECT
private Q_SLOTS:
  void init() { SetUp(0.05); }
  void cleanup() { TearDown(); }
  void aBoxsTextsAreShownAsPlainTextOnOneLine();
};

void TestWindowBoxText::aBoxsTextsAreShownAsPlainTextOnOneLine() {
  json box = test::SimBox(kName, 2, "secret");
  box["shares"] = json::array({{{"name", kShare}}, {{"name", "<i>Plain</i>"}}});
  QVERIFY2(m_sim->Start(test::NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  CUtilityDlg window;
  test::StartListed(window, kWithinMs);

  // The box list.
  const QStringList names = test::ListedNames(window);
  QCOMPARE(names, QStringList{kNameShown});
  QVERIFY(!HasControls(names[0]));

  // The information panel, once logged in.
  test::ConnectAs(window, kNameShown, QStringLiteral("admin"), QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kWithinMs);
  QVERIFY(window.LoggedIn()); // the box was reached under the name it gave
  QCOMPARE(window.InfoPanel()->LineText(0), kNameShown);
  for (int line = 0; line < 4; ++line) {
    QVERIFY(!HasControls(window.InfoPanel()->LineText(line)));
  }

  // The folder grid.
  QTest::mouseClick(window.GetDlgItem(kFolder), Qt::LeftButton);
  CFolderListCtrl *folders = window.InfoPanel()->FolderList();
  QTRY_COMPARE_WITH_TIMEOUT(folders->FolderCount(), 2, kWithinMs);
  QCOMPARE(folders->DisplayName(0), kShareShown);
  QCOMPARE(folders->DisplayName(1), QStringLiteral("<i>Plain</i>"));
}

QTEST_MAIN(TestWindowBoxText)
#include "tst_window_box_text.moc"
