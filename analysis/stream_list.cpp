// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/stream_list.h"

#include "analysis/chunk_walker.h"
#include "riff/riff_layout.h"

namespace quibo {
namespace {

// The text of the first INFO field named `code`.
std::string_view FieldText(const std::vector<InfoRow>& rows, std::string_view code) {
    for (const InfoRow& row : rows)
        if (row.location && row.code == code) return row.text;
    return {};
}

void ReadVideoFormat(const StreamEntry& entry, StreamReport& stream) {
    const std::uint8_t* format = entry.format.data();
    stream.compression = bitmap_info::CompressionText(ReadLe32(format + bitmap_info::kCompression));
    stream.width = ReadLe32(format + bitmap_info::kWidth);
    // Bottom-up frames store a positive height, top-down a negative one.
    const auto height = static_cast<std::int32_t>(ReadLe32(format + bitmap_info::kHeight));
    stream.height = height < 0 ? 0u - static_cast<std::uint32_t>(height) : static_cast<std::uint32_t>(height);
    if (!entry.hasProperties) return;
    const std::uint32_t aspect = ReadLe32(entry.properties.data() + video_properties::kFrameAspectRatio);
    stream.aspectX = static_cast<std::uint16_t>(aspect >> 16);
    stream.aspectY = static_cast<std::uint16_t>(aspect & 0xFFFF);
    stream.fieldsPerFrame = ReadLe32(entry.properties.data() + video_properties::kFieldsPerFrame);
}

void ReadAudioFormat(const StreamEntry& entry, StreamReport& stream) {
    const std::uint8_t* format = entry.format.data();
    stream.formatTag = ReadLe16(format + wave_format::kFormatTag);
    stream.channels = ReadLe16(format + wave_format::kChannels);
    stream.sampleRate = ReadLe32(format + wave_format::kSamplesPerSec);
    stream.bytesPerSecond = ReadLe32(format + wave_format::kAvgBytesPerSec);
    stream.bitsPerSample = ReadLe16(format + wave_format::kBitsPerSample);
    if (stream.formatTag == wave_format::kExtensibleTag) {
        stream.formatTag = ReadLe16(format + wave_format::kSubFormat);
        stream.channelMask = ReadLe32(format + wave_format::kChannelMask);
    }
}

}  // namespace

void SummariseStreams(const StreamFacts& facts, const std::vector<InfoRow>& rows, std::vector<StreamReport>& streams) {
    streams.clear();
    int audioStreams = 0;
    for (const StreamEntry& entry : facts.streams) {
        StreamReport& stream = streams.emplace_back();
        stream.index = static_cast<int>(streams.size() - 1);
        stream.type = entry.type;
        const std::uint8_t* header = entry.header.data();
        stream.handler = ChunkIdText(header + stream_header::kHandler);
        stream.scale = ReadLe32(header + stream_header::kScale);
        stream.rate = ReadLe32(header + stream_header::kRate);
        stream.start = ReadLe32(header + stream_header::kStart);
        stream.length = ReadLe32(header + stream_header::kLength);
        stream.suggestedBuffer = ReadLe32(header + stream_header::kSuggestedBufferSize);
        stream.name = entry.name;
        stream.superIndex = entry.superIndex;
        if (entry.type == StreamType::Video && entry.hasFormat) ReadVideoFormat(entry, stream);
        if (entry.type != StreamType::Audio) continue;
        if (entry.hasFormat) ReadAudioFormat(entry, stream);
        if (++audioStreams <= 9) {
            const char code[] = {'I', 'A', 'S', static_cast<char>('0' + audioStreams)};
            stream.language = FieldText(rows, {code, 4});
        }
    }
}

}  // namespace quibo
