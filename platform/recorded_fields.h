// SPDX-License-Identifier: GPL-3.0-or-later
// A FieldSurface that keeps what it was told in memory: the surface of the
// headless front end, and of tests.
#pragma once

#include <map>
#include <vector>

#include "platform/field_surface.h"

namespace quibo {

struct FieldState {
    std::string text;
    bool checked = false;
    bool enabled = true;
};

class RecordedFields final : public FieldSurface {
public:
    void SetText(int controlId, const std::string& text) override { fields_[controlId].text = text; }
    void SetChecked(int controlId, bool checked) override { fields_[controlId].checked = checked; }
    void SetEnabled(int controlId, bool enabled) override { fields_[controlId].enabled = enabled; }

    void ClearInfoRows() override {
        rows_.clear();
        selected_ = -1;
    }
    void InsertInfoRow(int row, const InfoRowText& text) override;
    int SelectedInfoRow() const override { return selected_; }

    void Select(int row) { selected_ = row; }
    const FieldState& Field(int controlId) const;
    const std::string& Text(int controlId) const { return Field(controlId).text; }
    const std::vector<InfoRowText>& Rows() const { return rows_; }

private:
    std::map<int, FieldState> fields_;
    std::vector<InfoRowText> rows_;
    int selected_ = -1;
};

}  // namespace quibo
