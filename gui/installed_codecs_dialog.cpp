// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/installed_codecs_dialog.h"

#include "codecs/installed_codecs.h"

namespace quibo {

InstalledCodecsDialog::InstalledCodecsDialog(InstalledDecoderSource& decoders, const CodecDatabase& codecs,
                                             const DialogUnits& mainUnits, QWidget* parent)
    : CodecListDialog(InstalledCodecsTemplate(), InstalledCodecColumns(), mainUnits, parent) {
    for (const InstalledCodecRow& row : EnumerateInstalledCodecs(decoders, &codecs, nullptr))
        AppendRow({CellText(row.fourCC), CellText(row.name), CellText(row.description), CellText(row.vendor)});
}

}  // namespace quibo
