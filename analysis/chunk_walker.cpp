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

// Where a list lies in the tree, as far as the handling of its leaves
// cares: found once for each list from its path ("/RIFF:AVI /LIST:hdrl").
struct ListPlace {
    enum class Kind { Other, FirstRiff, Header, StreamList, OpenDml, Movie };
    Kind kind = Kind::Other;
    bool inMovie = false;       // at any depth below a "movi" list
    bool inInfo = false;        // below an "INFO" list
    bool inStreamList = false;  // below a "strl" list
};

// Whether the list at `path`, or a list above it, is `list` ("/LIST:movi/").
bool IsAtOrBelow(std::string_view path, std::string_view list) {
    return path.find(list) != std::string_view::npos || path.ends_with(list.substr(0, list.size() - 1));
}

ListPlace PlaceOf(std::string_view path) {
    using Kind = ListPlace::Kind;
    ListPlace place;
    if (path == "/RIFF:AVI ") place.kind = Kind::FirstRiff;
    else if (path == "/RIFF:AVI /LIST:hdrl") place.kind = Kind::Header;
    else if (path == "/RIFF:AVI /LIST:hdrl/LIST:strl") place.kind = Kind::StreamList;
    else if (path == "/RIFF:AVI /LIST:hdrl/LIST:odml") place.kind = Kind::OpenDml;
    else if (path == "/RIFF:AVI /LIST:movi") place.kind = Kind::Movie;
    place.inMovie = IsAtOrBelow(path, "/LIST:movi/");
    place.inInfo = IsAtOrBelow(path, "/LIST:INFO/");
    place.inStreamList = IsAtOrBelow(path, "/LIST:strl/");
    return place;
}

// Whether `id` is four characters that start with the stream's number in
// two digits.
bool IsStreamDataId(std::int32_t stream, std::string_view id) {
    return stream >= 0 && stream <= 99 && id.size() == 4 && id[0] == '0' + stream / 10 && id[1] == '0' + stream % 10;
}

// A data chunk of the first audio stream lies directly in the movie list; one
// of the first video stream ("dc" or "db") there or in a "rec " list.
bool IsFirstAudioStreamData(const StreamFacts& facts, const ListPlace& list, std::string_view id) {
    return list.kind == ListPlace::Kind::Movie && IsStreamDataId(facts.firstAudioStream, id) && id.ends_with("wb");
}

bool IsFirstVideoStreamData(const StreamFacts& facts, const ListPlace& list, std::string_view id) {
    return list.inMovie && IsStreamDataId(facts.firstVideoStream, id) && id[2] == 'd' && (id[3] == 'c' || id[3] == 'b');
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

// The leaves of the header list and its stream and OpenDML lists. Returns
// false for a leaf it does not handle.
bool HandleHeaderLeaf(const WalkTarget& target, std::size_t offset, const ListPlace& list, std::string_view id) {
    using Kind = ListPlace::Kind;
    StreamFacts& facts = target.facts;
    if (list.kind == Kind::StreamList && id == "strh") {
        HandleStreamHeader(target, offset);
    } else if (list.kind == Kind::StreamList && id == "strf") {
        HandleStreamFormat(target, offset);
    } else if (list.kind == Kind::StreamList && id == "strn") {
        if (!facts.streams.empty()) facts.streams.back().name = DataText(target, offset);
    } else if (list.kind == Kind::StreamList && id == "indx") {
        if (!facts.streams.empty()) facts.streams.back().superIndex = true;
    } else if (list.kind == Kind::StreamList && id == "vprp") {
        if (!facts.streams.empty()) {
            CopyData(target, offset, facts.streams.back().properties);
            facts.streams.back().hasProperties = true;
        }
    } else if (list.kind == Kind::Header && id == "IDIT") {
        facts.recordedText = DataText(target, offset);
    } else if (list.kind == Kind::Header && id == "avih") {
        CopyData(target, offset, facts.mainHeader);
    } else if (list.kind == Kind::Header && id == "ISFT") {
        AddRow(target, id, DataText(target, offset), offset);
    } else if (list.kind == Kind::OpenDml && id == "dmlh") {
        std::array<std::uint8_t, 4> total{};
        CopyData(target, offset, total);
        facts.odmlTotalFrames = ReadLe32(total.data() + odml_header::kTotalFrames);
        facts.odmlHeaderMet = true;
    } else {
        return false;
    }
    return true;
}

void HandleJunkChunk(const WalkTarget& target, std::size_t offset, const ListPlace& list) {
    StreamFacts& facts = target.facts;
    std::uint32_t size = ReadLe32(target.image + offset + chunk::kSizeOffset);
    auto smaller = [&](const std::optional<std::size_t>& junk) {
        return !junk || size > ReadLe32(target.image + *junk + chunk::kSizeOffset);
    };
    if (smaller(facts.largestJunkChunk)) {
        facts.largestJunkChunk = offset;
        facts.largestJunkInStreamList = list.inStreamList;
    }
    if (list.kind == ListPlace::Kind::FirstRiff && !facts.movieListMet && smaller(facts.largestTopLevelJunkChunk))
        facts.largestTopLevelJunkChunk = offset;
    HarvestJunkText(target, offset);
}

// The leaf dispatch for the chunk at `offset` in `list`.
void HandleLeafChunk(const WalkTarget& target, std::size_t offset, const ListPlace& list) {
    StreamFacts& facts = target.facts;
    const std::uint8_t* header = target.image + offset;
    const std::string_view id = ChunkIdText(header);
    if (HandleHeaderLeaf(target, offset, list, id)) return;
    if (IsFirstAudioStreamData(facts, list, id)) {
        std::size_t data = offset + chunk::kDataOffset;
        target.audio.Append(target.image + data, BytesInImage(data, ReadLe32(header + chunk::kSizeOffset)));
    } else if (IsFirstVideoStreamData(facts, list, id)) {
        if (facts.videoChunkCount < kKeptVideoChunks) {
            std::size_t data = offset + chunk::kDataOffset;
            facts.videoChunks[facts.videoChunkCount++] = {data, BytesInImage(data, ReadLe32(header + chunk::kSizeOffset))};
        }
    } else if (list.inInfo) {
        std::string_view text = ReadLe32(header + chunk::kSizeOffset) == 0 ? std::string_view() : DataText(target, offset);
        AddRow(target, id, text, offset);
        if (!facts.firstInfoChunk) facts.firstInfoChunk = offset;
    } else if (id.size() == 4 && FourBytesEqualIgnoringCase(header, "JUNK")) {
        HandleJunkChunk(target, offset, list);
    }
}

class Walker {
public:
    Walker(const WalkTarget& target, std::size_t walkEnd) : target_(target), walkEnd_(walkEnd) {}

    // `sizeExcess` is how far the chunk's declared size exceeds its
    // parent's, computed by the caller in the parent's arithmetic.
    bool Walk(std::size_t chunk, std::string_view parentPath, const ListPlace& parent, std::int64_t sizeExcess) {
        if (sizeExcess > kSizeTolerance || ++visits_ > kMaxChunkVisits) return false;
        const std::uint8_t* header = target_.image + chunk;
        std::uint32_t size = ReadLe32(header + chunk::kSizeOffset);
        if (!IsContainerId(header)) {
            HandleLeafChunk(target_, chunk, parent);
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
        const ListPlace place = PlaceOf(childPath);

        std::uint64_t child = chunk + chunk::kContainerHeaderSize;
        while (child < walkEnd_ && ChildHeaderInImage(child)) {
            std::size_t at = static_cast<std::size_t>(child);
            std::uint32_t childSize = ReadLe32(target_.image + at + chunk::kSizeOffset);
            // In 64 bits: a parent of 2 GiB or more must not make its small
            // children look larger than itself.
            std::int64_t excess = static_cast<std::int64_t>(childSize) - static_cast<std::int64_t>(size);
            if (!Walk(at, childPath, place, excess)) return false;
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

bool WalkFileImage(const WalkTarget& target, std::int64_t fileSize, std::size_t walkEnd) {
    std::int64_t declared = ReadLe32(target.image + chunk::kSizeOffset);
    return Walker(target, walkEnd).Walk(0, "", ListPlace{}, declared - fileSize);
}

}  // namespace quibo
