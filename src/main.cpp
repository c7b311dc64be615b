#include <QApplication>
#include <cstdio>

#include "corvesta_version.h"
#include "nas/worker_drain.h"

int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Corvesta"));
  QApplication::setApplicationVersion(QString::fromLatin1(corvesta::kVersion));
  std::fprintf(stderr, "Corvesta %s: the main window is not built yet.\n", corvesta::kVersion);
  // Requests still on their workers must not meet the static destructors.
  return corvesta::FinishProcess(0);
}
