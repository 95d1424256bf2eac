// SPDX-License-Identifier: GPL-3.0-or-later
// What each field of the main window says when the mouse rests on it, in
// the order the tips are set up.
#pragma once

#include <span>

namespace quibo {

struct FieldTooltip {
    int controlId;
    const char* text;
};

std::span<const FieldTooltip> FieldTooltips();

}  // namespace quibo
