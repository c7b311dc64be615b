#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "corvesta_identity.h"
#include "ui/application_icon.h"

using namespace corvesta;

namespace {

// An icon theme in a folder of its own with the program's icon at 48 px, or
// none.
void MakeTheme(const QString &folder, bool withProgramIcon) {
  const QString theme = folder + QStringLiteral("/testtheme");
  QDir().mkpath(theme + QStringLiteral("/48x48/apps"));
  QFile index(theme + QStringLiteral("/index.theme"));
  QVERIFY(index.open(QIODevice::WriteOnly));
  index.write("[Icon Theme]\nName=testtheme\nDirectories=48x48/apps\n\n"
              "[48x48/apps]\nSize=48\nType=Fixed\n");
  index.close();
  if (withProgramIcon) {
    QImage red(48, 48, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(theme + QStringLiteral("/48x48/apps/") + QString::fromLatin1(kApplicationId) +
                     QStringLiteral(".png")));
  }
  QIcon::setThemeSearchPaths({folder});
  QIcon::setThemeName(QStringLiteral("testtheme"));
  QIcon::setFallbackThemeName(QStringLiteral("testtheme"));
}

} // namespace

class TestApplicationIcon : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void theBuiltInIconServesAtOnceAndTheThemesFollows_data() {
    QTest::addColumn<bool>("themeHasIt");
    QTest::newRow("the theme has the icon") << true;
    QTest::newRow("the theme has none") << false;
  }

  void theBuiltInIconServesAtOnceAndTheThemesFollows() {
    QFETCH(bool, themeHasIt);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MakeTheme(folder.path(), themeHasIt);
    QApplication::setWindowIcon(QIcon());

    InstallApplicationIcon();
    // At once: the built-in copy, from 16 px up to the largest window icon.
    QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.name().isEmpty());
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    QVERIFY(!icon.availableSizes().contains(QSize(512, 512)));

    // Once the event loop has run: the theme's icon when it has one.
    QCoreApplication::processEvents();
    icon = QApplication::windowIcon();
    QCOMPARE(icon.name(), themeHasIt ? QString::fromLatin1(kApplicationId) : QString());
    if (themeHasIt) {
      const QImage drawn = icon.pixmap(QSize(48, 48)).toImage();
      QCOMPARE(drawn.pixelColor(24, 24), QColor(Qt::red));
    }
    QVERIFY(ThemedApplicationIcon().isNull() != themeHasIt);
  }
};

QTEST_MAIN(TestApplicationIcon)
#include "tst_application_icon.moc"
