// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' controls as templates: kind, id, text and place in dialog
// units. The window builder turns them into widgets.
#pragma once

#include <span>

namespace quibo {

enum class ControlKind { GroupBox, Label, Edit, ReadOnlyEdit, StatusButton, PushButton, DefaultButton, List, ComboBox, Line, Icon };

struct ControlTemplate {
    ControlKind kind;
    int id;  // -1 for static decoration
    const char* text;
    int x, y, width, height;
};

struct DialogTemplate {
    const char* title;
    int width, height;  // dialog units
    std::span<const ControlTemplate> controls;
};

// The main window without its fields (those are in main_window_fields).
DialogTemplate MainWindowTemplate();
DialogTemplate InfoEditorTemplate();
DialogTemplate AboutTemplate();
DialogTemplate SupportedCodecsTemplate();
DialogTemplate InstalledCodecsTemplate();

namespace editor_control {
inline constexpr int kText = 1023;
inline constexpr int kCodeList = 1024;
inline constexpr int kChange = 1025;
inline constexpr int kName = 1026;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
}  // namespace editor_control

// The controls of both codec list dialogs.
namespace codec_list_control {
inline constexpr int kCancel = 2;
inline constexpr int kList = 1016;
}  // namespace codec_list_control

}  // namespace quibo
