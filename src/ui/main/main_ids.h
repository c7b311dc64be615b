#pragma once
// Control ids of the main window, the login dialog and the information
// panel. Tests find the controls by these numbers.

namespace corvesta::main_ids {

// Main window.
inline constexpr int kWizard = 1000;
inline constexpr int kFolder = 1001;
inline constexpr int kPlayCenter = 1002;
inline constexpr int kManagementCenter = 1003;
inline constexpr int kDownloadCenter = 1004;
inline constexpr int kBackupCenter = 1005;
inline constexpr int kNetwork = 1006;
inline constexpr int kDriveMapping = 1007;
inline constexpr int kSurveillanceCenter = 1008;
inline constexpr int kConnect = 1009;
inline constexpr int kRefresh = 1010;
inline constexpr int kLogout = 1011;
inline constexpr int kSettings = 1012;
inline constexpr int kHelp = 1013;
inline constexpr int kBoxList = 1014;
inline constexpr int kVolumeView = 1015;
inline constexpr int kAutoSorting = 1016;
inline constexpr int kHeading = 1017;
inline constexpr int kFooter = 1018;
inline constexpr int kFileCenter = 1079;
inline constexpr int kMinimise = 1080;
inline constexpr int kClose = 1082;
inline constexpr int kVersionLine = 1150;
inline constexpr int kWelcome = 1151;
inline constexpr int kLogo = 1152;
// The word on the search where the panel goes, its message and its hint.
inline constexpr int kSearchStatus = 1170;
inline constexpr int kSearchMessage = 1171;
inline constexpr int kSearchHint = 1172;
// The information panel itself, so that tests and the layout can reach it.
inline constexpr int kInfoPanel = 131;

// Information panel.
inline constexpr int kInfoName = 1129;
inline constexpr int kInfoAddress = 1130;
inline constexpr int kInfoMask = 1131;
inline constexpr int kInfoGateway = 1132;
inline constexpr int kInfoFolders = 1128;
inline constexpr int kInfoVolumes[4] = {1139, 1138, 1140, 1141};

// Login dialog.
inline constexpr int kLoginUser = 1018;
inline constexpr int kLoginPassword = 1019;
inline constexpr int kLoginRemember = 1020;
inline constexpr int kLoginOk = 1021;
inline constexpr int kLoginCancel = 1022;
inline constexpr int kLoginLogo = 1023;
inline constexpr int kLoginUserLabel = 1024;
inline constexpr int kLoginPasswordLabel = 1025;
inline constexpr int kLoginNote = 1026;
inline constexpr int kLoginTitle = 1027;
inline constexpr int kLoginClose = 1028;

// Settings dialog.
inline constexpr int kSettingsDialog = 130;
inline constexpr int kSettingsLogoutTab = 1027;
inline constexpr int kSettingsShortcutTab = 1028;
inline constexpr int kSettingsOk = 1029;
inline constexpr int kSettingsCancel = 1030;
inline constexpr int kSettingsOneMinute = 1040;
inline constexpr int kSettingsThreeMinutes = 1041;
inline constexpr int kSettingsFiveMinutes = 1042;
inline constexpr int kSettingsFifteenMinutes = 1043;
inline constexpr int kSettingsThirtyMinutes = 1044;
inline constexpr int kSettingsSixtyMinutes = 1045;
inline constexpr int kSettingsPicture = 1046;
inline constexpr int kSettingsTitle = 1047;
inline constexpr int kSettingsDescription = 1048;
inline constexpr int kSettingsNever = 1050;
inline constexpr int kSettingsClose = 1090;

// Set-IP dialog.
inline constexpr int kSetIpDialog = 141;
inline constexpr int kSetIpDhcp = 1109;
inline constexpr int kSetIpStatic = 1110;
inline constexpr int kSetIpAddressLabel = 1111;
inline constexpr int kSetIpMaskLabel = 1113;
inline constexpr int kSetIpGatewayLabel = 1118;
inline constexpr int kSetIpAddress = 1143;
inline constexpr int kSetIpMask = 1144;
inline constexpr int kSetIpGateway = 1145;
inline constexpr int kSetIpOk = 1148;
// The title line the skin gives the dialog.
inline constexpr int kSetIpTitle = 1151;
inline constexpr int kSetIpCancel = 1149;

} // namespace corvesta::main_ids
