#include "gallery_sim.h"

#include <QString>

#include "gallery_support.h"
#include "nas/protocol_timing.h"
#include "support/temp_folder.h"
#include "ui/platform/qt_services.h"

namespace corvesta::gallery {

namespace {

// The windows wait for the simulated boxes a fifth of the real times.
constexpr double kTimeScale = 0.2;

} // namespace

int RunAgainstSim(int argc, char *argv[], const char *program, const nlohmann::json &state,
                  const std::function<void(test::NasSimProcess &)> &shoot) {
  return Run(argc, argv, program, [&] {
    InstallQtPlatformServices();
    test::ScopedAppDataFolder settingsFolder;
    timing::ScopedTimeScale faster(kTimeScale);
    test::NasSimProcess sim;
    if (!sim.Start(state)) {
      Fail(QString::fromStdString("nas-sim: " + sim.Error()));
      return false;
    }
    shoot(sim);
    return true;
  });
}

} // namespace corvesta::gallery
