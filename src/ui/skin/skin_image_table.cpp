#include "ui/skin/skin_image_table.h"

#include <algorithm>
#include <array>

#include "ui/skin/skin_image_ids.h"

namespace corvesta::skin {
namespace {

constexpr std::array kImages = {
    SkinImageInfo{kAppIcon, 64, 64, "program icon (taskbar and window list)"},
    SkinImageInfo{kHelpPressed, 28, 28, "Help button, pressed (main window)"},
    SkinImageInfo{kHelpHover, 28, 28, "Help button, hover"},
    SkinImageInfo{kHelpNormal, 28, 28, "Help button, normal"},
    SkinImageInfo{kTextButtonActive, 110, 32,
                  "text button, hover and pressed (OK, Cancel, Connect, Refresh)"},
    SkinImageInfo{kSettingsNormal, 28, 28, "Settings button, normal (main window)"},
    SkinImageInfo{kSettingsHover, 28, 28, "Settings button, hover"},
    SkinImageInfo{kSettingsPressed, 28, 28, "Settings button, pressed"},
    SkinImageInfo{kMinimiseHover, 28, 28, "minimise button, hover"},
    SkinImageInfo{kMinimiseNormal, 28, 28, "minimise button, normal"},
    SkinImageInfo{kMinimisePressed, 28, 28, "minimise button, pressed"},
    SkinImageInfo{kWizardButtonNormal, 96, 30,
                  "wizard navigation button, normal (Skip, Previous, Next, Finish, Exit)"},
    SkinImageInfo{kWizardButtonHover, 96, 30, "wizard navigation button, hover"},
    SkinImageInfo{kWizardButtonPressed, 96, 30, "wizard navigation button, pressed"},
    SkinImageInfo{kCloseNormal, 28, 28, "close button, normal (every dialog's title bar)"},
    SkinImageInfo{kCloseHover, 28, 28, "close button, hover"},
    SkinImageInfo{kClosePressed, 28, 28, "close button, pressed"},
    SkinImageInfo{kTextButtonNormal, 110, 32, "text button, normal"},
    SkinImageInfo{kIpAddressField, 180, 26, "IP address control field"},
    SkinImageInfo{kLoginBackground, 460, 360, "background of the login and set-IP dialogs"},
    SkinImageInfo{kLoginLogo, 200, 48, "logo of the login dialog"},
    SkinImageInfo{kFormatBarBackground, 357, 16, "format progress bar, background"},
    SkinImageInfo{kFormatBarLeftEnd, 10, 16, "format progress bar, left end"},
    SkinImageInfo{kFormatBarMiddle, 10, 16, "format progress bar, middle piece"},
    SkinImageInfo{kCheckBox, 20, 20, "check box, empty box (Remember Me)"},
    SkinImageInfo{kCheckMark, 22, 22, "check box, tick drawn over the box"},
    SkinImageInfo{kRadioOff, 18, 18, "radio button, unchecked"},
    SkinImageInfo{kRadioOn, 18, 18, "radio button, checked"},
    SkinImageInfo{kWizardBackground, 720, 520,
                  "background of the wizard, settings and format progress dialogs"},
    SkinImageInfo{kFormatBarRightEnd, 10, 16, "format progress bar, right end"},
    SkinImageInfo{kScrollUpNormal, 28, 20, "time zone list Up button, normal"},
    SkinImageInfo{kScrollUpHover, 28, 20, "time zone list Up button, hover"},
    SkinImageInfo{kScrollUpPressed, 28, 20, "time zone list Up button, pressed"},
    SkinImageInfo{kScrollDownNormal, 28, 20, "time zone list Down button, normal"},
    SkinImageInfo{kComboFace, 260, 30, "box list drop-down face (main window)"},
    SkinImageInfo{kScrollDownHover, 28, 20, "time zone list Down button, hover"},
    SkinImageInfo{kScrollDownPressed, 28, 20, "time zone list Down button, pressed"},
    SkinImageInfo{kSettingsPicture, 120, 120, "settings dialog picture (logout timer)"},
    SkinImageInfo{kUnderline, 200, 2, "settings tab underline"},
    SkinImageInfo{kBackupShortcutLit, 52, 52, "Backup Center shortcut icon, highlighted"},
    SkinImageInfo{kWizardShortcut, 52, 52, "Wizard shortcut icon"},
    SkinImageInfo{kWizardShortcutLit, 52, 52, "Wizard shortcut icon, highlighted"},
    SkinImageInfo{kSurveillanceShortcut, 52, 52, "Surveillance Center shortcut icon"},
    SkinImageInfo{kSurveillanceShortcutLit, 52, 52,
                  "Surveillance Center shortcut icon, highlighted"},
    SkinImageInfo{kPlayShortcut, 52, 52, "Play Center shortcut icon"},
    SkinImageInfo{kPlayShortcutLit, 52, 52, "Play Center shortcut icon, highlighted"},
    SkinImageInfo{kDiskModeStandard, 58, 46, "disk mode StandAlone icon"},
    SkinImageInfo{kDiskModeJbod, 58, 46, "disk mode JBOD icon"},
    SkinImageInfo{kManagementShortcut, 52, 52, "Management Center shortcut icon"},
    SkinImageInfo{kManagementShortcutLit, 52, 52, "Management Center shortcut icon, highlighted"},
    SkinImageInfo{kDiskModeRaid0, 58, 46, "disk mode RAID 0 icon"},
    SkinImageInfo{kDiskModeRaid1, 58, 46, "disk mode RAID 1 icon"},
    SkinImageInfo{kDownloadShortcut, 52, 52, "Download Center shortcut icon"},
    SkinImageInfo{kDownloadShortcutLit, 52, 52, "Download Center shortcut icon, highlighted"},
    SkinImageInfo{kDiskModeFocus, 420, 70, "disk mode choice, focus background"},
    SkinImageInfo{kCompleteIcon, 64, 64, "format complete icon"},
    SkinImageInfo{kShortcutNormal, 190, 52, "shortcut button background, normal"},
    SkinImageInfo{kShortcutPressed, 190, 52,
                  "shortcut button background, pressed, focused or selected"},
    SkinImageInfo{kShortcutHover, 190, 52, "shortcut button background, hover"},
    SkinImageInfo{kBackupShortcut, 52, 52, "Backup Center shortcut icon"},
    SkinImageInfo{kStepDone, 100, 18, "wizard step marker, done"},
    SkinImageInfo{kStepCurrent, 100, 18, "wizard step marker, current"},
    SkinImageInfo{kStepPending, 100, 18, "wizard step marker, pending"},
    SkinImageInfo{kWizardIcon, 48, 48, "wizard icon (wizard title)"},
    SkinImageInfo{kEditField, 240, 28, "text field frame, wide"},
    SkinImageInfo{kEditFieldShort, 160, 28, "text field frame, short"},
    SkinImageInfo{kSetIpPicture, 120, 120, "set-IP dialog picture"},
    SkinImageInfo{kWizardPagePanel, 540, 330, "wizard page area panel"},
    SkinImageInfo{kListPanel, 480, 260, "list panel (time zone and drive mapping lists)"},
    SkinImageInfo{kVolumeIcon, 40, 40, "volume gauge disk icon"},
    SkinImageInfo{kNasIcon, 48, 48, "storage box icon (box list, information panel)"},
    SkinImageInfo{kGaugeRightEnd, 10, 14, "volume gauge bar, right end"},
    SkinImageInfo{kGaugeBackground, 272, 14, "volume gauge bar, background"},
    SkinImageInfo{kGaugeLeftEnd, 10, 14, "volume gauge bar, left end"},
    SkinImageInfo{kGaugeMiddle, 10, 14, "volume gauge bar, middle piece"},
    SkinImageInfo{kSliderChannel, 13, 200, "folder list slider, channel"},
    SkinImageInfo{kSliderMiddle, 13, 10, "folder list slider, middle piece"},
    SkinImageInfo{kSliderTop, 13, 10, "folder list slider, top piece"},
    SkinImageInfo{kSliderBottom, 13, 10, "folder list slider, bottom piece"},
    SkinImageInfo{kFolderHighlight, 116, 116, "folder list, selected cell highlight"},
    SkinImageInfo{kErrorIcon, 64, 64, "error icon (format failed)"},
    SkinImageInfo{kFolder, 74, 74, "folder list, share folder"},
    SkinImageInfo{kFolderShortcut, 52, 52, "Folder shortcut icon"},
    SkinImageInfo{kFolderShortcutLit, 52, 52, "Folder shortcut icon, highlighted"},
    SkinImageInfo{kMainBackground, 820, 560, "background of the main window"},
    SkinImageInfo{kMainLogo, 180, 40, "logo of the main window"},
    SkinImageInfo{kWarningIcon, 64, 64, "warning icon (subnet and address questions)"},
    SkinImageInfo{kLogoutPressed, 28, 28, "Logout button, pressed (main window)"},
    SkinImageInfo{kLogoutHover, 28, 28, "Logout button, hover"},
    SkinImageInfo{kLogoutNormal, 28, 28, "Logout button, normal"},
    SkinImageInfo{kMessageInformation, 40, 40, "message dialog icon, information"},
    SkinImageInfo{kMessageQuestion, 40, 40, "message dialog icon, question"},
    SkinImageInfo{kMessageWarning, 40, 40, "message dialog icon, warning"},
    SkinImageInfo{kMessageError, 40, 40, "message dialog icon, error"},
};

static_assert(std::is_sorted(kImages.begin(), kImages.end(),
                             [](const SkinImageInfo &a, const SkinImageInfo &b) {
                               return a.id < b.id;
                             }),
              "the table is searched by id and must stay sorted");

} // namespace

std::span<const SkinImageInfo> SkinImages() {
  return kImages;
}

const SkinImageInfo *FindSkinImage(int id) {
  auto it = std::lower_bound(kImages.begin(), kImages.end(), id,
                             [](const SkinImageInfo &info, int value) { return info.id < value; });
  return it != kImages.end() && it->id == id ? &*it : nullptr;
}

} // namespace corvesta::skin
