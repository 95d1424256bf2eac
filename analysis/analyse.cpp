// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyse.h"

#include <algorithm>

#include "analysis/audio_facts.h"
#include "analysis/chunk_walker.h"
#include "analysis/file_identify.h"
#include "analysis/stream_list.h"
#include "analysis/video_bitstream.h"
#include "analysis/video_facts.h"
#include "riff/riff_layout.h"

namespace quibo {
namespace {

// The walk reads no chunk header at or past the image's last byte.
constexpr std::size_t kWalkEnd = kImageCapacity - 1;

}  // namespace

void Analyse(const AnalysisInput& input, AudioSampleBuffer& samples, AviReport& report) {
    report.Reset();
    samples.Rewind();
    report.size = input.fileSize;
    report.lastWrite = input.lastWrite;
    if (!input.fileSize) return;
    const std::int64_t fileSize = *input.fileSize;
    const Identification identity = IdentifyFile(input.image, fileSize);
    report.type = identity.type;
    report.missingBytes = identity.missingBytes;
    if (report.type != FileType::Avi) return;

    StreamFacts& facts = report.walk;
    // A cut file is walked as far as the headers it declares and the bytes
    // it has go.
    const auto declaredEnd = static_cast<std::int64_t>(DeclaredRiffEnd(input.image));
    WalkTarget target{input.image, facts, samples, report.rows};
    if (!WalkFileImage(target, std::max(fileSize, declaredEnd), std::min(kWalkEnd, input.loadedLength))) return;
    report.walked = true;
    report.opendml = facts.odmlHeaderMet || input.pastImage.continuesInAvix;
    report.legacyIndexEntries = input.pastImage.legacyIndexEntries;

    SummariseStreams(facts, report.rows, report.streams);
    report.recordedText = facts.recordedText;
    for (const InfoRow& row : report.rows)
        if (report.recordedText.empty() && row.location && row.code == "IDIT") report.recordedText = row.text;
    if (facts.audioStreamCount > 0)
        SummariseAudio(report.streams[static_cast<std::size_t>(facts.firstAudioStream)], samples, report.audio.emplace());
    if (facts.videoStreamCount > 0) {
        const std::uint64_t bytesAfterFirstRiff =
            fileSize > declaredEnd ? static_cast<std::uint64_t>(fileSize - declaredEnd) : 0;
        const std::uint64_t audioBytesPerSec =
            (report.audio ? report.audio->bytesPerSecond : 0) + facts.otherAudioBytesPerSec;
        SummariseVideo({facts, input.codecs, input.installed, bytesAfterFirstRiff, input.pastImage.continuesInAvix,
                        audioBytesPerSec},
                       report.video.emplace());
        VideoReport& video = *report.video;
        ReadVideoBitstream(input.image, facts, video.compression, video.handler, video.bitstream);
        const StreamReport& first = report.streams[static_cast<std::size_t>(facts.firstVideoStream)];
        const VideoBitstream& bits = video.bitstream;
        if (first.aspectX != 0 && first.aspectY != 0)
            video.declaredAspect = static_cast<double>(first.aspectX) / first.aspectY;
        else if (bits.pixelAspectX != 0 && bits.pixelAspectY != 0 && video.height != 0)
            video.declaredAspect = static_cast<double>(video.width) * bits.pixelAspectX / (static_cast<double>(video.height) * bits.pixelAspectY);
    }
}

}  // namespace quibo
