// SPDX-License-Identifier: GPL-3.0-or-later
// quibo: the desktop window.
#include <QAbstractItemView>
#include <QApplication>
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "app/command_line.h"
#include "app/window_report.h"
#include "codecs/codec_database.h"
#include "gui/main_window.h"
#include "platform/program_directory.h"
#include "platform/recorded_fields.h"
#include "res/main_window_fields.h"

namespace {

// What the window shows, read back from its widgets, in the form of
// quibo-info's text report.
std::string ShownFieldsText(quibo::MainWindow& window) {
    quibo::RecordedFields shown;
    for (const quibo::FieldSpec& field : quibo::MainWindowFields())
        shown.SetText(field.controlId, window.ShownText(field.controlId).toStdString());
    const QAbstractItemView* list = window.InfoListView();
    const QAbstractItemModel* rows = list->model();
    for (int row = 0; row < rows->rowCount(); ++row) {
        auto cell = [&](int column) { return rows->index(row, column).data().toString().toStdString(); };
        shown.InsertInfoRow(row, {cell(0), cell(1), cell(2)});
    }
    return quibo::WindowReportText(shown);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt has taken its own options (such as -style NAME) out of argv.
    std::string fileName = quibo::FileNameFromArguments(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quibo"));
    // A write that meets the file size limit fails and is reported.
    std::signal(SIGXFSZ, SIG_IGN);

    quibo::MainWindow window(quibo::CodecDatabasePlaces(quibo::ProgramDirectory()), std::move(fileName));
    // QUIBO_DUMP_FIELDS: once started, print the texts the window shows and
    // end; tests and timings use it.
    window.ShowAndStart([&window] {
        if (std::getenv("QUIBO_DUMP_FIELDS") == nullptr) return;
        std::cout << ShownFieldsText(window);
        QApplication::exit(0);
    });
    return QApplication::exec();
}
