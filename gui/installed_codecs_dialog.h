// SPDX-License-Identifier: GPL-3.0-or-later
// View > Codecs Installed on this Machine: each installed video decoder
// with what the codec database says of its FourCC.
#pragma once

#include "codecs/codec_database.h"
#include "gui/codec_list_dialog.h"
#include "platform/installed_decoder_source.h"

namespace quibo {

class InstalledCodecsDialog final : public CodecListDialog {
public:
    // Asks `decoders` afresh and looks each one up in `codecs`.
    InstalledCodecsDialog(InstalledDecoderSource& decoders, const CodecDatabase& codecs, const DialogUnits& mainUnits,
                          QWidget* parent);
};

}  // namespace quibo
