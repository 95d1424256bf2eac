// SPDX-License-Identifier: GPL-3.0-or-later
#include "codecs/installed_codecs.h"

#include <strings.h>

namespace quibo {
namespace {

std::string Cell(const std::string& text) { return text.substr(0, kInstalledCellLength); }

std::string UpperCaseCell(const std::string& text) {
    std::string cell = Cell(text);
    for (char& c : cell)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return cell;
}

// What a slot of the list keeps: the text up to its first NUL, at most 4
// characters, letter case unchanged.
std::string SlotText(const std::string& fourCC) { return std::string(fourCC.c_str()).substr(0, 4); }

}  // namespace

std::vector<InstalledCodecRow> EnumerateInstalledCodecs(InstalledDecoderSource& source,
                                                        const CodecDatabase* listWith,
                                                        InstalledFourCCList* target) {
    std::vector<InstalledCodecRow> rows;
    for (const InstalledDecoder& decoder : source.Decoders()) {
        if (!decoder.name) continue;
        const std::string fourCC = decoder.fourCC.value_or(kMissingHandler);
        if (target) target->Add(SlotText(fourCC));
        if (!listWith) continue;
        std::pair<std::string, std::string> info;
        if (!fourCC.empty()) info = FindInstalledCodecInfo(*listWith, fourCC);
        rows.push_back({UpperCaseCell(fourCC), Cell(*decoder.name), Cell(info.first), Cell(info.second)});
    }
    return rows;
}

void CollectInstalledFourCCs(InstalledDecoderSource& source, InstalledFourCCList& target) {
    target.FillOnFirstRead([&source] {
        InstalledFourCCList collected;
        EnumerateInstalledCodecs(source, nullptr, &collected);
        return collected.Codes();
    });
}

std::pair<std::string, std::string> FindInstalledCodecInfo(const CodecDatabase& database, const std::string& fourCC) {
    for (std::size_t i = 1; i < kCodecSlots; ++i) {
        const CodecEntry& entry = database.Slot(i);
        if (entry.fourCC == nullptr) break;
        if (::strcasecmp(fourCC.c_str(), entry.fourCC) == 0)
            return {entry.description ? entry.description : "", entry.vendor ? entry.vendor : ""};
    }
    return {};
}

std::string DecoderNameFor(const std::vector<InstalledDecoder>& decoders, const std::string& fourCC) {
    for (const InstalledDecoder& decoder : decoders)
        if (decoder.name && decoder.fourCC && ::strcasecmp(decoder.fourCC->c_str(), fourCC.c_str()) == 0)
            return *decoder.name;
    return {};
}

}  // namespace quibo
