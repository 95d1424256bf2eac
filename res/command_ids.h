// SPDX-License-Identifier: GPL-3.0-or-later
// Command ids of the main window's menus and buttons.
#pragma once

namespace quibo::command {

inline constexpr int kExit = 2;
inline constexpr int kOpen = 1000;
inline constexpr int kAbout = 32773;
inline constexpr int kListAllCodecs = 32774;
inline constexpr int kInstalledCodecs = 32776;
inline constexpr int kDeleteField = 32779;
inline constexpr int kEditField = 32780;
inline constexpr int kRefresh = 32781;
inline constexpr int kSave = 32782;
inline constexpr int kNewField = 32783;
inline constexpr int kClose = 32785;
inline constexpr int kSaveAs = 32786;
inline constexpr int kDetails = 32787;
inline constexpr int kChangeFourCC = 32788;

}  // namespace quibo::command
