#pragma once

namespace qv70::chart_message {

// The chart window's right-click menu: its one item, command 101.
inline constexpr const char* kCopyToClipboardItem = "Copy To Clipboard(&C)";
inline constexpr int kCopyCommandId = 101;
// The graph could not be put on the clipboard (an application message box).
inline constexpr const char* kCantSetClipboardData = "Can't set clipboard data!";

}  // namespace qv70::chart_message
