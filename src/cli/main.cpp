#include "cli/cli_main.h"
#include "platform/secret_environment.h"

#ifdef CORVESTA_HAVE_GIO
#include "platform/gio/gio_network_drives.h"
#endif

int main(int argc, char **argv) {
  // Before any thread: the password stays with this process, never its children.
  corvesta::TakeSecretVariables();
#ifdef CORVESTA_HAVE_GIO
  corvesta::InstallGioNetworkDrives();
#endif
  return corvesta::cli::Main(argc, argv);
}
