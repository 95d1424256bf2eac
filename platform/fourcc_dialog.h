// SPDX-License-Identifier: GPL-3.0-or-later
// The Change FourCC dialog as the command sees it: it is shown the video
// stream's two FourCC fields, the decoder FFmpeg picks for them and the
// tags that decoder also reads, and answers a new FourCC and the fields it
// goes into, or Cancel.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quibo {

// Which of the first video stream's two FourCC fields a change writes.
enum class FourCCFields { Both, Handler, Compression };

struct FourCCAlternative {
    std::string fourCC;
    std::string description;  // from the codec database
};

struct FourCCQuestion {
    std::string handler;      // the stream header's
    std::string compression;  // the format's
    std::string decoder;      // FFmpeg's for the compression; empty: none
    std::vector<FourCCAlternative> sameDecoder;
};

struct FourCCAnswer {
    std::string fourCC;
    FourCCFields fields = FourCCFields::Both;
};

class FourCCDialog {
public:
    virtual ~FourCCDialog() = default;
    // Nothing when the user cancelled.
    virtual std::optional<FourCCAnswer> Ask(const FourCCQuestion& question) = 0;
};

}  // namespace quibo
