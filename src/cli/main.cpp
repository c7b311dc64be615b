#include "cli/cli_main.h"

#ifdef CORVESTA_HAVE_GIO
#include "platform/gio/gio_network_drives.h"
#endif

int main(int argc, char **argv) {
#ifdef CORVESTA_HAVE_GIO
  corvesta::InstallGioNetworkDrives();
#endif
  return corvesta::cli::Main(argc, argv);
}
