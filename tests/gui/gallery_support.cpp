#include "gallery_support.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QPainter>
#include <QRegion>
#include <QTest>
#include <QWidget>
#include <cstdio>

namespace corvesta::gallery {

namespace {

// Rounds of the event loop that let a change be drawn: the offscreen
// platform draws at once, an X server answers over its socket.
constexpr int kOffscreenRounds = 5;
constexpr int kOnScreenRounds = 10;

const char *g_program = "gallery";
bool g_ok = true;
bool g_doubled = false;
QString g_folder;

void ProcessEvents(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    QCoreApplication::processEvents();
  }
}

} // namespace

int Run(int argc, char *argv[], const char *program, const std::function<bool()> &shoot) {
  g_program = program;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <folder> [scale]\n", program);
    return 2;
  }
  g_folder = QString::fromLocal8Bit(argv[1]);
  g_doubled = argc > 2 && QByteArray(argv[2]) == "2";
  if (g_doubled) {
    qputenv("QT_SCALE_FACTOR", "2");
  }
  QApplication application(argc, argv);
  if (!QDir().mkpath(g_folder)) {
    Fail(QStringLiteral("cannot make ") + g_folder);
    return 1;
  }
  if (!shoot()) {
    return 1;
  }
  return g_ok ? 0 : 1;
}

int Run(int argc, char *argv[], const char *program, std::initializer_list<void (*)()> sheets) {
  return Run(argc, argv, program, [sheets] {
    for (void (*sheet)() : sheets) {
      sheet();
    }
    return true;
  });
}

void Fail(const QString &what) {
  std::fprintf(stderr, "%s: %s\n", g_program, qPrintable(what));
  g_ok = false;
}

qreal PixelRatio() {
  return g_doubled ? 2.0 : 1.0;
}

QString PathOf(const QString &name) {
  return g_folder + QLatin1Char('/') + name + (g_doubled ? QStringLiteral("@2x") : QString()) +
         QStringLiteral(".png");
}

void Save(const QImage &image, const QString &name) {
  const QString path = PathOf(name);
  if (!image.save(path, "PNG")) {
    Fail(QStringLiteral("cannot write ") + path);
  }
}

bool IsBlank(const QImage &image) {
  if (image.isNull()) {
    return true;
  }
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); y += 3) {
    for (int x = 0; x < image.width(); x += 3) {
      if (image.pixel(x, y) != first) {
        return false;
      }
    }
  }
  return true;
}

void Settle() {
  ProcessEvents(kOffscreenRounds);
}

void SettleOnScreen() {
  ProcessEvents(kOnScreenRounds);
}

void Show(QWidget &window) {
  window.show();
  window.activateWindow();
  Settle();
}

QImage Shoot(QWidget &window) {
  Show(window);
  return window.grab().toImage();
}

QImage ShootOnScreen(QWidget &window) {
  window.show();
  window.raise();
  window.activateWindow();
  if (!QTest::qWaitForWindowExposed(&window)) {
    Fail(QStringLiteral("a window was not shown: ") + window.windowTitle());
  }
  SettleOnScreen();
  QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (!window.mask().isEmpty()) {
    const qreal ratio = image.devicePixelRatio();
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    for (const QRect &r : QRegion(window.rect()).subtracted(window.mask())) {
      painter.fillRect(QRectF(r.x(), r.y(), r.width(), r.height()), Qt::transparent);
    }
    painter.end();
    image.setDevicePixelRatio(ratio);
  }
  return image;
}

} // namespace corvesta::gallery
