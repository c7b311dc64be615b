#include <QPixmapCache>
#include <QtTest>
#include <memory>
#include <set>

#include "skin_test_support.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_dialog.h"
#include "ui/skin/gdip_process_ctrl.h"
#include "ui/skin/gdip_slider.h"
#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/skin_image_table.h"
#include "ui/skin/skin_paint.h"
#include "ui/skin/trans_static.h"

using namespace corvesta;
using skin::BarPiece;
using skin::PieceKind;

Q_DECLARE_METATYPE(std::vector<corvesta::skin::BarPiece>)

namespace {

std::vector<BarPiece> Expected(int middleFrom, int middleCount, int lastMiddle, int endLength,
                               int lastMiddleEnd) {
  std::vector<BarPiece> pieces{{PieceKind::Start, 0, 10}};
  for (int i = 0; i < middleCount; ++i) {
    pieces.push_back({PieceKind::Middle, middleFrom + 10 * i, 10});
  }
  if (lastMiddle > 0) {
    pieces.push_back({PieceKind::Middle, middleFrom + 10 * middleCount, lastMiddle});
  }
  if (endLength > 0) {
    pieces.push_back({PieceKind::End, lastMiddleEnd, endLength});
  }
  return pieces;
}

bool IsBlueFill(QRgb pixel) {
  return qBlue(pixel) > 150 && qBlue(pixel) > qRed(pixel) + 80;
}

QImage Grab(QWidget &widget) {
  QImage image(widget.size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  // Only what the widget paints itself, without a window's background.
  widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

} // namespace

class TestSkinPainting : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void barPieces_data() {
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("lastMiddleEnd");
    QTest::addColumn<std::vector<BarPiece>>("pieces");
    QTest::newRow("empty") << 0 << 347 << std::vector<BarPiece>{};
    QTest::newRow("below one piece: squeezed start")
        << 7 << 347 << std::vector<BarPiece>{{PieceKind::Start, 0, 7}};
    QTest::newRow("exactly the start") << 10 << 347 << Expected(10, 0, 0, 0, 347);
    QTest::newRow("half of 272") << 136 << 347 << Expected(10, 12, 6, 0, 347);
    QTest::newRow("last middle partial") << 346 << 347 << Expected(10, 33, 6, 0, 347);
    QTest::newRow("end piece begins") << 350 << 347 << Expected(10, 33, 7, 3, 347);
    QTest::newRow("full 357") << 357 << 347 << Expected(10, 33, 7, 10, 347);
    QTest::newRow("slider full 200") << 200 << 190 << Expected(10, 18, 0, 10, 190);
    QTest::newRow("slider 189") << 189 << 190 << Expected(10, 17, 9, 0, 190);
  }
  void barPieces() {
    QFETCH(int, filled);
    QFETCH(int, lastMiddleEnd);
    QFETCH(std::vector<BarPiece>, pieces);
    QVERIFY(skin::BarPieces(filled, lastMiddleEnd) == pieces);
  }

  void filledLength_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("filled");
    QTest::newRow("half") << 50 << 0 << 100 << 272 << 136;
    QTest::newRow("rounded") << 1 << 0 << 3 << 100 << 33;
    QTest::newRow("rounded up") << 2 << 0 << 3 << 100 << 67;
    QTest::newRow("offset range") << 15 << 10 << 20 << 200 << 100;
    QTest::newRow("below the range") << -5 << 0 << 100 << 272 << 0;
    QTest::newRow("beyond the range") << 250 << 0 << 100 << 272 << 272;
    QTest::newRow("empty range is full") << 3 << 3 << 3 << 200 << 200;
  }
  void filledLength() {
    QFETCH(int, position);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, length);
    QFETCH(int, filled);
    QCOMPARE(skin::FilledLength(position, minimum, maximum, length), filled);
  }

  void progressBarAtHalfFillsHalfOf272Pixels() {
    CGdipProcessCtrl bar;
    QVERIFY(bar.SetBarImages(skin::kGaugeBackground, skin::kGaugeLeftEnd, skin::kGaugeMiddle,
                             skin::kGaugeRightEnd));
    bar.resize(272, 14);
    bar.SetRange(0, 100);
    bar.SetPos(50);
    QCOMPARE(bar.FilledLength(), 136);
    const QImage image = Grab(bar);
    const int y = 7;
    QVERIFY(IsBlueFill(image.pixel(5, y)));
    QVERIFY(IsBlueFill(image.pixel(125, y)));
    QVERIFY(IsBlueFill(image.pixel(134, y)));
    QVERIFY(!IsBlueFill(image.pixel(138, y)));
    QVERIFY(!IsBlueFill(image.pixel(260, y)));
  }

  void progressBarWithoutItsImagesDrawsNothing() {
    CGdipProcessCtrl bar;
    QVERIFY(
        !bar.SetBarImages(skin::kGaugeBackground, 210, skin::kGaugeMiddle, skin::kGaugeRightEnd));
    bar.resize(100, 14);
    bar.SetPos(100);
    const QImage image = Grab(bar);
    QCOMPARE(qAlpha(image.pixel(50, 7)), 0);
  }

  void sliderWithAnEmptyRangeDrawsFull() {
    CGdipSlider slider;
    QVERIFY(slider.ImagesLoaded());
    slider.resize(13, 200);
    slider.setRange(0, 10);
    slider.setValue(0);
    QVERIFY(!IsBlueFill(Grab(slider).pixel(6, 195)));
    slider.setRange(4, 4);
    QCOMPARE(slider.FilledLength(), 200);
    const QImage image = Grab(slider);
    for (int y : {2, 100, 185, 195}) {
      QVERIFY2(IsBlueFill(image.pixel(6, y)), qPrintable(QString::number(y)));
    }
  }

  void sliderFollowsThePressAndTheWheel() {
    CGdipSlider slider;
    slider.resize(13, 200);
    slider.setRange(0, 120);
    std::vector<std::pair<ScrollCode, int>> reports;
    connect(&slider, &CGdipSlider::Scrolled, &slider,
            [&](ScrollCode code, int position) { reports.emplace_back(code, position); });
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(6, 100));
    QCOMPARE(slider.value(), 60);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(6, 100));
    QCOMPARE(reports.size(), std::size_t{2});
    QCOMPARE(reports[0], std::make_pair(ScrollCode::ThumbTrack, 60));
    QCOMPARE(reports[1], std::make_pair(ScrollCode::ThumbPosition, 60));

    reports.clear();
    QWheelEvent towardsUser(QPointF(6, 6), QPointF(6, 6), QPoint(), QPoint(0, -120), Qt::NoButton,
                            Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&slider, &towardsUser);
    QCOMPARE(slider.value(), 61);
    QWheelEvent away(QPointF(6, 6), QPointF(6, 6), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&slider, &away);
    QCOMPARE(slider.value(), 60);
    QCOMPARE(reports.size(), std::size_t{2});
    QCOMPARE(reports[0], std::make_pair(ScrollCode::LineDown, 61));
    QCOMPARE(reports[1], std::make_pair(ScrollCode::LineUp, 60));

    // At the end of the range a notch moves nothing and reports nothing.
    slider.setValue(120);
    reports.clear();
    QCoreApplication::sendEvent(&slider, &towardsUser);
    QCOMPARE(slider.value(), 120);
    QVERIFY(reports.empty());
  }

  void sliderKeysMoveAndReport() {
    CGdipSlider slider;
    slider.resize(13, 200);
    slider.setRange(0, 120);
    slider.setPageStep(40);
    std::vector<std::pair<ScrollCode, int>> reports;
    connect(&slider, &CGdipSlider::Scrolled, &slider,
            [&](ScrollCode code, int position) { reports.emplace_back(code, position); });
    QTest::keyClick(&slider, Qt::Key_Down);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    QTest::keyClick(&slider, Qt::Key_Up);
    QTest::keyClick(&slider, Qt::Key_End);
    QTest::keyClick(&slider, Qt::Key_End); // already there: nothing
    QTest::keyClick(&slider, Qt::Key_Home);
    const std::vector<std::pair<ScrollCode, int>> expected{{ScrollCode::LineDown, 1},
                                                           {ScrollCode::PageDown, 41},
                                                           {ScrollCode::LineUp, 40},
                                                           {ScrollCode::Bottom, 120},
                                                           {ScrollCode::Top, 0}};
    QVERIFY(reports == expected);
    QCOMPARE(slider.value(), 0);
  }

  void disabledRenderingHalvesAlphaAndKeepsColour_data() {
    QTest::addColumn<QColor>("colour");
    QTest::newRow("opaque red") << QColor(255, 0, 0, 255);
    QTest::newRow("half green") << QColor(0, 255, 0, 128);
    QTest::newRow("opaque grey") << QColor(100, 100, 100, 255);
  }
  void disabledRenderingHalvesAlphaAndKeepsColour() {
    QFETCH(QColor, colour);
    QPixmap source(8, 8);
    source.fill(colour);
    const QImage result = skin::MakeDisabledImage(source, QSize(8, 8)).toImage();
    const QColor pixel = result.pixelColor(4, 4);
    QVERIFY(test::Near(pixel.alpha(), colour.alpha() / 2, 1));
    // Colour is compared unpremultiplied, where rounding at low alpha costs a
    // few steps.
    QVERIFY(test::Near(pixel.red(), colour.red(), 3));
    QVERIFY(test::Near(pixel.green(), colour.green(), 3));
    QVERIFY(test::Near(pixel.blue(), colour.blue(), 3));
  }

  void disabledRenderingIsKeptUntilInvalidated() {
    QPixmap source(8, 8);
    source.fill(Qt::red);
    skin::CDisabledImageCache cache;
    const qint64 first = cache.Get(source, QSize(8, 8)).cacheKey();
    QCOMPARE(cache.Get(source, QSize(8, 8)).cacheKey(), first);
    cache.Invalidate();
    QVERIFY(cache.Get(source, QSize(8, 8)).cacheKey() != first);
  }

  void disabledComboShowsItsFaceAtHalfOpacity() {
    std::unique_ptr<QWidget> stage(test::MakeBlackStage({300, 50}));
    auto *combo = new CGdipComboBox(stage.get());
    QVERIFY(combo->SetFaceImage(skin::kComboFace));
    combo->setGeometry(10, 10, 260, 30);
    const QImage enabled = test::RenderChild(stage.get(), combo);
    combo->setEnabled(false);
    const QImage disabled = test::RenderChild(stage.get(), combo);
    for (const QPoint point : {QPoint(120, 3), QPoint(240, 26)}) {
      const QRgb on = enabled.pixel(point);
      const QRgb off = disabled.pixel(point);
      QVERIFY(qRed(on) + qGreen(on) + qBlue(on) > 100);
      QVERIFY(test::Near(qRed(off), qRed(on) / 2, 2));
      QVERIFY(test::Near(qBlue(off), qBlue(on) / 2, 2));
    }
  }

  void dialogBackgroundIsDrawnAtItsOwnSizeOrSqueezed() {
    CGdiPlusBitmapResource reference;
    QVERIFY(reference.LoadFromResource(skin::kLoginBackground, 1.0));
    const QImage image = reference.Pixmap().toImage();
    QCOMPARE(image.size(), QSize(460, 360));

    CGdipDialog larger;
    larger.resize(520, 400);
    QVERIFY(larger.SetBackgroundImage(skin::kLoginBackground));
    QImage drawn = Grab(larger);
    for (const QPoint point : {QPoint(100, 100), QPoint(230, 20), QPoint(450, 350)}) {
      QCOMPARE(drawn.pixel(point), image.pixel(point));
    }
    QCOMPARE(qAlpha(drawn.pixel(490, 200)), 0); // beyond the image: nothing
    QCOMPARE(qAlpha(drawn.pixel(200, 380)), 0);

    CGdipDialog smaller;
    smaller.resize(230, 180);
    QVERIFY(smaller.SetBackgroundImage(skin::kLoginBackground));
    drawn = Grab(smaller);
    const QImage squeezed = image.scaled(230, 180, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const QPoint point : {QPoint(115, 90), QPoint(115, 12), QPoint(115, 170)}) {
      const QColor a = drawn.pixelColor(point);
      const QColor b = squeezed.pixelColor(point);
      QVERIFY2(test::Near(a.red(), b.red(), 12) && test::Near(a.blue(), b.blue(), 12),
               qPrintable(QStringLiteral("%1,%2").arg(point.x()).arg(point.y())));
    }
  }

  void dialogWithoutItsImagePaintsNothing() {
    CGdipDialog dialog;
    dialog.resize(100, 80);
    QVERIFY(!dialog.SetBackgroundImage(213));
    QVERIFY(!dialog.HasBackground());
    QCOMPARE(qAlpha(Grab(dialog).pixel(50, 40)), 0);
  }

  void controlsAreFoundByTheirIds() {
    CGdipDialog dialog;
    auto *panel = new QWidget(&dialog);
    auto *label = new CTransStatic(QStringLiteral("User Name"), panel);
    auto *bar = new CGdipProcessCtrl(&dialog);
    SetDlgCtrlID(label, 1024);
    SetDlgCtrlID(bar, 1122);
    QCOMPARE(dialog.GetDlgItem(1024), label);
    QCOMPARE(dialog.GetDlgItemAs<CGdipProcessCtrl>(1122), bar);
    QCOMPARE(dialog.GetDlgItemAs<CGdipProcessCtrl>(1024), nullptr);
    QCOMPARE(dialog.GetDlgItem(9999), nullptr);
    QCOMPARE(GetDlgCtrlID(bar), 1122);
  }

  void anIdGoesWithItsControl() {
    CGdipDialog dialog;
    // A control made where a destroyed one lay has no id of its own.
    for (int round = 0; round < 20; ++round) {
      auto *control = new QWidget(&dialog);
      QCOMPARE(GetDlgCtrlID(control), 0);
      SetDlgCtrlID(control, 1000 + round);
      QCOMPARE(dialog.GetDlgItem(1000 + round), control);
      delete control;
      QCOMPARE(dialog.GetDlgItem(1000 + round), nullptr);
    }
    auto *control = new QWidget(&dialog);
    SetDlgCtrlID(control, 7);
    SetDlgCtrlID(control, 8);
    QCOMPARE(GetDlgCtrlID(control), 8);
    QCOMPARE(dialog.GetDlgItem(7), nullptr);
    SetDlgCtrlID(control, 0);
    QCOMPARE(GetDlgCtrlID(control), 0);
    QCOMPARE(dialog.GetDlgItem(8), nullptr);
  }

  void dialogClosesOnAPostedClose() {
    CGdipDialog dialog;
    dialog.show();
    QVERIFY(PostMessage(dialog.Handle(), WM_CLOSE, 0, 0));
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void draggingAnywhereMovesTheDialog() {
    CGdipDialog dialog;
    dialog.resize(300, 200);
    auto *label = new CTransStatic(QStringLiteral("Wizard"), &dialog);
    label->setGeometry(10, 10, 200, 30);
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();
    // Pressed on a label: labels let the press through to the dialog.
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(20, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 50),
                     QPointF(dialog.mapToGlobal(QPoint(60, 50))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &move);
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(60, 50));
    QTRY_COMPARE(dialog.pos(), start + QPoint(30, 30));
  }

  void roundedOutlineCutsTheCorners() {
    const QPolygon outline = CGdipDialog::RoundedOutline(QSize(460, 360), 10);
    const QRegion region(outline, Qt::WindingFill);
    QVERIFY(region.contains(QPoint(230, 180)));
    QVERIFY(region.contains(QPoint(230, 1)));
    QVERIFY(region.contains(QPoint(1, 180)));
    QVERIFY(!region.contains(QPoint(0, 0)));
    QVERIFY(!region.contains(QPoint(459, 359)));
  }

  void everyImageOfTheTableIsEmbeddedAtBothScales() {
    // The program's icon, then the skin's images.
    std::set<int> unused{210, 213, 229, 230, 232, 233, 237, 238, 239};
    for (int id = 129; id < 142; ++id) {
      unused.insert(id);
    }
    std::size_t listed = 0;
    for (int id = 128; id <= 243; ++id) {
      const skin::SkinImageInfo *info = skin::FindSkinImage(id);
      QCOMPARE(info == nullptr, unused.count(id) == 1);
      CGdiPlusBitmapResource image;
      if (info == nullptr) {
        QVERIFY(!image.LoadFromResource(id, 1.0));
        QVERIFY(image.IsNull());
        continue;
      }
      ++listed;
      // The decoded image has the size the table gives before decoding.
      QVERIFY2(image.LoadFromResource(id, 1.0), qPrintable(QString::number(id)));
      QCOMPARE(image.Size(), QSize(info->width, info->height));
      QCOMPARE(image.Pixmap().size(), QSize(info->width, info->height));
      QVERIFY2(image.LoadFromResource(id, 2.0), qPrintable(QString::number(id)));
      QCOMPARE(image.Size(), QSize(info->width, info->height));
      QCOMPARE(image.Pixmap().size(), QSize(2 * info->width, 2 * info->height));
      QCOMPARE(image.Pixmap().devicePixelRatio(), 2.0);
    }
    QCOMPARE(listed, skin::SkinImages().size());
  }

  void decodingAheadGivesTheImageDecodedNow() {
    for (const qreal ratio : {1.0, 2.0}) {
      QPixmapCache::clear();
      CGdiPlusBitmapResource now;
      QVERIFY(now.LoadFromResource(skin::kWizardBackground, ratio));
      const QImage expected = now.Pixmap().toImage();
      QVERIFY(!expected.isNull());

      QPixmapCache::clear(); // so the image is decoded again, on its own thread
      CGdiPlusBitmapResource ahead;
      QVERIFY(ahead.LoadFromResource(skin::kWizardBackground, ratio));
      ahead.DecodeAhead();
      const CGdiPlusBitmapResource copy = ahead; // shares the decoding under way
      QCOMPARE(ahead.Pixmap().toImage(), expected);
      QCOMPARE(ahead.Pixmap().devicePixelRatio(), ratio);
      QCOMPARE(copy.Pixmap().toImage(), expected);

      // Released or loaded again while decoding: nothing is left behind.
      QPixmapCache::clear();
      CGdiPlusBitmapResource dropped;
      QVERIFY(dropped.LoadFromResource(skin::kWizardBackground, ratio));
      dropped.DecodeAhead();
      dropped.Release();
      QVERIFY(dropped.IsNull());
      QVERIFY(dropped.Pixmap().isNull());
      QVERIFY(dropped.LoadFromResource(skin::kFolder, ratio));
      dropped.DecodeAhead();
      QVERIFY(dropped.LoadFromResource(skin::kWizardBackground, ratio));
      QCOMPARE(dropped.Pixmap().toImage(), expected);
    }
  }

  void aFailedLoadLeavesNothingBehind() {
    CGdiPlusBitmapResource image;
    QVERIFY(image.LoadFromResource(skin::kFolder, 1.0));
    QVERIFY(!image.LoadFromResource(229, 1.0));
    QVERIFY(image.IsNull());
    QCOMPARE(image.Id(), 0);
    QVERIFY(image.Size().isEmpty());
  }

  void transparentLabelDrawsOnlyItsText() {
    std::unique_ptr<QWidget> stage(test::MakeBlackStage({200, 40}));
    auto *label = new CTransStatic(QStringLiteral("Gateway IP"), stage.get());
    label->setGeometry(0, 0, 200, 40);
    label->SetTextColor(QColor(0, 160, 255));
    const QImage image = test::RenderChild(stage.get(), label);
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        QCOMPARE(qRed(pixel), 0); // nothing but the blue text over black
        lit += qBlue(pixel) > 0 ? 1 : 0;
      }
    }
    QVERIFY(lit > 20);
    QVERIFY(image.pixel(199, 39) == qRgb(0, 0, 0));
  }
};

QTEST_MAIN(TestSkinPainting)
#include "tst_skin_painting.moc"
