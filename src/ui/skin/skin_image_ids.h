#pragma once
// The ids of the skin's images, each embedded as the resource
// ":/skin/<id>.png" with a "<id>@2x.png" twin for screens of device pixel ratio
// 2. skin_image_table.cpp gives every id its role and size in pixels.

namespace corvesta::skin {

// The program's icon (taskbar, window list).
inline constexpr int kAppIcon = 128;

// Title-bar and tool buttons: normal, hover, pressed.
inline constexpr int kHelpPressed = 142;
inline constexpr int kHelpHover = 143;
inline constexpr int kHelpNormal = 144;
inline constexpr int kSettingsNormal = 146;
inline constexpr int kSettingsHover = 147;
inline constexpr int kSettingsPressed = 148;
inline constexpr int kMinimiseHover = 149;
inline constexpr int kMinimiseNormal = 150;
inline constexpr int kMinimisePressed = 151;
inline constexpr int kCloseNormal = 155;
inline constexpr int kCloseHover = 156;
inline constexpr int kClosePressed = 157;
inline constexpr int kLogoutPressed = 234;
inline constexpr int kLogoutHover = 235;
inline constexpr int kLogoutNormal = 236;

// Text buttons (OK, Cancel, Connect, Refresh): normal, and hover/pressed.
inline constexpr int kTextButtonNormal = 158;
inline constexpr int kTextButtonActive = 145;

// Wizard navigation buttons (Skip, Previous, Next, Finish, Exit).
inline constexpr int kWizardButtonNormal = 152;
inline constexpr int kWizardButtonHover = 153;
inline constexpr int kWizardButtonPressed = 154;

// Time zone list scroll buttons.
inline constexpr int kScrollUpNormal = 171;
inline constexpr int kScrollUpHover = 172;
inline constexpr int kScrollUpPressed = 173;
inline constexpr int kScrollDownNormal = 174;
inline constexpr int kScrollDownHover = 176;
inline constexpr int kScrollDownPressed = 177;

// Check box and radio marks.
inline constexpr int kCheckBox = 165;
inline constexpr int kCheckMark = 166;
inline constexpr int kRadioOff = 167;
inline constexpr int kRadioOn = 168;

// Dialog backgrounds.
inline constexpr int kLoginBackground = 160;  // login and set-IP dialogs
inline constexpr int kWizardBackground = 169; // wizard, settings, format progress
inline constexpr int kMainBackground = 227;   // main window

// Pictures and logos.
inline constexpr int kLoginLogo = 161;
inline constexpr int kMainLogo = 228;
inline constexpr int kSettingsPicture = 178;
inline constexpr int kSetIpPicture = 207;
inline constexpr int kWizardIcon = 204;
inline constexpr int kCompleteIcon = 196;
inline constexpr int kErrorIcon = 223;
inline constexpr int kWarningIcon = 231;
inline constexpr int kNasIcon = 212;
inline constexpr int kVolumeIcon = 211;

// Fields and panels.
inline constexpr int kIpAddressField = 159;
inline constexpr int kComboFace = 175;
inline constexpr int kEditField = 205;
inline constexpr int kEditFieldShort = 206;
inline constexpr int kWizardPagePanel = 208;
inline constexpr int kListPanel = 209;

// Tab underline of the settings dialog.
inline constexpr int kUnderline = 179;

// Main window shortcut buttons: backgrounds, then icon and highlighted icon.
inline constexpr int kShortcutNormal = 197;
inline constexpr int kShortcutPressed = 198;
inline constexpr int kShortcutHover = 199;
inline constexpr int kWizardShortcut = 181;
inline constexpr int kWizardShortcutLit = 182;
inline constexpr int kSurveillanceShortcut = 183;
inline constexpr int kSurveillanceShortcutLit = 184;
inline constexpr int kPlayShortcut = 185;
inline constexpr int kPlayShortcutLit = 186;
inline constexpr int kManagementShortcut = 189;
inline constexpr int kManagementShortcutLit = 190;
inline constexpr int kDownloadShortcut = 193;
inline constexpr int kDownloadShortcutLit = 194;
inline constexpr int kBackupShortcut = 200;
inline constexpr int kBackupShortcutLit = 180;
inline constexpr int kFolderShortcut = 225;
inline constexpr int kFolderShortcutLit = 226;

// Wizard step markers.
inline constexpr int kStepDone = 201;
inline constexpr int kStepCurrent = 202;
inline constexpr int kStepPending = 203;

// Disk mode choices.
inline constexpr int kDiskModeStandard = 187;
inline constexpr int kDiskModeJbod = 188;
inline constexpr int kDiskModeRaid0 = 191;
inline constexpr int kDiskModeRaid1 = 192;
inline constexpr int kDiskModeFocus = 195;

// Volume gauge bar.
inline constexpr int kGaugeRightEnd = 214;
inline constexpr int kGaugeBackground = 215;
inline constexpr int kGaugeLeftEnd = 216;
inline constexpr int kGaugeMiddle = 217;

// Format progress bar.
inline constexpr int kFormatBarBackground = 162;
inline constexpr int kFormatBarLeftEnd = 163;
inline constexpr int kFormatBarMiddle = 164;
inline constexpr int kFormatBarRightEnd = 170;

// Folder list slider.
inline constexpr int kSliderChannel = 218;
inline constexpr int kSliderMiddle = 219;
inline constexpr int kSliderTop = 220;
inline constexpr int kSliderBottom = 221;

// Folder list cells.
inline constexpr int kFolderHighlight = 222;
inline constexpr int kFolder = 224;

// Message dialog icons, drawn at their own size.
inline constexpr int kMessageInformation = 240;
inline constexpr int kMessageQuestion = 241;
inline constexpr int kMessageWarning = 242;
inline constexpr int kMessageError = 243;

} // namespace corvesta::skin
