#pragma once
// The program's own texts: messages this program shows beyond those of the
// built-in tables, with their translations in every interface language.
// Translate looks here only after the language's built-in table, so the
// built-in tables stay as they are.

#include <optional>
#include <span>
#include <string_view>

#include "i18n/language_base.h"

namespace corvesta {

// One own text: the English key and its four translations.
struct OwnText {
  std::u16string_view english;
  std::u16string_view french;
  std::u16string_view german;
  std::u16string_view spanish;
  std::u16string_view russian;
};

// The disk mode needs two disks and the box has one.
inline constexpr std::u16string_view kTwoDrivesNeededText =
    u"This disk mode requires two drives; the NAS has one.";
// The two device names do not fit the disks field of the format request.
inline constexpr std::u16string_view kDiskNamesTooLongText =
    u"The disks' device names are too long for the format request.";
// A volume of the mode would have no size.
inline constexpr std::u16string_view kDisksTooSmallText =
    u"The disks are too small for this disk mode.";
// The name, workgroup or description does not fit its field.
inline constexpr std::u16string_view kIdentityTooLongText =
    u"The name and the workgroup may hold at most 15 bytes, the description 30.";
// The user name or password does not fit the current credentials.
inline constexpr std::u16string_view kCredentialsTooLongText =
    u"The user name and the password may hold at most 16 bytes each.";
// corvesta-cli has no password for the login and nobody to ask for one.
inline constexpr std::u16string_view kNoPasswordSourceText =
    u"No password for the login, and no terminal to ask for one: give it with --password-stdin "
    u"(the first line of standard input) or in the environment variable CORVESTA_PASSWORD.";
// corvesta-cli's question before a formatting, where the window asks for
// its "OK" button.
inline constexpr std::u16string_view kCliRebuildQuestionText =
    u"Formatting rebuilds the disks and erases everything on them. Answer y to continue; --yes "
    u"gives that answer without asking.";
// corvesta-cli's line after a completed formatting, where the window asks
// for its "OK" button.
inline constexpr std::u16string_view kCliFormatCompleteText =
    u"The volumes have been created and formatted.";
// corvesta-cli's first Ctrl-C while the box formats: it goes on.
inline constexpr std::u16string_view kFormatLeaveWarningText =
    u"The NAS is formatting. Leaving now leaves its file service stopped and its disks not "
    u"remounted; press Ctrl-C again to leave all the same.";
// corvesta-cli ends during a format: what leaves the box usable is sent first.
inline constexpr std::u16string_view kFormatInterruptedText =
    u"Interrupted: restoring the NAS's file service, then logging out.";
// The format-state polling ended without the box reporting an end.
inline constexpr std::u16string_view kFormatStateLostText =
    u"The NAS stopped reporting the state of the formatting.";
// The box reported no end of the formatting within the chain's total limit.
inline constexpr std::u16string_view kFormatTooLongText =
    u"The formatting has not ended in the time allowed. The NAS may still be formatting; check "
    u"its volumes later.";
// The credential check got no verdict from the box (no answer in time, or
// only answers to another request): nothing was refused and nothing changed.
inline constexpr std::u16string_view kNoVerdictText =
    u"The NAS did not answer the login check. Nothing was changed; try again.";
// Two answers carry the box's hardware address from different addresses:
// credentials go to it only once it is named by its address.
inline constexpr std::u16string_view kAmbiguousBoxText =
    u"Two devices answer with this NAS's hardware address from different addresses. Name the "
    u"NAS by its address before logging in.";
// The title of the login dialog.
inline constexpr std::u16string_view kLoginTitleText = u"Login";
// The title of the set-IP dialog.
inline constexpr std::u16string_view kSetIpTitleText = u"NAS IP Address";
// What a screen reader calls one of the four number fields of an address
// (first %s: the address's name, second %s: the field's place, 1 to 4).
inline constexpr std::u16string_view kAddressPartText = u"%s, part %s of 4";

// A text for a box is not well-formed text (%s: the translated field word).
inline constexpr std::u16string_view kInvalidTextText = u"The %s is not valid text.";
// A text for a box holds a control character or a character beyond three
// UTF-8 bytes (%s: the translated field word).
inline constexpr std::u16string_view kUnsupportedCharactersText =
    u"The %s must not include control characters or characters the NAS cannot store, such as "
    u"emoji.";
// The device name is empty.
inline constexpr std::u16string_view kEmptyNameText = u"Enter a name for the NAS.";
// A /31 or /32 mask for a box's address.
inline constexpr std::u16string_view kMaskTooNarrowText =
    u"A subnet mask of 255.255.255.254 or 255.255.255.255 leaves no room for the NAS and its "
    u"gateway. Please enter a wider mask.";
// The gateway is the box's own address.
inline constexpr std::u16string_view kGatewayIsBoxAddressText =
    u"The gateway must not be the NAS's own IP address.";
// The answer to a change was lost after the request had reached the box.
inline constexpr std::u16string_view kChangeMayHaveBeenMadeText =
    u"The NAS did not answer after the change was sent, so the change may have been made. Check "
    u"the NAS's current settings and volumes (after a password change: log in with the new "
    u"password) before you repeat it.";
// Remembering failed: no settings folder could be made.
inline constexpr std::u16string_view kSettingsNoFolderText =
    u"No settings folder could be made; nothing was remembered.";
// Remembering failed: the settings file (%s) could not be read or written.
inline constexpr std::u16string_view kSettingsNotSavedText =
    u"The settings file %s could not be written; nothing was remembered.";
// Remembering refused: the settings file (%s) is in a legacy 8-bit encoding.
inline constexpr std::u16string_view kSettingsLegacyText =
    u"The settings file %s is not UTF-8 text; it was left as it is and nothing was remembered.";
// Remembering refused: the settings file (%s) links to a file the user
// cannot write.
inline constexpr std::u16string_view kSettingsLinkText =
    u"The settings file %s is a link to a file that cannot be written; nothing was remembered.";

// The box took new LAN settings and now answers outside this PC's subnet;
// "%s" is the address it answers at.
inline constexpr std::u16string_view kBoxLeftSubnetText =
    u"The NAS now answers at %s, outside the subnet of this PC. Give it an address in this "
    u"subnet from the main window.";

// The main window while a discovery runs.
inline constexpr std::u16string_view kSearchingText = u"Searching for NAS...";
// The main window after a discovery that no box answered, and what to check
// (first %s: the UDP port of the boxes, second %s: the Refresh button's text).
inline constexpr std::u16string_view kNoBoxAnsweredText = u"No NAS answered.";
inline constexpr std::u16string_view kNoBoxHintText =
    u"Check that the NAS is switched on and cabled, that this PC is on the same network, and "
    u"that the firewall lets UDP port %s in; then click \"%s\".";

// Why a network drive could not be connected or disconnected: the second
// line under "Mount is failed." and "Umount is failed.".
inline constexpr std::u16string_view kDriveRefusedText =
    u"The NAS refused the user name or password, or access to this share.";
inline constexpr std::u16string_view kDriveNoAnswerText = u"The NAS did not answer in time.";
inline constexpr std::u16string_view kDriveNoFileSharingText =
    u"The NAS does not accept file sharing connections.";
inline constexpr std::u16string_view kDriveNoSuchShareText = u"The NAS has no share of this name.";
inline constexpr std::u16string_view kDriveLetterInUseText =
    u"This drive letter is already in use.";
inline constexpr std::u16string_view kDriveShareOnOtherLetterText =
    u"This share is already connected to another drive letter.";
inline constexpr std::u16string_view kDriveNoDesktopServiceText =
    u"This desktop has no file service for network shares (GVfs with SMB).";
inline constexpr std::u16string_view kDriveUnsupportedText =
    u"The desktop's file service cannot connect a share of this name or address.";
inline constexpr std::u16string_view kDriveSemicolonUserText =
    u"A user name that contains \";\" cannot connect a network drive.";
inline constexpr std::u16string_view kDriveNotMappedText = u"This drive letter is not connected.";
inline constexpr std::u16string_view kDriveBadValueText =
    u"The drive letter or a name cannot be used for a network drive.";
inline constexpr std::u16string_view kDriveRecordFailedText =
    u"The list of network drives could not be read or written; nothing was changed.";
inline constexpr std::u16string_view kDriveCancelledText = u"The connection was cancelled.";
inline constexpr std::u16string_view kDriveFailedText =
    u"The desktop's file service could not connect the share.";

// The answers of a message box that asks a question.
inline constexpr std::u16string_view kYesText = u"Yes";
inline constexpr std::u16string_view kNoText = u"No";

// Every own text, in no particular order.
std::span<const OwnText> OwnTexts();

// The translation of `english` in the language when it is an own text, else
// nothing. English returns the key itself.
std::optional<std::u16string_view> FindOwnText(LanguageId language, std::u16string_view english);

} // namespace corvesta
