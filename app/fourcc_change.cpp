// SPDX-License-Identifier: GPL-3.0-or-later
// The first video stream's FourCC changed in the image, as an edit that the
// Save and Save As road writes like any other.
#include <algorithm>
#include <optional>

#include "app/main_dialog.h"
#include "codecs/installed_codecs.h"
#include "riff/riff_layout.h"

namespace quibo {

bool IsPrintableFourCC(const std::string& text) {
    return text.size() == 4 && std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

bool MainDialog::ChangeVideoFourCC(const std::string& fourCC, FourCCFields fields) {
    auto refuse = [this](const std::string& why) {
        services_.messages.Show({why + " File will not be modified", "Change FourCC", MessageButtons::Ok,
                                 MessageIcon::Exclamation});
        return false;
    };
    if (!IsPrintableFourCC(fourCC)) return refuse("\"" + fourCC + "\" is no FourCC: it takes four printable ASCII characters.");
    const StreamFacts& facts = report_.walk;
    if (!fileAnalysed_ || facts.firstVideoStream < 0) return refuse("This file has no video stream.");
    const StreamEntry& stream = facts.streams[static_cast<std::size_t>(facts.firstVideoStream)];
    // Where a field's four bytes lie, when its chunk holds them within the
    // bytes read.
    auto place = [this](const std::optional<std::size_t>& chunk, std::size_t offset) -> std::optional<std::size_t> {
        if (!chunk) return std::nullopt;
        const std::size_t at = *chunk + chunk::kDataOffset + offset;
        if (ReadLe32(fileImage_.get() + *chunk + chunk::kSizeOffset) < offset + 4 || at + 4 > loadedLength_)
            return std::nullopt;
        return at;
    };
    std::vector<std::size_t> places;
    if (fields != FourCCFields::Compression) {
        const auto handler = place(stream.headerChunk, stream_header::kHandler);
        if (!handler) return refuse("The video stream's header does not hold a handler in the first 100000 bytes.");
        places.push_back(*handler);
    }
    if (fields != FourCCFields::Handler) {
        const auto compression = place(stream.formatChunk, bitmap_info::kCompression);
        if (!compression) return refuse("The video stream has no format with a compression in the first 100000 bytes.");
        places.push_back(*compression);
    }
    for (std::size_t at : places) {
        std::copy(fourCC.begin(), fourCC.end(), fileImage_.get() + at);
        writeLength_ = std::max(imageModified_ ? writeLength_ : std::size_t{0}, at + 4);
        imageModified_ = true;
    }
    OnViewRefresh();
    return true;
}

bool MainDialog::FourCCChangesDecoder(const std::string& fourCC, FourCCFields fields) const {
    if (fields == FourCCFields::Handler || services_.decoders == nullptr || !report_.video) return false;
    const std::vector<InstalledDecoder> decoders = services_.decoders->Decoders();
    return DecoderNameFor(decoders, report_.video->compression) != DecoderNameFor(decoders, fourCC);
}

}  // namespace quibo
