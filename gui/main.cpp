// quibo: the desktop window.
#include <QApplication>
#include <csignal>

#include "app/command_line.h"
#include "codecs/codec_database.h"
#include "gui/main_window.h"
#include "platform/program_directory.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt has taken its own options (such as -style NAME) out of argv.
    std::string fileName = quibo::FileNameFromArguments(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quibo"));
    // A write that meets the file size limit fails and is reported.
    std::signal(SIGXFSZ, SIG_IGN);

    quibo::MainWindow window(quibo::CodecDatabasePlaces(quibo::ProgramDirectory()), std::move(fileName));
    window.show();
    window.Start();
    return QApplication::exec();
}
