#include <QtTest>

#include "ui/qt_text.h"

using namespace corvesta;

class TestQtText : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void roundTripKeepsEveryUnit_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("ascii") << QStringLiteral("Connect");
    QTest::newRow("cyrillic") << QStringLiteral("Подключить");
    QTest::newRow("astral") << QString::fromUtf8("disk \xF0\x9F\x92\xBE");
    QTest::newRow("embedded zero") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
  }
  void roundTripKeepsEveryUnit() {
    QFETCH(QString, text);
    std::u16string core = FromQString(text);
    QCOMPARE(core.size(), static_cast<std::size_t>(text.size()));
    QCOMPARE(ToQString(core), text);
  }
};

QTEST_GUILESS_MAIN(TestQtText)
#include "tst_qt_text.moc"
