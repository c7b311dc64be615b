#pragma once
// The current user name and password: process-wide, at most 16 bytes of
// UTF-8 text each. Set by the credential-check start and by the main window
// after a successful check, emptied at logout and on a refused check, read by
// every request to a box.

#include <cstddef>
#include <string>
#include <string_view>

namespace corvesta {

// Bytes of text a user name or password may hold (its field adds a zero).
inline constexpr std::size_t kCredentialMaxBytes = 16;

struct Credentials {
  char userName[kCredentialMaxBytes + 1] = {};
  char password[kCredentialMaxBytes + 1] = {};

  std::string_view UserName() const;
  std::string_view Password() const;
  bool operator==(const Credentials &other) const;
};

// Each text is cut at a character boundary to at most 16 bytes.
Credentials MakeCredentials(std::string_view userName, std::string_view password);

Credentials CurrentCredentials();
void SetCurrentCredentials(const Credentials &credentials);
void ClearCurrentCredentials();
// Empties the current credentials only while they are still `expected`, so
// that a late refusal does not wipe credentials set since by a newer check.
// True when they were emptied.
bool ClearCurrentCredentialsIf(const Credentials &expected);

} // namespace corvesta
