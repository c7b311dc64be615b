#pragma once
// The network drives of the desktop session: each letter is a share mounted
// by GVfs through GIO as the desktop user (no root), found again in every
// GIO file manager, with the records of DriveBook (~/Drives/<letter>, the
// bookmark, the remembered tables).
//
// This header carries no GIO type, so Qt sources may include it.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drive_book.h"
#include "platform/network_drives.h"

namespace corvesta {

// The user name and password to offer when the desktop's keyring has none
// for a remembered mapping (reconnect); nothing to offer none.
using DrivePasswordSource =
    std::function<std::optional<std::pair<std::string, std::string>>(const DriveMapping &)>;

class GioNetworkDrives : public NetworkDrives {
public:
  explicit GioNetworkDrives(DrivePlaces places);

  std::vector<DriveMapping> List() override;
  std::string LettersInUse() override;
  DriveResult Map(const DriveMapRequest &request, std::stop_token stop) override;
  DriveResult Unmap(char letter, std::stop_token stop) override;

  // Mounts a remembered mapping again when it is not mounted, with the
  // keyring's password, else the one `passwords` gives (never a prompt),
  // and restores its link. None when it is connected afterwards.
  DriveResult Reconnect(const DriveMapping &mapping, const DrivePasswordSource &passwords,
                        std::stop_token stop);

  DriveBook &Book() { return m_book; }

private:
  DriveBook m_book;
};

// Installs the session's drives as the process's NetworkDrives; false (and
// nothing installed) without a home folder.
bool InstallGioNetworkDrives();

} // namespace corvesta
