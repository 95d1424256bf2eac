// The main window's fields in window order: group, label and place in
// dialog units (x, y, width, height).
#pragma once

#include <span>

namespace quibo {

enum class FieldGroup { General, Video, Audio };

struct FieldSpec {
    int controlId;
    FieldGroup group;
    const char* label;
    int x, y, width, height;
};

std::span<const FieldSpec> MainWindowFields();
const char* GroupName(FieldGroup group);

}  // namespace quibo
