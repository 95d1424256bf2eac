// SPDX-License-Identifier: GPL-3.0-or-later
// Where the main window's facts are shown: one replaceable text, a check
// state and an enable state per control id, and the rows of the INFO list.
#pragma once

#include <string>

namespace quibo {

struct InfoRowText {
    std::string code;
    std::string name;
    std::string contents;  // already decoded for display (UTF-8)
};

class FieldSurface {
public:
    virtual ~FieldSurface() = default;
    virtual void SetText(int controlId, const std::string& text) = 0;
    virtual void SetChecked(int controlId, bool checked) = 0;
    virtual void SetEnabled(int controlId, bool enabled) = 0;

    virtual void ClearInfoRows() = 0;
    virtual void InsertInfoRow(int row, const InfoRowText& text) = 0;
    // Index of the first selected row, or -1.
    virtual int SelectedInfoRow() const = 0;
};

}  // namespace quibo
