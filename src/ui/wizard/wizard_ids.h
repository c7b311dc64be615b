#pragma once
// Control ids, page templates and page keys of the set-up wizard. Tests find
// the controls by these numbers.

#include <array>
#include <string_view>

namespace corvesta::wizard_ids {

// The frame.
inline constexpr int kHeading = 1093;
inline constexpr int kPageTitle = 1094;
inline constexpr int kHint = 1159;
inline constexpr int kIcon = 1095;
inline constexpr int kPageArea = 1054;
inline constexpr int kSkip = 1049;
inline constexpr int kPrevious = 1051;
inline constexpr int kFinish = 1055;
inline constexpr int kNext = 1052;
inline constexpr int kExit = 1053;
inline constexpr int kClose = 1092;

// The value a run ends with after Finish.
inline constexpr int kFinishedResult = 12325;

// Page templates, in wizard order.
inline constexpr int kPasswordTemplate = 133;
inline constexpr int kDeviceInfoTemplate = 134;
inline constexpr int kTimeZoneTemplate = 135;
inline constexpr int kNetworkTemplate = 136;
inline constexpr int kDiskModeTemplate = 137;
inline constexpr int kDriveMappingTemplate = 138;

// One step of the wizard: its button, the page key it stands for and its
// caption (both English, shown translated).
struct Step {
  int button;
  std::u16string_view key;
  std::u16string_view caption;
};
inline constexpr std::array<Step, 6> kSteps{{
    {1056, u"Password", u"Password"},
    {1057, u"WorkGroup", u"Device Info"},
    {1058, u"TimeZone", u"TimeZone"},
    {1059, u"Network", u"Network"},
    {1062, u"RAID", u"Raid"},
    {1065, u"DriveMapping", u"DriveMapping"},
}};

// Password page.
inline constexpr int kPasswordLabel = 1096;
inline constexpr int kConfirmLabel = 1097;
inline constexpr int kOldPasswordLabel = 1157;
inline constexpr int kNewPassword = 1060;
inline constexpr int kConfirmPassword = 1063;
inline constexpr int kOldPassword = 1156;

// Device info page.
inline constexpr int kWorkgroupLabel = 1098;
inline constexpr int kNameLabel = 1099;
inline constexpr int kDescriptionLabel = 1100;
inline constexpr int kWorkgroup = 1061;
inline constexpr int kDeviceName = 1064;
inline constexpr int kDescription = 1066;

// Time zone page.
inline constexpr int kZoneList = 1067;
inline constexpr int kZoneUp = 1101;
inline constexpr int kZoneDown = 1102;

// Network page.
inline constexpr int kDhcp = 1068;
inline constexpr int kStatic = 1103;
inline constexpr std::array<int, 5> kAddressLabels{1104, 1105, 1106, 1107, 1108};
inline constexpr int kIpAddress = 1133;
inline constexpr int kSubnetMask = 1134;
inline constexpr int kGateway = 1135;
inline constexpr int kDns1 = 1136;
inline constexpr int kDns2 = 1137;

// Drive mapping page.
inline constexpr int kDriveList = 1076;

} // namespace corvesta::wizard_ids
