#pragma once
// The network drives of the desktop session: each letter is a share mounted
// by GVfs through GIO as the desktop user (no root), found again in every
// GIO file manager, with the records of DriveBook (~/Drives/<letter>, the
// bookmark, the remembered tables).
//
// This header carries no GIO type, so Qt sources may include it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drive_book.h"
#include "platform/network_drives.h"

namespace corvesta {

class GioNetworkDrives : public NetworkDrives {
public:
  explicit GioNetworkDrives(DrivePlaces places);

  DriveResult List(std::vector<DriveMapping> &mappings) override;
  std::vector<DriveMapping> Records() override;
  std::string LettersInUse() override;
  DriveResult Map(const DriveMapRequest &request, std::stop_token stop) override;
  DriveResult Unmap(char letter, std::stop_token stop) override;

  // Mounts the share again unless it is mounted (the keyring's password,
  // else `login`'s, never a prompt) and restores a lost link.
  DriveResult Reconnect(const DriveMapping &mapping, const DriveLogin &login,
                        std::stop_token stop) override;

  DriveBook &Book() { return m_book; }

private:
  // The records without asking the desktop; RecordFailed as Entries says.
  DriveResult ReadRecords(std::vector<DriveMapping> &mappings) const;

  DriveBook m_book;
};

// Installs the session's drives as the process's NetworkDrives; false (and
// nothing installed) without a home folder.
bool InstallGioNetworkDrives();

} // namespace corvesta
