// SPDX-License-Identifier: GPL-3.0-or-later
// The INFO editor as the edit commands see it: it is handed the known codes,
// the field's text and code and the mode, and answers OK with both filled,
// or Cancel.
#pragma once

#include <string>

#include "info/info_edit_request.h"
#include "info/info_field_table.h"

namespace quibo {

class InfoEditor {
public:
    virtual ~InfoEditor() = default;
    // `text` and `code` (four characters and a NUL) are in-out; true is OK.
    virtual bool Run(const InfoFieldName* codeTable, std::string& text, char (&code)[5], InfoEditKind mode) = 0;
};

}  // namespace quibo
