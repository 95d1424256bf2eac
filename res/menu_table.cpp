// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/menu_table.h"

#include "res/command_ids.h"

namespace quibo {
namespace {

constexpr MenuItem kFile[] = {
    {"&Open", command::kOpen},   {"&Save", command::kSave}, {"Save &As...", command::kSaveAs},
    {"&Close", command::kClose}, {nullptr, 0},              {"E&xit", command::kExit},
};
constexpr MenuItem kEdit[] = {
    {"&Edit Selected RIFF Info Field", command::kEditField},
    {"&Delete Selected RIFF Info Feild", command::kDeleteField},
    {nullptr, 0},
    {"&New RIFF Info Feild", command::kNewField},
    {nullptr, 0},
    {"Change &FourCC...", command::kChangeFourCC},
};
constexpr MenuItem kView[] = {
    {"&Codecs Installed on this Machine", command::kInstalledCodecs},
    {"List of &All Video Codecs", command::kListAllCodecs},
    {nullptr, 0},
    {"&Details...", command::kDetails},
    {"Refresh", command::kRefresh},
};
constexpr MenuItem kHelp[] = {{"&About", command::kAbout}};

constexpr MenuItem kInfoListContext[] = {
    {"&Edit this RIFF Info Field", command::kEditField},
    {"&Delete this RIFF Info Feild", command::kDeleteField},
    {nullptr, 0},
    {"&New RIFF Info Field", command::kNewField},
};

constexpr MenuPopup kMenu[] = {{"&File", kFile}, {"&Edit", kEdit}, {"&View", kView}, {"&Help", kHelp}};

}  // namespace

std::span<const MenuPopup> MainMenu() { return kMenu; }

std::span<const MenuItem> InfoListContextMenu() { return kInfoListContext; }

}  // namespace quibo
