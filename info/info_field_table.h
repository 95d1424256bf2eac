// SPDX-License-Identifier: GPL-3.0-or-later
// The known INFO field codes and their names.
#pragma once

#include <string_view>

namespace quibo {

struct InfoFieldName {
    char code[5];
    char name[65];
};

// 25 records, then one whose code and name are empty.
extern const InfoFieldName InfoFieldTable[26];

// The table's name for a code (four characters, letter case counting),
// "(ASCII in junk chunk)" for JUNK in any case, else "? ? ?".
const char* InfoFieldNameFor(std::string_view code);

}  // namespace quibo
