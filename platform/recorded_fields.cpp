// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/recorded_fields.h"

namespace quibo {

void RecordedFields::InsertInfoRow(int row, const InfoRowText& text) {
    if (row < 0 || static_cast<std::size_t>(row) > rows_.size()) row = static_cast<int>(rows_.size());
    rows_.insert(rows_.begin() + row, text);
}

const FieldState& RecordedFields::Field(int controlId) const {
    static const FieldState kUntouched{};
    auto found = fields_.find(controlId);
    return found == fields_.end() ? kUntouched : found->second;
}

}  // namespace quibo
