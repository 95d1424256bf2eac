// The rows of the RIFF Info list: INFO fields and readable JUNK text, in
// the order the walk met them, mirrored onto the field surface.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/field_surface.h"

namespace quibo {

struct InfoField {
    std::string code;  // up to four bytes
    const char* name = "";
    std::string text;  // the field's bytes as stored
    std::optional<std::size_t> location;  // chunk header in the file image
};

class InfoList {
public:
    explicit InfoList(FieldSurface& surface) : surface_(surface) {}

    void Clear();
    // Names the code and inserts the row at `row`.
    void AddInfoField(int row, std::optional<std::size_t> location, std::string_view code, std::string_view text);

    const std::vector<InfoField>& Rows() const { return rows_; }
    // The first selected row, or null.
    const InfoField* SelectedRow() const;

private:
    FieldSurface& surface_;
    std::vector<InfoField> rows_;
};

// Whether Edit and Delete apply to the selected row.
bool CanEditSelection(bool fileAnalysed, const InfoList& list);

}  // namespace quibo
