#pragma once
// The address GVfs mounts a share by: smb://USER@SERVER/SHARE, every part
// escaped (a share name may hold spaces, '#', '?', '/', non-ASCII letters).

#include <string>

namespace corvesta {

// No user part when `user` is empty.
std::string SmbUri(const std::string &server, const std::string &share, const std::string &user);

} // namespace corvesta
