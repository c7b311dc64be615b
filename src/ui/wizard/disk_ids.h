#pragma once
// Control ids of the disk mode page and the format progress dialog, and
// where their controls go, in logical pixels (page rectangles relative to
// the page area). Tests find the controls by these numbers.

#include <QRect>
#include <QSize>

namespace corvesta::disk_ids {

// Disk mode page: the four options, in the order a mode is taken from.
inline constexpr int kStandalone = 1071;
inline constexpr int kJbod = 1075;
inline constexpr int kRaid0 = 1073;
inline constexpr int kRaid1 = 1078;

// Format progress dialog.
inline constexpr int kFormatTemplate = 213;
inline constexpr int kProgress = 1122;
inline constexpr int kOk = 1123;
inline constexpr int kCancel = 1124;
inline constexpr int kTitle = 1125;
inline constexpr int kPercent = 1126;
inline constexpr int kText = 1127;
inline constexpr int kClose = 1121;
inline constexpr int kIcon = 1153;

} // namespace corvesta::disk_ids

namespace corvesta::disk_layout {

// The page: four options stacked over the page area.
inline constexpr int kOptionLeft = 30;
inline constexpr int kOptionTop = 0;
inline constexpr QSize kOptionSize{494, 64};
inline constexpr int kOptionPitch = 66;

// The dialog, on the wizard's background.
inline constexpr QSize kDialogSize{720, 520};
inline constexpr int kCornerRadius = 10;
inline constexpr QRect kTitle{20, 8, 560, 44};
inline constexpr QRect kClose{680, 14, 28, 28};
inline constexpr QRect kIcon{90, 150, 64, 64};
// The volume picture while the chain runs, centred where the icon comes.
inline constexpr QRect kRunningPicture{102, 162, 40, 40};
inline constexpr QRect kText{180, 150, 440, 96};
inline constexpr QRect kProgress{180, 262, 357, 16};
inline constexpr QRect kPercent{545, 258, 70, 24};
inline constexpr QRect kOk{240, 466, 110, 32};
inline constexpr QRect kCancel{370, 466, 110, 32};

} // namespace corvesta::disk_layout
