#pragma once
// Where the wizard frame and its pages put their controls, in logical
// pixels. Page rectangles are relative to the page area.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace corvesta::wizard_layout {

inline constexpr QSize kFrameSize{720, 520};
inline constexpr int kCornerRadius = 10;
inline constexpr QRect kIcon{14, 4, 48, 48};
inline constexpr QRect kHeading{70, 16, 300, 26};
inline constexpr QRect kClose{680, 14, 28, 28};
inline constexpr int kStepLeft = 24;
inline constexpr int kStepTop = 70;
inline constexpr int kStepPitch = 110;
inline constexpr QSize kStepSize{110, 40};
inline constexpr int kLastStepWidth = 140;
inline constexpr QRect kPagePanel{90, 118, 540, 330};
inline constexpr QRect kPageTitle{110, 124, 500, 26};
inline constexpr QRect kHint{110, 150, 500, 20};
// The page itself, below its title and hint.
inline constexpr QRect kPageArea{96, 176, 528, 266};
// The shown ones of Skip, Previous, Next and Finish from the left edge of
// the page panel, Exit at its right edge.
inline constexpr int kNavigationLeft = 90;
inline constexpr int kNavigationTop = 466;
inline constexpr int kNavigationPitch = 110;
inline constexpr QSize kNavigationSize{100, 32};
inline constexpr int kExitLeft = 530;

// Pages: a label column and a field column.
inline constexpr int kLabelLeft = 24;
inline constexpr int kLabelWidth = 180;
inline constexpr int kFieldLeft = 210;
inline constexpr int kFieldWidth = 260;
inline constexpr int kRowHeight = 30;
inline constexpr int kFirstRowTop = 20;
inline constexpr int kRowPitch = 44;

// Time zone page.
inline constexpr QRect kZoneList{8, 0, 484, 262};
inline constexpr QRect kZoneUp{496, 4, 28, 20};
inline constexpr QRect kZoneDown{496, 238, 28, 20};

// Network page: the two options above the address rows.
inline constexpr QRect kDhcpOption{kLabelLeft, 2, 200, 24};
inline constexpr QRect kStaticOption{250, 2, 240, 24};
inline constexpr int kAddressRowTop = 40;
inline constexpr int kAddressRowPitch = 44;

// Drive mapping page: the share list, Name and Location columns.
inline constexpr QRect kDriveList{44, 0, 440, 262};

} // namespace corvesta::wizard_layout
