// SPDX-License-Identifier: GPL-3.0-or-later
// What one analysis of a file finds, as values: what the file is and
// whether it is whole, the first video and audio streams, the INFO rows and
// JUNK texts, and the positions the INFO edits need. One report is reused
// from file to file; its texts are views into the image it was made from.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/mpeg_audio_scan.h"
#include "analysis/stream_facts.h"

namespace quibo {

enum class FileType { Avi, Asf, QuickTime, Mpeg, Rar, Zip, Ogg, Wav, Riff, Unknown };
// "AVI", "ASF", "QuickTime", "MPEG", "RAR", "ZIP", "Ogg", "WAV", "RIFF", "unknown".
const char* FileTypeName(FileType type);

// "video", "audio", "text", "other".
const char* StreamTypeName(StreamType type);

// What the first chunks of the first video stream say about its bitstream.
struct VideoBitstream {
    enum class Kind { Unknown, Mpeg4Part2, H264 };
    Kind kind = Kind::Unknown;
    // MPEG-4 Part 2: profile_and_level_indication of the VOS header, the
    // VOL's object type; H.264: profile_idc, the constraint flags and
    // level_idc of the SPS.
    std::optional<std::uint8_t> profileAndLevel;
    std::optional<std::uint8_t> objectType;
    std::uint8_t constraintFlags = 0;
    std::uint8_t level = 0;
    // The encoder as the stream names it ("XviD0063", "Lavc59.37.100",
    // "x264 - core 164 r3095 baee400"): a view into the image.
    std::string_view encoder;
    // x264's options ("cabac=1 ref=3 ...").
    std::string_view encoderSettings;
    // MPEG-4 Part 2.
    bool packed = false;       // more than one VOP in a chunk, or DivX's "p"
    int mostConsecutiveB = 0;  // B-VOPs in a row, in stream order
    bool quarterPel = false;
    int warpPoints = 0;  // GMC sprite warping points
    bool interlaced = false;
    // The pixel (sample) aspect ratio; 0:0 when not told.
    std::uint16_t pixelAspectX = 0, pixelAspectY = 0;
};

struct VideoReport {
    int index = 0;  // the stream's number in the file
    // The stream header's handler and the format's compression as FourCC
    // texts (up to the first NUL); uncompressed video reads "RGB " and kin.
    std::string handler;
    std::string compression;
    std::uint32_t compressionValue = 0;
    // The codec database's entry for the FourCC looked up: its texts, or
    // the unknown entry's (when `codecKnown` is false).
    bool codecKnown = false;
    const char* codec = nullptr;
    const char* vendor = nullptr;
    bool decoderInstalled = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // The frame rate as rate / scale: the stream header's when both are set,
    // else a million over the main header's frame period.
    std::uint32_t rate = 0;
    std::uint32_t scale = 0;
    double framesPerSecond = 0;
    std::uint32_t frames = 0;
    double seconds = 0;
    // Average bytes per second of video in the movie data, when it can be
    // told (one video stream, a duration, audio that does not exceed it).
    std::optional<double> bytesPerSecond;
    // The display aspect ratio the file declares: its video properties'
    // ("vprp"), else the one the bitstream's pixel aspect ratio gives.
    std::optional<double> declaredAspect;
    VideoBitstream bitstream;
};

// The first audio stream's data: what its stream report's format says
// it holds, and what its first bytes say.
struct AudioReport {
    int index = 0;
    // The format of the data: an extensible format's SubFormat tag.
    std::uint16_t formatTag = 0;
    // The declared byte rate; the stream's own where MPEG audio declares 0.
    std::uint32_t bytesPerSecond = 0;
    // Only MPEG audio is scanned; other formats have no verdict and no tag.
    MpegAudioScan scan;
    // AC-3: the channels its first sync frame codes, LFE counted.
    std::optional<int> codedChannels;
};

// A stream of the header list as its header, format and neighbours
// declare it.
struct StreamReport {
    int index = 0;
    StreamType type = StreamType::Other;
    std::string handler;
    std::uint32_t scale = 0, rate = 0, start = 0, length = 0, suggestedBuffer = 0;
    std::string_view name;      // "strn"
    std::string_view language;  // IAS1 to IAS9 name the audio streams' languages, in order
    bool superIndex = false;    // an OpenDML "indx"
    // Video: the format's compression and frame size; from "vprp" the
    // frame's aspect ratio (X:Y) and fields per frame.
    std::string compression;
    std::uint32_t width = 0, height = 0;
    std::uint16_t aspectX = 0, aspectY = 0;
    std::uint32_t fieldsPerFrame = 0;
    // Audio: the format's fields; the channel mask of an extensible format.
    std::uint16_t formatTag = 0, channels = 0, bitsPerSample = 0;
    std::uint32_t sampleRate = 0, bytesPerSecond = 0, channelMask = 0;
};

// A row of the RIFF Info list: an INFO field, or readable text of a JUNK
// chunk (code "JUNK", no location).
struct InfoRow {
    std::string_view code;
    std::string_view text;  // the field's bytes as stored, up to the first NUL
    std::optional<std::size_t> location;  // chunk header in the image
};

struct AviReport {
    FileType type = FileType::Unknown;
    // Unknown when the file system did not tell them.
    std::optional<std::int64_t> size;
    std::optional<std::time_t> lastWrite;
    // Bytes the first RIFF chunk declares beyond the file's end.
    std::int64_t missingBytes = 0;
    // Whether the chunk tree was walked: an AVI file whose sizes hold.
    bool walked = false;
    bool opendml = false;
    // Entries of the legacy index (idx1); none without one.
    std::optional<std::uint32_t> legacyIndexEntries;
    std::optional<VideoReport> video;
    std::optional<AudioReport> audio;
    std::vector<StreamReport> streams;
    std::vector<InfoRow> rows;
    // The recording date as stored: the header list's IDIT, where cameras
    // put it, else the INFO list's.
    std::string_view recordedText;
    // What the walk left behind: raw headers, stream types and the chunk
    // positions the INFO edits need.
    StreamFacts walk;

    // Everything back to "nothing known", keeping the room already taken.
    void Reset();
};

}  // namespace quibo
