// SPDX-License-Identifier: GPL-3.0-or-later
#include "codecs/codec_database.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <strings.h>

namespace quibo {
namespace {

bool IsCommentStart(char c) { return c == '#' || c == '@' || c == '\r' || c == '\n' || c == ' ' || c == '\t'; }

// Position of the first TAB or CR from `from`, or `end`.
std::size_t FieldStop(const char* text, std::size_t from, std::size_t end) {
    while (from < end && text[from] != '\t' && text[from] != '\r') ++from;
    return from;
}

}  // namespace

std::size_t CodecDatabase::FindCodecIndex(const char* key) const {
    for (std::size_t i = 1; i < kCodecSlots && slots_[i].fourCC != nullptr; ++i)
        if (::strncasecmp(key, slots_[i].fourCC, 4) == 0) return i;
    return 0;
}

std::size_t CodecDatabase::RecordCount() const {
    std::size_t count = 0;
    while (count + 1 < kCodecSlots && slots_[count + 1].fourCC != nullptr) ++count;
    return count;
}

std::span<const CodecEntry> CodecDatabase::ListedEntries() const {
    std::size_t end = 1;
    while (end < kCodecSlots && slots_[end].description != nullptr && *slots_[end].description != '\0') ++end;
    return std::span<const CodecEntry>(slots_).subspan(1, end - 1);
}

void CodecDatabase::MarkUnknownEntry() { slots_[0].description = slots_[0].vendor = "<unknown>"; }

bool CodecDatabase::Parse(std::unique_ptr<char[]> owned, std::size_t end) {
    // Records of an earlier parse point into the text about to be freed.
    std::fill(slots_.begin() + 1, slots_.end(), CodecEntry{});
    text_ = std::move(owned);
    char* text = text_.get();  // text[end] is NUL
    std::size_t cursor = 0;
    std::size_t slot = 1;
    while (cursor < end) {
        if (IsCommentStart(text[cursor])) {
            const void* lf = std::memchr(text + cursor + 1, '\n', end - cursor - 1);
            if (lf == nullptr) return true;
            cursor = static_cast<std::size_t>(static_cast<const char*>(lf) - text) + 1;
            continue;
        }
        CodecEntry& entry = slots_[slot];

        std::size_t stop = FieldStop(text, cursor, end);
        if (stop < end && text[stop] == '\r') return false;
        text[stop] = '\0';
        std::size_t fieldLength = stop - cursor;
        if (fieldLength != 4) return stop + 1 >= end;
        entry.fourCC = text + cursor;
        // A record cut short by the end of the text keeps its missing
        // fields as empty texts (they point at the final NUL).
        cursor = std::min(stop + 1, end);

        stop = FieldStop(text, cursor, end);
        if (stop < end && text[stop] == '\r') return false;
        text[stop] = '\0';
        entry.description = text + cursor;
        cursor = std::min(stop + 1, end);

        stop = FieldStop(text, cursor, end);
        if (stop < end && text[stop] == '\t') return false;
        text[stop] = '\0';
        entry.vendor = text + cursor;

        cursor = stop + 1;
        if (cursor < end) {
            ++cursor;  // the LF of the CR LF, unexamined
            while (cursor < end && (text[cursor] == '\n' || text[cursor] == '\r' || text[cursor] == ' ')) ++cursor;
        }
        if (++slot == kCodecSlots) return cursor >= end;
    }
    return true;
}

CodecLoadResult LoadCodecDatabase(FileAccess& files, const std::vector<std::string>& places,
                                  CodecDatabase& database) {
    CodecLoadResult result;
    OpenResult opened;
    // A place that holds a file which cannot be opened is the one to name,
    // not a later place that holds nothing.
    bool namedCause = false;
    for (const std::string& place : places) {
        // Read whatever locks others hold: parallel runs and package
        // managers read the database too.
        opened = files.OpenRead(place);
        if (opened.handle) {
            result.failure.path = place;
            break;
        }
        if (namedCause) continue;
        result.failure.path = place;
        result.failure.error = opened.error;
        namedCause = opened.error != ENOENT;
    }
    if (!opened.handle) {
        result.failure.kind = CodecLoadFailure::Kind::Open;
        return result;
    }
    SizeResult size = opened.handle->Size();
    if (!size.ok || size.bytes <= 0 || size.bytes > static_cast<std::int64_t>(kMaxCodecFileSize)) {
        result.failure.kind = CodecLoadFailure::Kind::InvalidSize;
        return result;
    }
    auto length = static_cast<std::size_t>(size.bytes);
    std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]());
    if (!text) {
        result.failure.kind = CodecLoadFailure::Kind::Memory;
        return result;
    }
    ReadResult read = opened.handle->ReadFromStart(reinterpret_cast<std::uint8_t*>(text.get()), length);
    if (!read.ok || read.count < length) {
        result.failure.kind = CodecLoadFailure::Kind::Read;
        result.failure.error = read.error;
        return result;
    }
    database.MarkUnknownEntry();
    result.complete = database.Parse(std::move(text), length);
    result.failure.path.clear();
    return result;
}

std::vector<std::string> CodecDatabasePlaces(const std::string& programDirectory) {
    std::vector<std::string> places{kCodecFileName, programDirectory + kCodecFileName};
#ifdef QUIBO_DATA_DIR
    places.push_back(std::string(QUIBO_DATA_DIR) + "/" + kCodecFileName);
#endif
    return places;
}

}  // namespace quibo
