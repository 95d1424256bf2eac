#include "gui/supported_codecs_dialog.h"

namespace quibo {
namespace {

QString Cell(const char* text) { return CellText(text ? text : ""); }

}  // namespace

SupportedCodecsDialog::SupportedCodecsDialog(const CodecDatabase& codecs, const DialogUnits& mainUnits,
                                             QWidget* parent)
    : CodecListDialog(SupportedCodecsTemplate(), SupportedCodecColumns(), mainUnits, parent) {
    for (std::size_t slot = 1; slot < kCodecSlots; ++slot) {
        const CodecEntry& entry = codecs.Slot(slot);
        if (entry.description == nullptr || *entry.description == '\0') break;
        AppendRow({Cell(entry.fourCC), Cell(entry.description), Cell(entry.vendor)});
    }
    setWindowTitle(QStringLiteral("Supported Video Codecs - %1 Found").arg(List()->topLevelItemCount()));
}

}  // namespace quibo
