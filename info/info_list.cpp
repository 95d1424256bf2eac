#include "info/info_list.h"

#include <strings.h>

#include <algorithm>

#include "info/display_text.h"
#include "info/info_field_table.h"

namespace quibo {

void InfoList::Clear() {
    rows_.clear();
    surface_.ClearInfoRows();
}

void InfoList::AddInfoField(int row, std::optional<std::size_t> location, std::string_view code,
                            std::string_view text) {
    InfoField field;
    field.code.assign(code.substr(0, 4));
    field.name = InfoFieldNameFor(field.code);
    field.text.assign(text);
    field.location = location;
    std::size_t at = row < 0 ? rows_.size() : std::min(static_cast<std::size_t>(row), rows_.size());
    surface_.InsertInfoRow(static_cast<int>(at), {DisplayText(field.code), field.name, DisplayText(field.text)});
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(field));
}

const InfoField* InfoList::SelectedRow() const {
    int selected = surface_.SelectedInfoRow();
    if (selected < 0 || static_cast<std::size_t>(selected) >= rows_.size()) return nullptr;
    return &rows_[static_cast<std::size_t>(selected)];
}

bool CanEditSelection(bool fileAnalysed, const InfoList& list) {
    if (!fileAnalysed) return false;
    const InfoField* row = list.SelectedRow();
    if (row == nullptr) return false;
    // The code as the list shows it: up to its first NUL.
    std::string_view code(row->code.c_str());
    if (code.empty() || code.front() == ' ') return false;
    return !(code.size() == 4 && ::strncasecmp(code.data(), "JUNK", 4) == 0);
}

}  // namespace quibo
