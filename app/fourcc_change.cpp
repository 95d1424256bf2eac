// SPDX-License-Identifier: GPL-3.0-or-later
// The first video stream's FourCC changed in the image, as an edit that the
// Save and Save As road writes like any other; and the Change FourCC command.
#include <algorithm>
#include <strings.h>
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

std::optional<std::string> MainDialog::DecoderChangeWarning(const std::string& fourCC, FourCCFields fields) const {
    if (fields == FourCCFields::Handler || services_.decoders == nullptr || !report_.video) return std::nullopt;
    const std::vector<InstalledDecoder> decoders = services_.decoders->Decoders();
    const std::string& old = report_.video->compression;
    const std::string before = DecoderNameFor(decoders, old), after = DecoderNameFor(decoders, fourCC);
    if (before == after) return std::nullopt;
    if (before.empty())
        return "FFmpeg has no decoder for " + old + "; for " + fourCC + " it would use " + after +
               ", which plays the stream only if it is of that kind.";
    return "FFmpeg decodes " + old + " with " + before + " but " + fourCC + " with " +
           (after.empty() ? std::string("no decoder") : after) + ": the file would no longer play as it does.";
}

FourCCQuestion MainDialog::FourCCQuestionNow() const {
    FourCCQuestion question{report_.video->handler, report_.video->compression, {}, {}};
    if (services_.decoders == nullptr) return question;
    const std::vector<InstalledDecoder> decoders = services_.decoders->Decoders();
    question.decoder = DecoderNameFor(decoders, question.compression);
    if (question.decoder.empty()) return question;
    for (const CodecEntry& entry : codecs_.ListedEntries())
        if (::strcasecmp(entry.fourCC, question.compression.c_str()) != 0 &&
            DecoderNameFor(decoders, entry.fourCC) == question.decoder)
            question.sameDecoder.push_back({entry.fourCC, entry.description});
    return question;
}

bool MainDialog::OnChangeFourCC() {
    if (services_.fourCCDialog == nullptr || !fileAnalysed_ || !report_.video) return false;
    const std::optional<FourCCAnswer> answer = services_.fourCCDialog->Ask(FourCCQuestionNow());
    if (!answer) return false;
    if (const auto warning = DecoderChangeWarning(answer->fourCC, answer->fields)) {
        if (services_.messages.Show({*warning + " Change it all the same?", "Change FourCC", MessageButtons::OkCancel,
                                     MessageIcon::Exclamation}) != MessageAnswer::Ok)
            return false;
    }
    return ChangeVideoFourCC(answer->fourCC, answer->fields);
}

}  // namespace quibo
