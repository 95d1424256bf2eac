// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/chunk_walker.h"

#include <algorithm>
#include <initializer_list>
#include <cstring>
#include <strings.h>

#include "riff/riff_layout.h"
#include "analysis/text_runs.h"

namespace quibo {
namespace {

constexpr std::int64_t kSizeTolerance = 1024;
constexpr int kMaxJunkTextRows = 5;
// The image holds at most 12,500 chunks. A list whose children run past its
// end is walked on to the image's end, and its parent walks the same bytes
// again: nested, such lists would take the walk years. A tree that needs
// more visits than this overlaps itself, and is invalid.
constexpr std::size_t kMaxChunkVisits = 100000;

// Joins parent path, "/" and the given parts into a fixed path buffer.
// Returns the path, or an empty view when it would not fit.
std::string_view JoinPath(char (&buffer)[kMaxChunkPath + 1], std::string_view parent,
                          std::initializer_list<std::string_view> parts) {
    std::size_t length = parent.size() + 1;
    for (std::string_view part : parts) length += part.size();
    if (length > kMaxChunkPath) return {};
    char* out = std::copy(parent.begin(), parent.end(), buffer);
    *out++ = '/';
    for (std::string_view part : parts) out = std::copy(part.begin(), part.end(), out);
    *out = '\0';
    return {buffer, length};
}

// Bytes of the image from `offset` on, at most `wanted`.
std::size_t BytesInImage(std::size_t offset, std::uint64_t wanted) {
    if (offset >= kImageCapacity) return 0;
    return static_cast<std::size_t>(std::min<std::uint64_t>(wanted, kImageCapacity - offset));
}

// Copies the first bytes of a chunk's data; what lies past the image is zero.
template <std::size_t N>
void CopyData(const WalkTarget& target, std::size_t chunk, std::array<std::uint8_t, N>& into) {
    std::size_t data = chunk + chunk::kDataOffset;
    std::size_t have = BytesInImage(data, N);
    std::memcpy(into.data(), target.image + data, have);
    std::fill(into.begin() + static_cast<std::ptrdiff_t>(have), into.end(), 0);
}

// A chunk's data read as a zero-terminated text that never runs past the
// chunk or the image.
std::string_view DataText(const WalkTarget& target, std::size_t chunk) {
    std::size_t data = chunk + chunk::kDataOffset;
    std::size_t bound = BytesInImage(data, ReadLe32(target.image + chunk + chunk::kSizeOffset));
    const auto* begin = reinterpret_cast<const char*>(target.image + data);
    const void* nul = std::memchr(begin, 0, bound);
    return {begin, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - begin) : bound};
}

bool FourBytesEqualIgnoringCase(const std::uint8_t* bytes, const char* text) {
    return ::strncasecmp(reinterpret_cast<const char*>(bytes), text, 4) == 0;
}

void AddRow(const WalkTarget& target, std::string_view code, std::string_view text,
            std::optional<std::size_t> location) {
    target.rows.push_back({code, text, location});
}

StreamType StreamTypeOf(const std::uint8_t* type) {
    if (FourBytesEqualIgnoringCase(type, "vids")) return StreamType::Video;
    if (FourBytesEqualIgnoringCase(type, "auds")) return StreamType::Audio;
    if (FourBytesEqualIgnoringCase(type, "txts")) return StreamType::Text;
    return StreamType::Other;
}

void HandleStreamHeader(const WalkTarget& target, std::size_t chunk) {
    StreamFacts& facts = target.facts;
    const auto stream = static_cast<std::int32_t>(facts.streams.size());
    StreamEntry& entry = facts.streams.emplace_back();
    CopyData(target, chunk, entry.header);
    entry.headerChunk = chunk;
    const StreamType type = entry.type = StreamTypeOf(entry.header.data());
    if (type == StreamType::Video && ++facts.videoStreamCount == 1) facts.firstVideoStream = stream;
    if (type == StreamType::Audio && ++facts.audioStreamCount == 1) facts.firstAudioStream = stream;
}

// The format of the stream whose header came last. The video fields take
// the last format of any stream that is not audio; the byte rates of the
// audio streams after the first are added up.
void HandleStreamFormat(const WalkTarget& target, std::size_t chunk) {
    StreamFacts& facts = target.facts;
    const bool audio = !facts.streams.empty() && facts.streams.back().type == StreamType::Audio;
    if (!facts.streams.empty()) {
        CopyData(target, chunk, facts.streams.back().format);
        facts.streams.back().hasFormat = true;
        facts.streams.back().formatChunk = chunk;
    }
    if (!audio)
        CopyData(target, chunk, facts.videoFormat);
    else if (static_cast<std::int32_t>(facts.streams.size()) - 1 != facts.firstAudioStream)
        facts.otherAudioBytesPerSec += ReadLe32(facts.streams.back().format.data() + wave_format::kAvgBytesPerSec);
}

// Whether the leaf `path` is a data chunk of the first audio stream, directly
// in the movie list: its id is the stream's number in two digits and "wb".
bool IsFirstAudioStreamData(const StreamFacts& facts, std::string_view path) {
    constexpr std::string_view kMovie = "/RIFF:AVI /LIST:movi/";
    if (facts.firstAudioStream < 0 || facts.firstAudioStream > 99 || path.size() != kMovie.size() + 4 ||
        !path.starts_with(kMovie))
        return false;
    const char id[] = {static_cast<char>('0' + facts.firstAudioStream / 10),
                       static_cast<char>('0' + facts.firstAudioStream % 10), 'w', 'b'};
    return path.substr(kMovie.size()) == std::string_view(id, 4);
}

// Whether the leaf `path` is a data chunk ("dc" or "db") of the first video
// stream in the movie list, directly or in a "rec " list.
bool IsFirstVideoStreamData(const StreamFacts& facts, std::string_view path) {
    if (facts.firstVideoStream < 0 || facts.firstVideoStream > 99 || path.size() < 5 ||
        path.find("/LIST:movi/") == std::string_view::npos)
        return false;
    const std::string_view id = path.substr(path.size() - 4);
    return id[0] == '0' + facts.firstVideoStream / 10 && id[1] == '0' + facts.firstVideoStream % 10 &&
           id[2] == 'd' && (id[3] == 'c' || id[3] == 'b');
}

void HarvestJunkText(const WalkTarget& target, std::size_t chunk) {
    StreamFacts& facts = target.facts;
    std::size_t data = chunk + chunk::kDataOffset;
    std::uint32_t declared = ReadLe32(target.image + chunk + chunk::kSizeOffset);
    // The declared size read as signed: a negative one holds no text.
    std::int64_t left = static_cast<std::int32_t>(declared);
    left = std::min<std::int64_t>(left, static_cast<std::int64_t>(BytesInImage(data, declared)));
    const std::uint8_t* cursor = target.image + data;
    while (auto run = FindTextRun(cursor, left)) {
        if (facts.junkTextCount++ >= kMaxJunkTextRows) return;
        AddRow(target, "JUNK", {reinterpret_cast<const char*>(cursor + run->start), run->length}, std::nullopt);
        std::size_t consumed = run->start + run->length;
        cursor += consumed;
        left -= static_cast<std::int64_t>(consumed);
    }
}

class Walker {
public:
    Walker(const WalkTarget& target, std::size_t walkEnd) : target_(target), walkEnd_(walkEnd) {}

    // `sizeExcess` is how far the chunk's declared size exceeds its
    // parent's, computed by the caller in the parent's arithmetic.
    bool Walk(std::size_t chunk, std::string_view parentPath, std::int64_t sizeExcess) {
        if (sizeExcess > kSizeTolerance || ++visits_ > kMaxChunkVisits) return false;
        const std::uint8_t* header = target_.image + chunk;
        std::uint32_t size = ReadLe32(header + chunk::kSizeOffset);
        if (!IsContainerId(header)) {
            char path[kMaxChunkPath + 1];
            HandleLeafChunk(target_, chunk, JoinPath(path, parentPath, {ChunkIdText(header)}));
            return true;
        }
        std::string_view formType = ChunkIdText(header + chunk::kFormTypeOffset);
        if (formType == "movi") {
            target_.facts.moviSize = size;
            target_.facts.movieListMet = true;
        }

        std::uint32_t budget = static_cast<std::uint32_t>(PaddedSize(size)) - 4;
        if (budget == 0) return true;

        char buffer[kMaxChunkPath + 1];
        std::string_view childPath = JoinPath(buffer, parentPath, {ChunkIdText(header), ":", formType});
        // Every leaf below must still fit the path limit: deeper nesting is
        // not descended into.
        if (childPath.empty() || childPath.size() + 5 > kMaxChunkPath) return true;

        std::uint64_t child = chunk + chunk::kContainerHeaderSize;
        while (child < walkEnd_ && ChildHeaderInImage(child)) {
            std::size_t at = static_cast<std::size_t>(child);
            std::uint32_t childSize = ReadLe32(target_.image + at + chunk::kSizeOffset);
            // In 64 bits: a parent of 2 GiB or more must not make its small
            // children look larger than itself.
            std::int64_t excess = static_cast<std::int64_t>(childSize) - static_cast<std::int64_t>(size);
            if (!Walk(at, childPath, excess)) return false;
            std::uint64_t step = PaddedSize(childSize) + chunk::kHeaderSize;
            child += step;
            budget -= static_cast<std::uint32_t>(step);
            if (budget == 0) break;
        }
        return true;
    }

private:
    bool ChildHeaderInImage(std::uint64_t offset) const {
        if (offset + chunk::kHeaderSize > kImageCapacity) return false;
        if (IsContainerId(target_.image + offset)) return offset + chunk::kContainerHeaderSize <= kImageCapacity;
        return true;
    }

    const WalkTarget& target_;
    std::size_t walkEnd_;
    std::size_t visits_ = 0;
};

}  // namespace

std::string_view ChunkIdText(const std::uint8_t* id) {
    const auto* text = reinterpret_cast<const char*>(id);
    const void* nul = std::memchr(text, 0, 4);
    return {text, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : 4};
}

bool PathEndsWith(std::string_view path, std::string_view suffix) {
    if (suffix.size() > path.size()) return false;
    return ::strncasecmp(path.data() + path.size() - suffix.size(), suffix.data(), suffix.size()) == 0;
}

bool WalkFileImage(const WalkTarget& target, std::int64_t fileSize, std::size_t walkEnd) {
    std::int64_t declared = ReadLe32(target.image + chunk::kSizeOffset);
    return Walker(target, walkEnd).Walk(0, "", declared - fileSize);
}

void HandleLeafChunk(const WalkTarget& target, std::size_t offset, std::string_view path) {
    StreamFacts& facts = target.facts;
    const std::uint8_t* header = target.image + offset;
    if (path == "/RIFF:AVI /LIST:hdrl/LIST:strl/strh") {
        HandleStreamHeader(target, offset);
    } else if (path == "/RIFF:AVI /LIST:hdrl/LIST:strl/strf") {
        HandleStreamFormat(target, offset);
    } else if (path == "/RIFF:AVI /LIST:hdrl/IDIT") {
        facts.recordedText = DataText(target, offset);
    } else if (path == "/RIFF:AVI /LIST:hdrl/LIST:strl/strn") {
        if (!facts.streams.empty()) facts.streams.back().name = DataText(target, offset);
    } else if (path == "/RIFF:AVI /LIST:hdrl/LIST:strl/indx") {
        if (!facts.streams.empty()) facts.streams.back().superIndex = true;
    } else if (path == "/RIFF:AVI /LIST:hdrl/LIST:strl/vprp") {
        if (!facts.streams.empty()) {
            CopyData(target, offset, facts.streams.back().properties);
            facts.streams.back().hasProperties = true;
        }
    } else if (path == "/RIFF:AVI /LIST:hdrl/avih") {
        CopyData(target, offset, facts.mainHeader);
    } else if (path == "/RIFF:AVI /LIST:hdrl/LIST:odml/dmlh") {
        std::array<std::uint8_t, 4> total{};
        CopyData(target, offset, total);
        facts.odmlTotalFrames = ReadLe32(total.data() + odml_header::kTotalFrames);
        facts.odmlHeaderMet = true;
    } else if (IsFirstAudioStreamData(facts, path)) {
        std::size_t data = offset + chunk::kDataOffset;
        target.audio.Append(target.image + data, BytesInImage(data, ReadLe32(header + chunk::kSizeOffset)));
    } else if (IsFirstVideoStreamData(facts, path)) {
        if (facts.videoChunkCount < kKeptVideoChunks) {
            std::size_t data = offset + chunk::kDataOffset;
            facts.videoChunks[facts.videoChunkCount++] = {data, BytesInImage(data, ReadLe32(header + chunk::kSizeOffset))};
        }
    } else if (path.find("/LIST:INFO/") != std::string_view::npos) {
        std::string_view text = ReadLe32(header + chunk::kSizeOffset) == 0 ? std::string_view() : DataText(target, offset);
        AddRow(target, ChunkIdText(header), text, offset);
        if (!facts.firstInfoChunk) facts.firstInfoChunk = offset;
    } else if (path == "/RIFF:AVI /LIST:hdrl/ISFT") {
        AddRow(target, ChunkIdText(header), DataText(target, offset), offset);
    } else if (PathEndsWith(path, "/JUNK")) {
        std::uint32_t size = ReadLe32(header + chunk::kSizeOffset);
        auto smaller = [&](const std::optional<std::size_t>& junk) {
            return !junk || size > ReadLe32(target.image + *junk + chunk::kSizeOffset);
        };
        if (smaller(facts.largestJunkChunk)) {
            facts.largestJunkChunk = offset;
            facts.largestJunkInStreamList = path.find("/LIST:strl/") != std::string_view::npos;
        }
        constexpr std::string_view kFirstRiff = "/RIFF:AVI /";
        bool topLevel = path.size() == kFirstRiff.size() + 4 && path.starts_with(kFirstRiff);
        if (topLevel && !facts.movieListMet && smaller(facts.largestTopLevelJunkChunk))
            facts.largestTopLevelJunkChunk = offset;
        HarvestJunkText(target, offset);
    }
}

}  // namespace quibo
