// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/supported_codecs_dialog.h"

namespace quibo {
namespace {

QString Cell(const char* text) { return CellText(text ? text : ""); }

}  // namespace

SupportedCodecsDialog::SupportedCodecsDialog(const CodecDatabase& codecs, const DialogUnits& mainUnits,
                                             QWidget* parent)
    : CodecListDialog(SupportedCodecsTemplate(), SupportedCodecColumns(), mainUnits, parent) {
    for (const CodecEntry& entry : codecs.ListedEntries())
        AppendRow({Cell(entry.fourCC), Cell(entry.description), Cell(entry.vendor)});
    setWindowTitle(QStringLiteral("Supported Video Codecs - %1 Found").arg(List()->topLevelItemCount()));
}

}  // namespace quibo
