#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QtTest>
#include <vector>

#include "skin_test_support.h"
#include "ui/platform/qt_message_target.h"
#include "ui/skin/control_id.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_slider.h"
#include "worker/private_messages.h"

using namespace corvesta;

namespace {

// The folder list on a black stage whose handle records what is posted.
struct Owner {
  QWidget *stage = test::MakeBlackStage({560, 240});
  std::vector<Message> messages;
  CFolderListCtrl *folders;

  explicit Owner(int count) {
    new QtMessageTarget(
        stage,
        [this](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
          messages.push_back({0, message, wParam, lParam});
          return 0;
        },
        stage);
    folders = new CFolderListCtrl(stage);
    folders->setGeometry(10, 10, 530, 200);
    for (int i = 0; i < count; ++i) {
      folders->AddFolder(QStringLiteral("share%1").arg(i));
    }
    stage->show();
  }
  ~Owner() { delete stage; }

  // A point of the window inside entry `index` (the grid not scrolled).
  QPoint Inside(int index) const { return folders->CellRect(index).center(); }
  void Click(QPoint at) { QTest::mouseClick(folders, Qt::LeftButton, Qt::NoModifier, at); }
  std::vector<Message> Opened() const {
    std::vector<Message> opened;
    for (const Message &m : messages) {
      if (m.message == WM_SKIN_ITEM_OPEN) {
        opened.push_back(m);
      }
    }
    return opened;
  }
};

} // namespace

class TestFolderListCtrl : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("13 characters")
        << QStringLiteral("abcdefghijklm") << QStringLiteral("abcdefghijklm");
    QTest::newRow("14 characters")
        << QStringLiteral("abcdefghijklmn") << QStringLiteral("abcdefghi....");
    QTest::newRow("short") << QStringLiteral("public") << QStringLiteral("public");
    QTest::newRow("empty") << QString(QLatin1String("")) << QString(QLatin1String(""));
    // A character outside the basic plane is never cut in half.
    QTest::newRow("cut at a surrogate pair")
        << (QStringLiteral("abcdefgh") + QString::fromUcs4(U"\U0001F4C1") + QStringLiteral("xyzw"))
        << QStringLiteral("abcdefgh....");
  }
  void names() {
    QFETCH(QString, name);
    QFETCH(QString, shown);
    Owner owner(0);
    owner.folders->AddFolder(name);
    QCOMPARE(owner.folders->FolderCount(), 1);
    QCOMPARE(owner.folders->DisplayName(0), shown);
  }

  void atMost26EntriesAndNoNullName() {
    Owner owner(26);
    owner.folders->AddFolder(QStringLiteral("the 27th"));
    owner.folders->AddFolder(QString());
    QCOMPARE(owner.folders->FolderCount(), 26);
    QCOMPARE(owner.folders->DisplayName(25), QStringLiteral("share25"));
    // Cells: four a row, 130 apart, the first row 37 down.
    QCOMPARE(owner.folders->CellRect(0), QRect(0, 37, 116, 116));
    QCOMPARE(owner.folders->CellRect(5), QRect(130, 167, 116, 116));
    QCOMPARE(owner.folders->CellRect(25), QRect(130, 6 * 130 + 37, 116, 116));
  }

  void theSliderComesWithTheFifthEntry() {
    Owner owner(4);
    CGdipSlider *slider = owner.folders->ScrollBar();
    QCOMPARE(GetDlgCtrlID(slider), CFolderListCtrl::kScrollBarId);
    QVERIFY(!slider->isVisible());
    owner.folders->AddFolder(QStringLiteral("fifth"));
    QVERIFY(slider->isVisible());
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 283 - 163);
    QCOMPARE(slider->geometry(), QRect(506, 0, 13, 200));
    // Scrolled, then another entry: back to the top with the longer range.
    QWheelEvent wheel(QPointF(5, 5), slider->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(slider, &wheel);
    QCOMPARE(owner.folders->ScrollOffset(), 1);
    for (int i = 0; i < 4; ++i) {
      owner.folders->AddFolder(QStringLiteral("more"));
    }
    QCOMPARE(slider->maximum(), 2 * 130 + 37 + 116 - 163);
    QCOMPARE(slider->value(), 0);
    QCOMPARE(owner.folders->ScrollOffset(), 0);
    owner.folders->ClearFolders();
    QVERIFY(!slider->isVisible());
    QCOMPARE(owner.folders->FolderCount(), 0);
  }

  void selectionNeedsPressAndReleaseAtOnePoint() {
    Owner owner(6);
    QCOMPARE(owner.folders->GetSelected(), -1);
    // Pressed on one entry, released on another: nothing.
    QTest::mousePress(owner.folders, Qt::LeftButton, Qt::NoModifier, owner.Inside(1));
    QTest::mouseRelease(owner.folders, Qt::LeftButton, Qt::NoModifier, owner.Inside(2));
    QCOMPARE(owner.folders->GetSelected(), -1);
    // Pressed and released in one entry but not at one point: nothing.
    QTest::mousePress(owner.folders, Qt::LeftButton, Qt::NoModifier, owner.Inside(1));
    QTest::mouseRelease(owner.folders, Qt::LeftButton, Qt::NoModifier,
                        owner.Inside(1) + QPoint(3, 0));
    QCOMPARE(owner.folders->GetSelected(), -1);
    owner.Click(owner.Inside(2));
    QCOMPARE(owner.folders->GetSelected(), 2);
    // Between the cells the selection stays.
    owner.Click(QPoint(123, 60));
    QCOMPARE(owner.folders->GetSelected(), 2);
    // A cleared list keeps the index.
    owner.folders->ClearFolders();
    QCOMPARE(owner.folders->GetSelected(), 2);
  }

  void clicksFollowTheScrolledGrid() {
    Owner owner(8);
    CGdipSlider *slider = owner.folders->ScrollBar();
    QCOMPARE(slider->maximum(), 120);
    // A click near the slider's end scrolls the grid to its position.
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(6, 199));
    QVERIFY(slider->value() > 100);
    QCOMPARE(owner.folders->ScrollOffset(), slider->value());
    // What shows at y 60 is now the second row.
    owner.Click(QPoint(58, 60));
    QCOMPARE(owner.folders->GetSelected(), 4);
  }

  void doubleClickOpens() {
    Owner owner(6);
    QTest::mouseDClick(owner.folders, Qt::LeftButton, Qt::NoModifier, owner.Inside(5));
    QCOMPARE(owner.folders->GetSelected(), 5);
    QTRY_COMPARE(owner.Opened().size(), 1u);
    QCOMPARE(owner.Opened()[0].wParam, WPARAM(5));
    QCOMPARE(owner.Opened()[0].lParam, LPARAM(0));
    // Outside every cell nothing is opened.
    QTest::mouseDClick(owner.folders, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    QCoreApplication::processEvents();
    QCOMPARE(owner.Opened().size(), 1u);
  }

  void keysSelectScrollAndOpen() {
    Owner owner(26);
    CFolderListCtrl *grid = owner.folders;
    QVERIFY(QTest::qWaitForWindowActive(owner.stage));
    grid->setFocus(Qt::TabFocusReason);
    QVERIFY(grid->hasFocus());
    QCOMPARE(grid->GetSelected(), 0); // the focus always shows an entry
    const struct {
      Qt::Key key;
      int selected;
    } steps[] = {{Qt::Key_Right, 1}, {Qt::Key_Down, 5}, {Qt::Key_Left, 4},  {Qt::Key_Left, 3},
                 {Qt::Key_Up, 3},    {Qt::Key_End, 25}, {Qt::Key_Down, 25}, {Qt::Key_Right, 25},
                 {Qt::Key_Up, 21},   {Qt::Key_Home, 0}, {Qt::Key_Left, 0}};
    for (const auto &step : steps) {
      QTest::keyClick(grid, step.key);
      QCOMPARE(grid->GetSelected(), step.selected);
      // The selected cell is in sight, below the grid's top edge.
      const QRect cell = grid->VisibleCellRect(step.selected);
      QVERIFY2(cell.top() >= CFolderListCtrl::kGridTop && cell.bottom() < grid->height(),
               qPrintable(QStringLiteral("entry %1 at %2").arg(step.selected).arg(cell.top())));
      QCOMPARE(grid->ScrollOffset(), grid->ScrollBar()->value());
    }
    QTest::keyClick(grid, Qt::Key_End);
    QVERIFY(grid->ScrollOffset() > 0);
    QTest::keyClick(grid, Qt::Key_Return);
    QTRY_COMPARE(owner.Opened().size(), 1u);
    QCOMPARE(owner.Opened()[0].wParam, WPARAM(25));
    QTest::keyClick(grid, Qt::Key_Home);
    QCOMPARE(grid->ScrollOffset(), 0);
    QTest::keyClick(grid, Qt::Key_Enter);
    QTRY_COMPARE(owner.Opened().size(), 2u);
    QCOMPARE(owner.Opened()[1].wParam, WPARAM(0));
  }

  void aScreenReaderSeesEachShareAndCanOpenIt() {
    Owner owner(3);
    owner.folders->AddFolder(QStringLiteral("a share with a long name"));
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(owner.folders);
    QCOMPARE(grid->role(), QAccessible::List);
    QCOMPARE(grid->childCount(), 4);
    const QStringList names{QStringLiteral("share0"), QStringLiteral("share1"),
                            QStringLiteral("share2"), QStringLiteral("a share with a long name")};
    for (int i = 0; i < grid->childCount(); ++i) {
      QAccessibleInterface *item = grid->child(i);
      QVERIFY(item != nullptr);
      QCOMPARE(item->role(), QAccessible::ListItem);
      QCOMPARE(item->text(QAccessible::Name), names[i]); // the whole name, never shortened
      QCOMPARE(item->parent(), grid);
      QCOMPARE(grid->indexOfChild(item), i);
      QVERIFY(item->rect().isValid());
    }
    QAccessibleInterface *third = grid->child(2);
    QVERIFY(!third->state().selected);
    QAccessibleActionInterface *actions = third->actionInterface();
    QVERIFY(actions != nullptr);
    QVERIFY(actions->actionNames().contains(QStringLiteral("open")));
    actions->doAction(QStringLiteral("open"));
    QTRY_COMPARE(owner.Opened().size(), 1u);
    QCOMPARE(owner.Opened()[0].wParam, WPARAM(2));
    QCOMPARE(owner.folders->GetSelected(), 2);
    QVERIFY(third->state().selected);
    // The point of an entry finds its item.
    const QPoint centre = owner.folders->mapToGlobal(owner.Inside(1));
    QCOMPARE(grid->childAt(centre.x(), centre.y()), grid->child(1));

    // A refill is read anew: fewer entries, other names.
    owner.folders->ClearFolders();
    owner.folders->AddFolder(QStringLiteral("public"));
    QCOMPARE(grid->childCount(), 1);
    QCOMPARE(grid->child(0)->text(QAccessible::Name), QStringLiteral("public"));
    QVERIFY(!third->isValid());
  }

  void theWheelOverTheGridScrolls() {
    Owner owner(12);
    QWheelEvent down(QPointF(50, 50), owner.folders->mapToGlobal(QPointF(50, 50)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(owner.folders, &down);
    QCOMPARE(owner.folders->ScrollOffset(), 40);
    QCOMPARE(owner.folders->ScrollBar()->value(), 40);
    for (int i = 0; i < 20; ++i) {
      QCoreApplication::sendEvent(owner.folders, &down);
    }
    QCOMPARE(owner.folders->ScrollOffset(), owner.folders->ScrollBar()->maximum());
  }

  void painting() {
    Owner owner(3);
    owner.Click(owner.Inside(1));
    const QImage image = test::RenderChild(owner.stage, owner.folders);
    auto bluish = [](QRgb p) { return qBlue(p) > qRed(p) + 30; };
    // The highlight lies under the selected cell only (left of its folder).
    const QRect selected = owner.folders->CellRect(1);
    const QRect other = owner.folders->CellRect(0);
    QVERIFY(bluish(image.pixel(selected.left() + 8, selected.top() + 58)));
    QCOMPARE(image.pixel(other.left() + 8, other.top() + 58) & 0xFFFFFF, 0u);
    // The folder in the middle of every cell, the name in white below it.
    QVERIFY(bluish(image.pixel(other.center())));
    int brightest = 0;
    for (int y = other.bottom() - 30; y < other.bottom() - 8; ++y) {
      for (int x = other.left(); x <= other.right(); ++x) {
        brightest = std::max(brightest, qGray(image.pixel(x, y)));
      }
    }
    QVERIFY(brightest > 240);
  }

  void paintingFollowsTheScroll() {
    // Three rows; scrolled to the end, the last row is in sight and drawn.
    Owner owner(12);
    QWheelEvent down(QPointF(50, 50), owner.folders->mapToGlobal(QPointF(50, 50)), QPoint(),
                     QPoint(0, -120 * 20), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(owner.folders, &down);
    const int offset = owner.folders->ScrollOffset();
    QVERIFY(offset > 0);
    const QImage image = test::RenderChild(owner.stage, owner.folders);
    auto bluish = [](QRgb p) { return qBlue(p) > qRed(p) + 30; };
    for (int index : {8, 11}) {
      const QRect shown = owner.folders->CellRect(index).translated(0, -offset);
      QVERIFY2(bluish(image.pixel(shown.center())), qPrintable(QString::number(index)));
    }
  }
};

QTEST_MAIN(TestFolderListCtrl)
#include "tst_folder_list_ctrl.moc"
