#pragma once
// Where the main window, its information panel and the login dialog put
// their controls, in logical pixels. The windows are drawn for these sizes;
// texts that need more room are shortened by their controls, never moved.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace corvesta::layout {

// Main window: 820 x 560, the title strip above y 56, the shortcut column
// left of x 210, the footer strip below y 524.
inline constexpr QSize kMainSize{820, 560};
inline constexpr int kMainCornerRadius = 10;
inline constexpr QRect kMainLogo{16, 8, 180, 40};
inline constexpr QRect kHeading{214, 12, 300, 34};
inline constexpr QRect kVersionLine{214, 40, 120, 14};
// The welcome line is placed beside the box list once somebody is logged in.
inline constexpr QRect kWelcome{232, 110, 560, 22};
inline constexpr int kToolButtonTop = 14;
inline constexpr int kToolButtonRight = 806;
inline constexpr int kToolButtonSize = 28;
inline constexpr int kToolButtonPitch = 32;
inline constexpr QRect kBoxList{232, 72, 260, 30};
inline constexpr QRect kConnect{506, 71, 110, 32};
inline constexpr QRect kRefresh{626, 71, 110, 32};
inline constexpr QPoint kFirstShortcut{12, 72};
inline constexpr QSize kShortcutSize{190, 52};
inline constexpr int kShortcutPitch = 58;
inline constexpr QRect kInfoPanel{220, 136, 590, 352};
// The word on the search, in the panel's place while nobody is logged in.
inline constexpr QRect kSearchStatus{232, 150, 560, 140};
inline constexpr QRect kVolumeView{232, 496, 260, 22};
inline constexpr QRect kAutoSorting{500, 496, 200, 22};
inline constexpr QRect kFooter{16, 534, 600, 18};
inline constexpr QRect kHiddenButtons{0, 0, 1, 1};

// Information panel, inside kInfoPanel.
inline constexpr QRect kInfoIcon{12, 6, 48, 48};
inline constexpr QRect kInfoName{72, 2, 500, 26};
inline constexpr QRect kInfoLine{72, 30, 500, 16}; // lines 2 to 4, one under the other
inline constexpr int kInfoLinePitch = 16;
inline constexpr int kInfoSeparatorY = 84;
inline constexpr int kInfoSeparatorLeft = 12;
inline constexpr int kInfoSeparatorRight = 578;
inline constexpr QPoint kFirstVolume{12, 92};
inline constexpr int kVolumePitch = 62;
inline constexpr QRect kInfoFolders{12, 92, 560, 256};
inline constexpr int kInfoVeilAlpha = 20;

// Login dialog: 460 x 360 on its own background.
inline constexpr QSize kLoginSize{460, 360};
inline constexpr QRect kLoginTitle{18, 13, 380, 24};
inline constexpr QRect kLoginClose{420, 10, 28, 28};
inline constexpr QRect kLoginLogo{130, 62, 200, 48};
inline constexpr QRect kLoginUserLabel{20, 134, 140, 20};
inline constexpr QRect kLoginUserField{172, 130, 240, 28};
inline constexpr QRect kLoginPasswordLabel{20, 176, 140, 20};
inline constexpr QRect kLoginPasswordField{172, 172, 240, 28};
inline constexpr QRect kLoginRemember{172, 214, 260, 24};
inline constexpr QRect kLoginNote{40, 250, 380, 36};
inline constexpr QRect kLoginOk{110, 310, 110, 32};
inline constexpr QRect kLoginCancel{240, 310, 110, 32};
// Settings dialog: 720 x 520 on the wizard's background.
inline constexpr QSize kSettingsSize{720, 520};
inline constexpr QRect kSettingsTitle{20, 8, 560, 44};
inline constexpr QRect kSettingsClose{680, 14, 28, 28};
inline constexpr QRect kSettingsTab{0, 76, 240, 32};
inline constexpr QRect kSettingsPicture{60, 170, 120, 120};
inline constexpr QRect kSettingsDescription{250, 112, 440, 64};
inline constexpr QRect kSettingsFirstRadio{280, 188, 380, 24};
inline constexpr int kSettingsRadioPitch = 36;
inline constexpr QRect kSettingsOk{240, 466, 110, 32};
inline constexpr QRect kSettingsCancel{370, 466, 110, 32};

// Set-IP dialog: 460 x 360 on the login dialog's background.
inline constexpr QSize kSetIpSize{460, 360};
inline constexpr QRect kSetIpTitle{18, 13, 420, 24};
inline constexpr QRect kSetIpPicture{16, 96, 120, 120};
inline constexpr QRect kSetIpDhcp{144, 62, 296, 24};
inline constexpr QRect kSetIpStatic{144, 92, 296, 24};
inline constexpr QRect kSetIpFirstLabel{144, 138, 148, 26};
inline constexpr QRect kSetIpFirstField{296, 138, 150, 26};
inline constexpr int kSetIpRowPitch = 40;
inline constexpr QRect kSetIpOk{110, 310, 110, 32};
inline constexpr QRect kSetIpCancel{240, 310, 110, 32};

// The text inside a field frame.
inline constexpr QMargins kFieldText{6, 4, 6, 4};

} // namespace corvesta::layout
