#pragma once
// What the program remembers between runs, each value read and written here
// and nowhere else: the login remembered for a box, the box used last, the
// first-run mark and the idle-logout time. Box names and credentials are
// UTF-8 text, as they travel to and from the box.
//
// This sits beside the settings store, below the protocol client, because a
// refused credential check empties the remembered login of the box used last.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvesta {

// The login remembered for one box: its "UserName" and its "PassWord"
// (stored as Base64 of the password's bytes). Empty texts for what is not
// stored. A password that is not valid Base64, or whose bytes are not UTF-8
// text, is no password.
struct StoredLogin {
  std::string user;
  std::string password;
};

// The box's section is named after the box. A box without a name has no
// section: nothing is read and every write is refused.
StoredLogin RememberedLogin(std::string_view box);

// Remembers the user name and the password for the box ("Remember Me"
// ticked). False when a write was dropped.
bool StoreLogin(std::string_view box, std::string_view user, std::string_view password);

// Keeps both keys of the box, with empty values ("Remember Me" not ticked).
bool ForgetLogin(std::string_view box);

// What a login started from the login dialog records, in one write of the
// file: the box as the one connected to last, and its login remembered
// (`remember`) or kept empty. False when the write was dropped, or when a
// login is to be remembered for a box without a name (the record of the last
// box is emptied then, as SetLastBox does, and LastWriteProblem says the
// value cannot be held).
bool RememberConnection(std::string_view box, bool remember, std::string_view user,
                        std::string_view password);

// Empties the box's remembered login, as a refused credential check does,
// only when it holds exactly `user` and `password`: a refusal of other
// credentials (a one-off user, a mistyped password) leaves the remembered
// ones alone. True when the login was emptied.
bool ForgetLoginIfRemembered(std::string_view box, std::string_view user,
                             std::string_view password);

// The box connected to last ("ServName" in [Current]), or nothing.
std::optional<std::string> LastBox();

// Records the box connected to last. A box without a name empties the
// record, so that no other box's login is taken for its own.
bool SetLastBox(std::string_view box);

// Empties the remembered login of the box connected to last, as a refused
// credential check does. False when there is no such box or a write was
// dropped.
bool ForgetLastBoxLogin();

// Whether the first-run offer was made on this PC ("FirstOpen" in [Used]
// holds any text).
bool FirstRunOfferMade();
bool MarkFirstRunOfferMade();

// The idle-logout time in milliseconds ("LoginOutTime" in [Current]). The
// leading decimal number of the stored text counts in whole minutes: 0 is
// never, 5, 15 and 30 are themselves, anything else is 60 minutes; a text
// without leading digits reads as 0, a negative number as 60 minutes.
// Missing or empty: 60 minutes.
std::uint32_t ReadIdleTime();
// Written as decimal milliseconds followed by a colon.
bool WriteIdleTime(std::uint32_t milliseconds);

} // namespace corvesta
