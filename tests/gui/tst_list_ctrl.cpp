#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>
#include <vector>

#include "i18n/current_language.h"
#include "skin_test_support.h"
#include "ui/platform/qt_message_target.h"
#include "ui/skin/gdip_header_ctrl.h"
#include "ui/skin/gdip_list_combo_box.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "worker/private_messages.h"

using namespace corvesta;

namespace {

QString S(const char *text) {
  return QString::fromLatin1(text);
}

// The list's owner: a black stage with a window handle that records the
// list's messages and answers the request for choices.
struct Owner {
  QWidget *stage = test::MakeBlackStage({520, 300});
  std::vector<Message> messages;
  QStringList choices{S("select"), S("Z:"), S("Y:"), S("X:")};
  CGdipListCtrl *list;
  QLineEdit *elsewhere;

  Owner() {
    new QtMessageTarget(
        stage,
        [this](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
          messages.push_back({0, message, wParam, lParam});
          if (message == WM_SKIN_FILL_CHOICES) {
            auto *entries = reinterpret_cast<QStringList *>(lParam);
            entries->clear();
            *entries << choices;
            return 1;
          }
          return 0;
        },
        stage);
    list = new CGdipListCtrl(stage);
    list->setGeometry(10, 10, 460, 22 + 5 * 30);
    list->InsertColumn(0, S("Name"), ColumnAlign::Left, 305);
    list->InsertColumn(1, S("Location"), ColumnAlign::Left, 130);
    const char *rows[][2] = {{"public", "select"}, {"media", "Z:"}, {"backup", "select"}};
    for (int i = 0; i < 3; ++i) {
      list->InsertItem(i, S(rows[i][0]));
      list->SetItemText(i, 1, S(rows[i][1]));
    }
    list->EnableChoiceColumn();
    elsewhere = new QLineEdit(stage);
    elsewhere->setGeometry(10, 250, 100, 24);
    stage->show();
    stage->activateWindow();
    active = QTest::qWaitForWindowActive(stage);
  }
  ~Owner() { delete stage; }
  bool active = false;

  QPoint CellCentre(int row, int column) const {
    return list->visualRect(list->model()->index(row, column)).center();
  }
  void Click(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, CellCentre(row, column));
  }
  int Count(UINT message) const {
    int n = 0;
    for (const Message &m : messages) {
      n += m.message == message ? 1 : 0;
    }
    return n;
  }
  const Message *Last(UINT message) const {
    for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
      if (it->message == message) {
        return &*it;
      }
    }
    return nullptr;
  }
  bool ChooserShown() const {
    return CGdipListCtrl::Chooser() != nullptr && CGdipListCtrl::Chooser()->isVisible();
  }
};

// The brightest grey level in a rectangle of an image.
int Brightest(const QImage &image, const QRect &area) {
  int level = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      level = std::max(level, qGray(image.pixel(x, y)));
    }
  }
  return level;
}

} // namespace

class TestListCtrl : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void chooserOpensOnTheChoiceColumnOfTheFocusedRowOnly_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("rowDisabled");
    QTest::addColumn<bool>("opens");
    QTest::newRow("column 1") << 1 << 1 << Qt::KeyboardModifiers() << false << true;
    QTest::newRow("column 0") << 1 << 0 << Qt::KeyboardModifiers() << false << false;
    QTest::newRow("column 1 with Shift")
        << 1 << 1 << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << false;
    QTest::newRow("column 1 with Ctrl")
        << 2 << 1 << Qt::KeyboardModifiers(Qt::ControlModifier) << false << false;
    QTest::newRow("a row that cannot take the focus")
        << 2 << 1 << Qt::KeyboardModifiers() << true << false;
  }
  void chooserOpensOnTheChoiceColumnOfTheFocusedRowOnly() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, rowDisabled);
    QFETCH(bool, opens);
    Owner owner;
    QVERIFY(owner.active);
    if (rowDisabled) {
      for (int c = 0; c < 2; ++c) {
        QTableWidgetItem *item = owner.list->item(row, c);
        item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
      }
    }
    QSignalSpy clicked(owner.list, &CGdipListCtrl::ItemClicked);
    owner.Click(row, column, modifiers);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].toInt(), row);
    QCOMPARE(clicked[0][1].toInt(), column);
    QCOMPARE(owner.ChooserShown(), opens);
    QCOMPARE(owner.Count(WM_SKIN_FILL_CHOICES), opens ? 1 : 0);
    if (!rowDisabled) {
      QCOMPARE(owner.list->GetSelectedRow(), row); // the click still selects
    }
    if (!opens) {
      return;
    }
    CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
    QCOMPARE(owner.Last(WM_SKIN_FILL_CHOICES)->wParam, WPARAM(row));
    QCOMPARE(chooser->count(), 4);
    QCOMPARE(chooser->currentText(), S("Z:")); // the cell's text
    QCOMPARE(chooser->geometry(), owner.list->visualRect(owner.list->model()->index(row, column)));
    QCOMPARE(owner.list->viewport()->focusWidget(), chooser);
  }

  void aClickBelowTheRowsHitsNoRow() {
    Owner owner;
    owner.list->SetSelectedRow(1);
    QSignalSpy clicked(owner.list, &CGdipListCtrl::ItemClicked);
    QTest::mouseClick(owner.list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 130));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].toInt(), -1);
    QCOMPARE(owner.list->GetSelectedRow(), -1);
    QVERIFY(!owner.ChooserShown());
  }

  void enterTakesTheChoice() {
    Owner owner;
    owner.Click(0, 1);
    CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
    QVERIFY(chooser != nullptr && chooser->IsEditing());
    chooser->hidePopup();
    // hidePopup closes the chooser with its current entry: choose first.
    QTRY_VERIFY(!owner.ChooserShown());
    QCOMPARE(owner.list->GetItemText(0, 1), S("select"));
    // That edit's report is a posted message: let it arrive before counting
    // the next edit's.
    QTRY_COMPARE(owner.Count(WM_SKIN_CELL_EDITED), 1);
    owner.messages.clear();

    owner.Click(0, 1);
    chooser = CGdipListCtrl::Chooser();
    chooser->setCurrentIndex(2);
    QTest::keyClick(chooser, Qt::Key_Return);
    QVERIFY(!owner.ChooserShown());
    QCOMPARE(owner.list->GetItemText(0, 1), S("Y:"));
    QTRY_COMPARE(owner.Count(WM_SKIN_CELL_EDITED), 1);
    QCOMPARE(owner.Last(WM_SKIN_CELL_EDITED)->wParam, WPARAM(0));
    QCOMPARE(owner.Last(WM_SKIN_CELL_EDITED)->lParam, LPARAM(1));
  }

  void escapeKeepsTheOldTextButStillReportsTheEdit() {
    Owner owner;
    owner.Click(1, 1);
    CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
    chooser->setCurrentIndex(3);
    QTest::keyClick(chooser, Qt::Key_Escape);
    QVERIFY(!owner.ChooserShown());
    QCOMPARE(owner.list->GetItemText(1, 1), S("Z:"));
    QTRY_COMPARE(owner.Count(WM_SKIN_CELL_EDITED), 1);
    QCOMPARE(owner.Last(WM_SKIN_CELL_EDITED)->wParam, WPARAM(1));
  }

  void pickingFromTheOpenListTakesThatEntry() {
    Owner owner;
    owner.Click(2, 1);
    CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
    QAbstractItemView *view = chooser->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex entry = view->model()->index(3, 0);
    QCOMPARE(entry.data().toString(), S("X:"));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualRect(entry).center());
    QTRY_VERIFY(!owner.ChooserShown());
    QCOMPARE(owner.list->GetItemText(2, 1), S("X:"));
    QTRY_COMPARE(owner.Count(WM_SKIN_CELL_EDITED), 1);
  }

  void escapeInTheOpenListCancels() {
    Owner owner;
    owner.Click(1, 1);
    CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
    QAbstractItemView *view = chooser->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(2, 0));
    QTest::keyClick(view, Qt::Key_Escape);
    QTRY_VERIFY(!owner.ChooserShown());
    QCOMPARE(owner.list->GetItemText(1, 1), S("Z:"));
    QTRY_COMPARE(owner.Count(WM_SKIN_CELL_EDITED), 1);
  }

  void aNewEditingEndsTheOpenOneAndOutlivesItsClosing() {
    Owner owner;
    owner.Click(0, 1);
    CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
    chooser->setCurrentIndex(2);
    chooser->hidePopup(); // closes once the events are processed
    QVERIFY(owner.list->OpenChooser(2, 1));
    QCoreApplication::processEvents();
    QVERIFY(owner.ChooserShown());
    QCOMPARE(chooser->Item(), 2);
    QCOMPARE(owner.list->GetItemText(0, 1), S("Y:"));
    QTRY_COMPARE(owner.Count(WM_SKIN_CELL_EDITED), 1);
    QCOMPARE(owner.Last(WM_SKIN_CELL_EDITED)->wParam, WPARAM(0));
  }

  void aRowDeletedWhileEditedIsNotReported() {
    Owner owner;
    owner.Click(2, 1);
    QVERIFY(owner.ChooserShown());
    owner.list->removeRow(2);
    CGdipListCtrl::Chooser()->Close(false);
    QCoreApplication::processEvents();
    QCOMPARE(owner.Count(WM_SKIN_CELL_EDITED), 0);
    QCOMPARE(owner.list->GetItemCount(), 2);
  }

  void losingTheFocusCloses() {
    Owner owner;
    owner.choices.clear(); // nothing to offer: no list opens
    owner.Click(1, 1);
    CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
    QVERIFY(chooser->IsEditing());
    QVERIFY(!chooser->view()->isVisible());
    owner.elsewhere->setFocus();
    QTRY_VERIFY(!owner.ChooserShown());
    QTRY_COMPARE(owner.Count(WM_SKIN_CELL_EDITED), 1);
    // Nothing was chosen: the cell keeps its text instead of being emptied.
    QCOMPARE(owner.list->GetItemText(1, 1), S("Z:"));
  }

  void enterWithoutAChoiceKeepsTheText() {
    Owner owner;
    owner.list->SetItemText(0, 1, S("W:")); // not among the entries
    owner.Click(0, 1);
    CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
    QCOMPARE(chooser->currentIndex(), -1);
    QTest::keyClick(chooser, Qt::Key_Enter);
    QVERIFY(!owner.ChooserShown());
    QCOMPARE(owner.list->GetItemText(0, 1), S("W:"));
    QTRY_COMPARE(owner.Count(WM_SKIN_CELL_EDITED), 1);
  }

  void theHeaderIgnoresClicks() {
    Owner owner;
    CGdipHeaderCtrl *header = owner.list->Header();
    QCOMPARE(header->height(), CGdipHeaderCtrl::kHeight);
    owner.list->SetSelectedRow(1);
    // A drag on the border between the columns, and clicks on the titles.
    const QPoint border(305, 10);
    QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(header->viewport(), border + QPoint(60, 0));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, border + QPoint(60, 0));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(340, 10));
    QCOMPARE(owner.list->columnWidth(0), 305);
    QCOMPARE(owner.list->columnWidth(1), 130);
    QCOMPARE(owner.list->GetSelectedRow(), 1);
    QCOMPARE(owner.list->GetItemText(0, 0), S("public")); // not sorted
  }

  void scrollingIsReported() {
    Owner owner;
    for (int i = 3; i < 30; ++i) {
      owner.list->InsertItem(i, QString::number(i));
    }
    QTRY_VERIFY(owner.list->verticalScrollBar()->maximum() > 0); // laid out
    QCOMPARE(owner.list->GetCountPerPage(), 5);
    QCOMPARE(owner.list->GetTopIndex(), 0);
    owner.list->HideVerticalScrollBar();
    QVERIFY(!owner.list->verticalScrollBar()->isVisible());
    // The wheel still scrolls.
    QWheelEvent wheel(QPointF(50, 50), owner.list->viewport()->mapToGlobal(QPointF(50, 50)),
                      QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(owner.list->viewport(), &wheel);
    QVERIFY(owner.list->GetTopIndex() > 0);
    QTRY_COMPARE(owner.Count(WM_SKIN_LIST_SCROLLED), 1);
    // A key press.
    owner.list->setFocus();
    QTest::keyClick(owner.list, Qt::Key_End, Qt::ControlModifier);
    QTRY_COMPARE(owner.Count(WM_SKIN_LIST_SCROLLED), 2);
    QCOMPARE(owner.list->GetTopIndex(), 30 - 5);
    // The scroll bar's own steps.
    owner.list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QTRY_COMPARE(owner.Count(WM_SKIN_LIST_SCROLLED), 3);
    QCOMPARE(owner.list->GetTopIndex(), 30 - 6);
    owner.list->ScrollRows(-4);
    QCOMPARE(owner.list->GetTopIndex(), 30 - 10);
  }

  void painting() {
    Owner owner;
    owner.list->SetColumnStyle(0, 18, QColor(0xAA, 0xAA, 0xAA));
    owner.list->SetColumnStyle(0, 18, QColor(0xC8, 0xC8, 0xC8)); // replaces the first
    owner.list->SetSelectedRow(1);
    owner.elsewhere->setFocus();
    const QImage image = test::RenderChild(owner.stage, owner.list);
    const int header = CGdipHeaderCtrl::kHeight;
    auto rowArea = [&](int row, int left, int right) {
      return QRect(left, header + 30 * row + 2, right - left, 26);
    };
    // The selected row is a dark bar, to the right edge; the others show
    // what lies under the list (black here).
    QCOMPARE(image.pixel(300, header + 30 + 3) & 0xFFFFFF, 0x505050u);
    QCOMPARE(image.pixel(455, header + 30 + 3) & 0xFFFFFF, 0x505050u);
    QCOMPARE(image.pixel(300, header + 3) & 0xFFFFFF, 0x000000u);
    // A rule under every row, and ruled empty rows below the last one.
    for (int row = 0; row < 5; ++row) {
      QCOMPARE(image.pixel(200, header + 30 * row + 29) & 0xFFFFFF, 0x4B4B4Bu);
    }
    QCOMPARE(image.pixel(200, header + 30 * 4 + 15) & 0xFFFFFF, 0x000000u);
    // Texts: the column style's colour, "select" in grey, others white.
    QVERIFY(test::Near(Brightest(image, rowArea(0, 0, 300)), 0xC8, 4));
    QVERIFY(test::Near(Brightest(image, rowArea(0, 306, 430)), 0x96, 4));
    QVERIFY(test::Near(Brightest(image, rowArea(1, 306, 430)), 0xFF, 4));
    // The header: white titles and a white rule near its bottom.
    QVERIFY(test::Near(Brightest(image, QRect(0, 2, 300, 16)), 0xFF, 4));
    QCOMPARE(image.pixel(440, header - 3) & 0xFFFFFF, 0xFFFFFFu);
  }

  void selectIsGreyInTheLanguageInUse() {
    QVERIFY(SelectLanguage(2)); // German: "auswählen"
    Owner owner;
    owner.list->SetItemText(0, 1, S("select"));
    owner.list->SetItemText(2, 1, QStringLiteral("ausw\u00e4hlen"));
    const QImage image = test::RenderChild(owner.stage, owner.list);
    ClearCurrentLanguage();
    const int header = CGdipHeaderCtrl::kHeight;
    QVERIFY(test::Near(Brightest(image, QRect(306, header + 2, 120, 26)), 0xFF, 4));
    QVERIFY(test::Near(Brightest(image, QRect(306, header + 62, 120, 26)), 0x96, 4));
  }
};

QTEST_MAIN(TestListCtrl)
#include "tst_list_ctrl.moc"
