// quibo-info: the main window's report of AVI files, without a window.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "app/main_dialog.h"
#include "cli/collected_messages.h"
#include "cli/file_report.h"
#include "codecs/codec_database.h"
#include "platform/posix_file_access.h"
#include "platform/program_directory.h"
#include "platform/recorded_fields.h"

namespace {

constexpr int kExitAnalysed = 0;
constexpr int kExitNotAnalysed = 1;
constexpr int kExitUsage = 2;

// The command line never shows an Open dialog: every file is named.
class NoFileDialogs final : public quibo::FileDialogs {
public:
    std::optional<std::string> AskOpenPath(const quibo::FileDialogRequest&) override { return std::nullopt; }
};

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Report what is inside AVI files: video codec, stream facts and RIFF INFO metadata.",
                 "quibo-info"};
    std::vector<std::string> paths;
    bool json = false;
    app.add_option("FILE", paths, "AVI files to examine")->required();
    app.add_flag("--json", json, "Print JSON: an object for one file, an array for several");
    app.set_version_flag("--version", "quibo-info " QUIBO_VERSION);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }

    quibo::PosixFileAccess files;
    quibo::CollectedMessages messages;
    NoFileDialogs dialogs;
    quibo::RecordedFields fields;
    quibo::MainDialog dialog({files, messages, dialogs, fields}, quibo::CodecDatabasePlaces(quibo::ProgramDirectory()));
    dialog.Start();
    // What start-up had to say (the codec database) belongs to every file's
    // report, and is printed once.
    const std::vector<quibo::Message> startup = messages.All();
    if (!json)
        for (const quibo::Message& message : startup) std::cerr << message.caption << ": " << message.text << '\n';

    int status = kExitAnalysed;
    nlohmann::ordered_json reports = nlohmann::ordered_json::array();
    std::string text;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        // Close, then open the next file by name: the road of a user who
        // opens one file after another.
        dialog.OnFileClose();
        messages.Clear();
        dialog.SetPendingFileName(paths[i]);
        dialog.OnFileOpen();
        if (!dialog.FileAnalysed()) status = kExitNotAnalysed;

        quibo::FileReport report{paths[i], &fields, messages.All()};
        if (json) {
            report.messages.insert(report.messages.begin(), startup.begin(), startup.end());
            reports.push_back(quibo::ReportJson(report));
            continue;
        }
        for (const quibo::Message& message : report.messages)
            std::cerr << message.caption << ": " << message.text << '\n';
        if (i > 0) std::cout << '\n';
        std::cout << quibo::ReportText(report);
    }
    if (json) {
        const auto& out = reports.size() == 1 ? reports[0] : reports;
        std::cout << out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    }
    return status;
}
