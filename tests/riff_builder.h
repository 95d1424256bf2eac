// SPDX-License-Identifier: GPL-3.0-or-later
// Composes RIFF trees byte by byte for crafted test files: leaves with any id, data and declared size, RIFF/LIST
// containers with a form type, sizes computed from the contents unless overridden, and pad bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "riff/riff_layout.h"

namespace quibo::test {

// File contents; std::string because it holds any byte and concatenates.
using Bytes = std::string;

// The id's first four bytes, NUL-filled when shorter.
inline Bytes FourBytes(const std::string& id) { return (id + std::string(4, '\0')).substr(0, 4); }

// A four-byte little-endian value.
inline Bytes Le32(std::uint32_t value) {
    Bytes bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

struct RiffNode {
    // A chunk that holds `data`; `id` gives the first four bytes.
    static RiffNode Leaf(std::string id, Bytes data = {}) {
        return {std::move(id), std::nullopt, std::move(data), {}, std::nullopt};
    }
    static RiffNode Riff(std::string formType, std::vector<RiffNode> children = {}) {
        return {"RIFF", std::move(formType), {}, std::move(children), std::nullopt};
    }
    static RiffNode List(std::string formType, std::vector<RiffNode> children = {}) {
        return {"LIST", std::move(formType), {}, std::move(children), std::nullopt};
    }

    // Writes `size` as the declared size instead of the real one; the data written stays the same.
    RiffNode& DeclaredSize(std::uint32_t size) {
        declaredSize = size;
        return *this;
    }

    Bytes ToBytes() const {
        Bytes body = formType ? FourBytes(*formType) : data;
        for (const RiffNode& child : children) body += child.ToBytes();
        Bytes bytes = FourBytes(id) + Le32(declaredSize.value_or(static_cast<std::uint32_t>(body.size()))) + body;
        return body.size() % 2 == 1 ? bytes + '\0' : bytes;
    }

    std::string id;
    std::optional<std::string> formType;  // set for containers
    Bytes data;
    std::vector<RiffNode> children;
    std::optional<std::uint32_t> declaredSize;
};

// The name the tests write their trees with.
using N = RiffNode;

// "strl" list: a stream header of `type` ("vids", "auds") whose handler is `handler`, `length` frames long at `rate`
// over `scale` (0: unset), and a stream format of `format` (none when unset).
inline RiffNode StreamList(const std::string& type, const std::string& handler, std::optional<Bytes> format,
                           std::uint32_t length = 0, std::uint32_t scale = 0, std::uint32_t rate = 0) {
    Bytes header = FourBytes(type) + FourBytes(handler) + Bytes(12, '\0') + Le32(scale) + Le32(rate) + Le32(0) +
                   Le32(length);
    header.resize(56, '\0');
    std::vector<RiffNode> chunks{RiffNode::Leaf("strh", header)};
    if (format) chunks.push_back(RiffNode::Leaf("strf", std::move(*format)));
    return RiffNode::List("strl", std::move(chunks));
}

// "INFO" list of (code, text) fields; texts are written with their NUL.
inline RiffNode InfoList(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::vector<RiffNode> chunks;
    for (const auto& [code, text] : fields) chunks.push_back(RiffNode::Leaf(code, text + '\0'));
    return RiffNode::List("INFO", std::move(chunks));
}

// The least AVI that analyses: a main header, `middle`, then a movie list of one video frame.
inline Bytes BareAvi(std::vector<RiffNode> middle) {
    middle.insert(middle.begin(), N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))}));
    middle.push_back(N::List("movi", {N::Leaf("00dc", "frame")}));
    return N::Riff("AVI ", std::move(middle)).ToBytes();
}

// An AVI whose INFO list holds INAM `title`, followed by 200 bytes of JUNK for longer texts.
inline Bytes TitledClip(const std::string& title = "Title") {
    return BareAvi({InfoList({{"INAM", title}}), N::Leaf("JUNK", Bytes(200, '\x01'))});
}

// An AVI file (form type `formType`) with one video stream (handler and compression "XVID", 320 x 240) and one MP3
// audio stream, a JUNK chunk holding "    Made with Tool 2    ", an INFO list (INAM "Title", IART "Artist") and a
// "movi" list with one video and two audio chunks ("AUD1", "AUD22").
inline RiffNode SmallAvi(const std::string& formType = "AVI ") {
    Bytes mainHeader(56, '\0');
    mainHeader.replace(32, 8, Le32(320) + Le32(240));
    Bytes bitmapInfo = Le32(40) + Le32(320) + Le32(240) + Bytes("\x01\x00\x0c\x00", 4) + "XVID";
    bitmapInfo.resize(40, '\0');
    Bytes waveFormat = Bytes("\x55\x00\x02\x00", 4) + Le32(44100) + Le32(16000) + Bytes("\x01\x00\x00\x00", 4);
    return N::Riff(formType, {
        N::List("hdrl", {N::Leaf("avih", mainHeader), StreamList("vids", "XVID", bitmapInfo),
                         StreamList("auds", "", waveFormat)}),
        N::Leaf("JUNK", "    Made with Tool 2    "),
        InfoList({{"INAM", "Title"}, {"IART", "Artist"}}),
        N::List("movi", {N::Leaf("00dc", "frame"), N::Leaf("01wb", "AUD1"), N::Leaf("01wb", "AUD22")}),
    });
}

// The "movi" list at the top level of the first RIFF chunk, header included
// (cut short where the file ends); empty when there is none.
inline Bytes MovieList(const Bytes& file) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    for (std::size_t at = 12; at + 12 <= file.size();) {
        std::uint32_t size = ReadLe32(bytes + at + 4);
        if (file.compare(at, 4, "LIST") == 0 && file.compare(at + 8, 4, "movi") == 0) return file.substr(at, 8 + size);
        at += 8 + PaddedSize(size);
    }
    return {};
}

}  // namespace quibo::test
