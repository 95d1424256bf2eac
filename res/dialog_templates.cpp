// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/dialog_templates.h"

#include "res/control_ids.h"

namespace quibo {
namespace {

using enum ControlKind;

constexpr ControlTemplate kMainWindow[] = {
    {GroupBox, -1, "General", 6, 3, 185, 90},
    {GroupBox, -1, "RIFF Info", 6, 96, 185, 123},
    {GroupBox, -1, "Video", 199, 3, 125, 162},
    {GroupBox, -1, "Audio", 199, 168, 125, 51},
    {PushButton, control::kOpenButton, "...", 174, 18, 10, 15},
    {List, control::kInfoList, "", 14, 112, 165, 101},
};

constexpr ControlTemplate kInfoEditor[] = {
    {GroupBox, -1, "", 5, 5, 235, 75},
    {Label, -1, "Field Name", 15, 15, 36, 8},
    {ReadOnlyEdit, editor_control::kName, "", 15, 25, 84, 14},
    {Line, -1, "", 102, 31, 10, 1},
    {PushButton, editor_control::kChange, "Change...", 113, 26, 45, 12},
    {ComboBox, editor_control::kCodeList, "", 135, 39, 86, 75},
    {Label, -1, "Field Text", 15, 45, 31, 8},
    {Edit, editor_control::kText, "", 15, 55, 215, 14},
    {DefaultButton, editor_control::kOk, "OK", 60, 85, 50, 14},
    {PushButton, editor_control::kCancel, "Cancel", 135, 85, 50, 14},
};

constexpr ControlTemplate kAbout[] = {
    {Icon, -1, "", 5, 12, 20, 20},
    {Label, -1, "Version " QUIBO_VERSION, 29, 10, 75, 8},
    {Label, -1, "Written by the Quibo developers", 29, 20, 78, 8},
    {DefaultButton, 1, "OK", 65, 40, 40, 14},
};

constexpr ControlTemplate kSupportedCodecs[] = {
    {PushButton, codec_list_control::kCancel, "Cancel", 192, 135, 50, 14},
    {List, codec_list_control::kList, "", 7, 10, 235, 120},
};

constexpr ControlTemplate kInstalledCodecs[] = {
    {PushButton, codec_list_control::kCancel, "Cancel", 265, 135, 50, 14},
    {List, codec_list_control::kList, "", 9, 10, 306, 120},
};

}  // namespace

DialogTemplate MainWindowTemplate() { return {"Quibo " QUIBO_VERSION "   Video Codec ID Utility", 330, 225, kMainWindow}; }
DialogTemplate InfoEditorTemplate() { return {"INFO Chunk Editor", 249, 107, kInfoEditor}; }
DialogTemplate AboutTemplate() { return {"About Quibo", 109, 57, kAbout}; }
DialogTemplate SupportedCodecsTemplate() { return {"Supported Video Codecs", 249, 152, kSupportedCodecs}; }
DialogTemplate InstalledCodecsTemplate() { return {"Video Codecs Installed on this Machine", 324, 153, kInstalledCodecs}; }

}  // namespace quibo
