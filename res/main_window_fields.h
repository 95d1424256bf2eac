// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's fields in window order: group, label, place in dialog
// units (x, y, width, height) and the widest text the field must show
// whole at the window's default size (a 4K file of several GB).
#pragma once

#include <span>

namespace quibo {

enum class FieldGroup { General, Video, Audio };

struct FieldSpec {
    int controlId;
    FieldGroup group;
    const char* label;
    int x, y, width, height;
    const char* widestText;
};

std::span<const FieldSpec> MainWindowFields();
const char* GroupName(FieldGroup group);

}  // namespace quibo
