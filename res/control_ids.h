// SPDX-License-Identifier: GPL-3.0-or-later
// Control ids of the main window.
#pragma once

namespace quibo::control {

inline constexpr int kOpenButton = 1000;
inline constexpr int kVideoFourCC = 1001;
inline constexpr int kVideoCodec = 1002;
inline constexpr int kFileName = 1003;
inline constexpr int kFileDate = 1004;
inline constexpr int kFileSize = 1005;
inline constexpr int kVideoVendor = 1006;
inline constexpr int kVideoBitrate = 1007;
inline constexpr int kVideoFrameRate = 1010;
inline constexpr int kVideoDuration = 1011;
inline constexpr int kVideoAspect = 1012;
inline constexpr int kAudioEncoding = 1013;
inline constexpr int kAudioBitrate = 1014;
inline constexpr int kInfoList = 1016;
inline constexpr int kFileStatus = 1018;
inline constexpr int kVideoStatus = 1019;

}  // namespace quibo::control
