#pragma once
// The program's private window messages: results of the box requests
// (WM_USER+1000 and up) and the skinned controls' own messages (31024 and up).

#include "platform/window_message.h"

namespace corvesta {

// wParam 0 success, 1 failure; lParam: id in the message store.
inline constexpr UINT WM_QUERY_RESULT = WM_USER + 1000;
// wParam 0 success, 1 failure; lParam: the command index.
inline constexpr UINT WM_COMMAND_RESULT = WM_USER + 1001;
// Sent by the keyboard and mouse hooks; restarts the idle timer.
inline constexpr UINT WM_USER_ACTIVITY = WM_USER + 1002;
// wParam 0 acknowledged, 1 no acknowledgement; lParam 4.
inline constexpr UINT WM_SETIP_RESULT = WM_USER + 1003;
// wParam: heap copy of an HdInfo record, freed by the receiver; lParam 9.
inline constexpr UINT WM_DISK_INFO = WM_USER + 1005;
// wParam: the reply's "res" value; lParam: the command index.
inline constexpr UINT WM_DISK_STEP_RESULT = WM_USER + 1006;
// wParam: the reply's "res" value, 0 without one; lParam 11.
inline constexpr UINT WM_FORMAT_CREATE_RESULT = WM_USER + 1007;
// wParam: formatting state (0 error, 1 running, 2 finished); lParam: percent.
inline constexpr UINT WM_FORMAT_PROGRESS = WM_USER + 1008;
// The box's new address lies outside this PC's subnet.
inline constexpr UINT WM_NAS_LEFT_SUBNET = WM_USER + 1009;
// A request ended without posting any of the messages above (refused or
// dropped connection, status not 200, unreadable reply, refused credential
// check). Posted once per ticket, after the request's last use of
// the query, and only while its window exists. wParam: the ticket; lParam:
// the query kind.
inline constexpr UINT WM_REQUEST_UNANSWERED = WM_USER + 1010;
// A network drive call of the drive mapping page ended on its worker.
// wParam: the call's number; lParam 0.
inline constexpr UINT WM_DRIVE_CALL_DONE = WM_USER + 1011;

// Skinned controls.
inline constexpr UINT WM_SKIN_UNCHECK = 31024;
inline constexpr UINT WM_SKIN_LIST_SCROLLED = 31025;
inline constexpr UINT WM_SKIN_PAINT_BACKGROUND = 31026;
inline constexpr UINT WM_SKIN_FILL_CHOICES = 31027;
inline constexpr UINT WM_SKIN_CELL_EDITED = 31028;
inline constexpr UINT WM_SKIN_ITEM_OPEN = 31029;

// Result values of WM_QUERY_RESULT, WM_COMMAND_RESULT and WM_SETIP_RESULT.
inline constexpr WPARAM kResultSuccess = 0;
inline constexpr WPARAM kResultFailure = 1;
// WM_COMMAND_RESULT of a command that changes the box (password, identity,
// time zone, network): the request went out whole but no answer came back,
// so the box may have made the change.
inline constexpr WPARAM kResultReplyLost = 2;

} // namespace corvesta
