#pragma once
// What the galleries share: the command line `<gallery> <folder> [scale]`,
// the shots of a window, and the PNG files named by shot and pixel ratio.
// A gallery's failures are printed as they come and end in its exit code.

#include <QImage>
#include <QString>
#include <functional>
#include <initializer_list>

class QWidget;

namespace corvesta::gallery {

// A gallery's main. Reads the command line: with scale 2 the windows are
// drawn at device pixel ratio 2 and the files are named <shot>@2x.png. Then
// makes the application and the folder and runs `shoot()`, which is false
// when the gallery could not start. The exit code: 0 when nothing failed,
// 2 when no folder was given.
int Run(int argc, char *argv[], const char *program, const std::function<bool()> &shoot);

// Run with the sheets drawn one after the other.
int Run(int argc, char *argv[], const char *program, std::initializer_list<void (*)()> sheets);

// Prints `what` after the gallery's name; the run fails.
void Fail(const QString &what);

// The pixel ratio the windows are drawn at: 1 or 2.
qreal PixelRatio();

// The file a shot named `name` is written to.
QString PathOf(const QString &name);

// Writes `image` as PNG under `name`; a file that cannot be written fails.
void Save(const QImage &image, const QString &name);

// A shot that is one colour all over shows nothing.
bool IsBlank(const QImage &image);

// Lets the offscreen platform draw what was changed.
void Settle();

// Lets an X server's answers come in and what was changed be drawn.
void SettleOnScreen();

// Shows `window` in front, lets it be drawn.
void Show(QWidget &window);

// Renders a window as the offscreen screen would show it, at its pixel ratio.
QImage Shoot(QWidget &window);

// On a real screen (an X server): the window raised and drawn once the
// server shows it, cut to its outline as the screen shows it.
QImage ShootOnScreen(QWidget &window);

} // namespace corvesta::gallery
