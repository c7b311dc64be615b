#include "cli/command_table.h"

#include <algorithm>

namespace corvesta::cli {

namespace {

const OptionSpec kHelp{"help", "", "show this help"};
const OptionSpec kYes{"yes", "", "answer yes to the questions (gateway, rebuild, new address)"};
const OptionSpec kJson{"json", "", "print JSON instead of lines"};
const OptionSpec kUser{"user", "U", "log in as U (default: the remembered user, else admin)"};
const OptionSpec kPasswordStdin{"password-stdin", "",
                                "read the login password from the first line of standard input"};
const OptionSpec kRemember{"remember", "",
                           "remember the user name and password once the NAS accepts them"};
const OptionSpec kForget{"forget", "", "forget the remembered user name and password"};
const OptionSpec kDhcp{"dhcp", "", "let a DHCP server give the address"};
const OptionSpec kStatic{"static", "", "a fixed address, given by --ip and --mask"};
const OptionSpec kIp{"ip", "A", "the new IP address"};
const OptionSpec kMask{"mask", "M", "the new subnet mask"};
const OptionSpec kGateway{"gateway", "G", "the new gateway"};

std::vector<OptionSpec> LoginOptions(std::vector<OptionSpec> more) {
  std::vector<OptionSpec> options{kUser, kPasswordStdin, kRemember, kForget, kYes};
  options.insert(options.end(), more.begin(), more.end());
  return options;
}

std::vector<CommandSpec> BuildCommands() {
  return {
      {"discover",
       "discover [--json]",
       "list the NAS on this PC's networks",
       "One line per NAS: name, address, mask, gateway, DHCP or static, hardware\n"
       "address, and whether it lies in this PC's subnet.",
       {kJson},
       RunDiscover,
       0,
       0},
      {"connect", "connect BOX [--json]",
       "log in, show the address, volumes and access rights, log out",
       "BOX is a NAS's name, address or hardware address. A NAS outside this PC's\n"
       "subnet can be given a new address first (administrator): on a terminal the\n"
       "address is asked for; elsewhere give --yes and --dhcp or --static --ip A\n"
       "--mask M [--gateway G].",
       LoginOptions({kJson, kDhcp, kStatic, kIp, kMask, kGateway}), RunConnect},
      {"info", "info BOX [--json]", "show the NAS's set-up values", "", LoginOptions({kJson}),
       RunInfo},
      {"password", "password BOX", "change the login user's password",
       "The new password is read from standard input (on a terminal: twice, and\n"
       "they must match): 8 to 16 letters and digits. With --password-stdin the\n"
       "first line is the current password and the second the new one.",
       LoginOptions({}), RunPassword},
      {"identity", "identity BOX [--name N] [--workgroup W] [--description D]",
       "set the NAS's name, workgroup and description",
       "What is not given keeps the NAS's current value.",
       LoginOptions({{"name", "N", "device name, at most 15 bytes"},
                     {"workgroup", "W", "workgroup, at most 15 bytes"},
                     {"description", "D", "description, at most 30 bytes"}}),
       RunIdentity},
      {"timezone", "timezone [BOX] --list | BOX --set N", "list or set the time zone",
       "--list without BOX prints the 96 time zones; with BOX the NAS's own is marked.",
       LoginOptions(
           {{"list", "", "list the time zones"}, {"set", "N", "set time zone N (1 to 96)"}}),
       RunTimeZone, 0, 1},
      {"network",
       "network BOX --dhcp | --static --ip A --mask M [--gateway G] [--dns1 D] [--dns2 D]",
       "new network settings through the web service",
       "The NAS is then polled at its new address and logged in again. Gateway and\n"
       "DNS options not given keep the NAS's current values; an empty value clears.",
       LoginOptions({kDhcp,
                     kStatic,
                     kIp,
                     kMask,
                     kGateway,
                     {"dns1", "D", "first DNS server"},
                     {"dns2", "D", "second DNS server"}}),
       RunNetwork},
      {"disks", "disks BOX [--json]", "show the NAS's disks and the disk modes they allow", "",
       LoginOptions({kJson}), RunDisks},
      {"format", "format BOX standalone|jbod|raid0|raid1 [--verbose]",
       "rebuild the disks as volumes (erases them)",
       "Asks before anything is erased; without a terminal --yes is needed.",
       LoginOptions({{"verbose", "", "also print the volume list as it is sent to the NAS"}}),
       RunFormat, 2, 2},
      {"shares", "shares BOX [--json]", "list the NAS's shares", "", LoginOptions({kJson}),
       RunShares},
      {"set-ip", "set-ip BOX --dhcp | --static --ip A --mask M [--gateway G]",
       "give a NAS a new address by datagram (also outside this PC's subnet)",
       "The NAS must first accept the administrator's password.",
       LoginOptions({kDhcp, kStatic, kIp, kMask, kGateway}), RunSetIp},
      {"center", "center BOX management|download|backup|file|surveillance [--print]",
       "open one of the NAS's web centers in the browser",
       "With --print the link is printed instead (it holds the password).",
       LoginOptions({{"print", "", "print the link instead of opening it"}}), RunCenter, 2, 2},
      {"drives",
       "drives [--json]",
       "list this desktop's network drives",
       "One line per letter: the share, the user, the NAS, whether it is remembered\n"
       "and connected, and its folder. A letter's files are also under ~/Drives/<letter>.",
       {kJson},
       RunDrives,
       0,
       0},
      {"map", "map BOX SHARE [LETTER]", "connect one of the NAS's shares to a drive letter",
       "Without LETTER the first free letter from Z down is taken. The mapping is\n"
       "remembered and connected again at the next login.",
       LoginOptions({}), RunMap, 2, 3},
      {"unmap", "unmap LETTER", "disconnect a network drive and forget it", "", {}, RunUnmap, 1, 1},
      {"reconnect",
       "reconnect",
       "connect the remembered network drives again",
       "Run at login. The password comes from the desktop's keyring, else from the\n"
       "NAS's remembered login; nobody is asked. Names the drives that failed.",
       {},
       RunReconnect,
       0,
       0},
  };
}

std::string OptionLine(const OptionSpec &option) {
  std::string head = "  --" + std::string(option.name);
  if (option.TakesValue()) {
    head += " " + std::string(option.valueName);
  }
  if (head.size() < 24) {
    head.append(24 - head.size(), ' ');
  } else {
    head += "  ";
  }
  return head + std::string(option.help) + "\n";
}

} // namespace

const std::vector<CommandSpec> &Commands() {
  static const std::vector<CommandSpec> commands = [] {
    std::vector<CommandSpec> built = BuildCommands();
    for (CommandSpec &command : built) {
      command.options.push_back(kHelp);
    }
    return built;
  }();
  return commands;
}

const CommandSpec *FindCommand(std::string_view name) {
  const auto &commands = Commands();
  auto it = std::find_if(commands.begin(), commands.end(),
                         [&](const CommandSpec &command) { return command.name == name; });
  return it == commands.end() ? nullptr : &*it;
}

const std::vector<OptionSpec> &GlobalOptions() {
  static const std::vector<OptionSpec> options{kHelp, {"version", "", "show the version"}};
  return options;
}

std::string ProgramHelp() {
  std::string text = "Usage: corvesta-cli COMMAND [BOX] [OPTIONS]\n\n"
                     "Sets up and checks NAS boxes on this PC's networks.\n\nCommands:\n";
  for (const CommandSpec &command : Commands()) {
    std::string name = "  " + std::string(command.name);
    name.append(12 - std::min<std::size_t>(name.size(), 11), ' ');
    text += name + std::string(command.summary) + "\n";
  }
  text += "\nBOX is a NAS's name, address or hardware address (see discover).\n"
          "The login password comes from --password-stdin, else CORVESTA_PASSWORD,\n"
          "else the remembered one, else a prompt on a terminal; without any of\n"
          "these the command is refused.\n"
          "Exit status: 0 success, 1 refused or failed, 2 wrong usage, 3 NAS not found,\n"
          "4 done but the login could not be remembered.\n"
          "Run corvesta-cli COMMAND --help for a command's options.\n";
  return text;
}

std::string CommandHelp(const CommandSpec &command) {
  std::string text = "Usage: corvesta-cli " + std::string(command.synopsis) + "\n\n" +
                     std::string(command.summary) + ".\n";
  if (!command.details.empty()) {
    text += "\n" + std::string(command.details) + "\n";
  }
  text += "\nOptions:\n";
  for (const OptionSpec &option : command.options) {
    text += OptionLine(option);
  }
  return text;
}

} // namespace corvesta::cli
