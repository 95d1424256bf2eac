// Composes RIFF trees byte by byte for crafted test files: leaves with any
// id, data and declared size, RIFF/LIST containers with a form type, sizes
// computed from the contents unless overridden, and pad bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quibo::test {

// File contents; std::string because it holds any byte and concatenates.
using Bytes = std::string;

class RiffNode {
public:
    // A chunk that holds `data`; `id` gives the first four bytes.
    static RiffNode Leaf(std::string id, Bytes data = {});
    // A container with any id (normally "RIFF" or "LIST").
    static RiffNode Container(std::string id, std::string formType, std::vector<RiffNode> children = {});
    static RiffNode Riff(std::string formType, std::vector<RiffNode> children = {});
    static RiffNode List(std::string formType, std::vector<RiffNode> children = {});

    // Writes `size` as the declared size instead of the real one; the data
    // written stays the same.
    RiffNode& DeclaredSize(std::uint32_t size);
    // Leaves out the pad byte after odd-sized data.
    RiffNode& WithoutPad();

    Bytes ToBytes() const;

private:
    std::string id_;
    std::optional<std::string> formType_;  // set for containers
    Bytes data_;
    std::vector<RiffNode> children_;
    std::optional<std::uint32_t> declaredSize_;
    bool pad_ = true;
};

// A four-byte little-endian value.
Bytes Le32(std::uint32_t value);

// "strl" list: a stream header of `type` ("vids", "auds") whose handler is
// `handler`, and a stream format of `format`.
RiffNode StreamList(const std::string& type, const std::string& handler, Bytes format);

// "INFO" list of (code, text) fields; texts are written with their NUL.
RiffNode InfoList(const std::vector<std::pair<std::string, std::string>>& fields);

// An AVI file (form type `formType`) with one video stream (handler and
// compression "XVID", 320 x 240) and one MP3 audio stream, a JUNK chunk
// holding "    Made with Tool 2    ", an INFO list (INAM "Title", IART
// "Artist") and a "movi" list with one video and two audio chunks ("AUD1",
// "AUD22").
RiffNode SmallAvi(const std::string& formType = "AVI ");

// The "movi" list at the top level of the first RIFF chunk, header included
// (cut short where the file ends); empty when there is none.
Bytes MovieList(const Bytes& file);

}  // namespace quibo::test
