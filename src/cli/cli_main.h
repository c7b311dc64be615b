#pragma once
// corvesta-cli: the command line read, the services of a terminal program
// installed, one command run, the exit status returned.

namespace corvesta::cli {

int Main(int argc, char **argv);

} // namespace corvesta::cli
