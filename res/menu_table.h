// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu bar: popups and their items with command ids.
#pragma once

#include <span>

namespace quibo {

struct MenuItem {
    const char* text;  // nullptr for a separator
    int command;
};

struct MenuPopup {
    const char* text;
    std::span<const MenuItem> items;
};

std::span<const MenuPopup> MainMenu();

// The RIFF Info list's context menu.
std::span<const MenuItem> InfoListContextMenu();

}  // namespace quibo
