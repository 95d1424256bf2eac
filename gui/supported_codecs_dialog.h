// SPDX-License-Identifier: GPL-3.0-or-later
// View > List of All Video Codecs: every codec of the database in file
// order, its count in the caption.
#pragma once

#include "codecs/codec_database.h"
#include "gui/codec_list_dialog.h"

namespace quibo {

class SupportedCodecsDialog final : public CodecListDialog {
public:
    // Lists `codecs` from the first record up to the first without a
    // description.
    SupportedCodecsDialog(const CodecDatabase& codecs, const DialogUnits& mainUnits, QWidget* parent);
};

}  // namespace quibo
