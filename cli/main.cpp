// SPDX-License-Identifier: GPL-3.0-or-later
// quibo-info: the main window's report of AVI files, without a window.
#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "app/main_dialog.h"
#include "app/details_text.h"
#include "app/window_report.h"
#include "cli/codec_listings.h"
#include "cli/collected_messages.h"
#include "cli/file_arguments.h"
#include "cli/file_report.h"
#include "cli/info_edit_script.h"
#include "cli/read_ahead.h"
#include "codecs/codec_database.h"
#include "platform/cached_decoder_source.h"
#include "platform/libav_decoder_source.h"
#include "platform/posix_file_access.h"
#include "platform/posix_file_copy.h"
#include "platform/program_directory.h"
#include "platform/recorded_fields.h"

namespace {

constexpr int kExitAnalysed = 0;
constexpr int kExitNotAnalysed = 1;
constexpr int kExitUsage = 2;

// The --set and --delete options in the order they were given.
std::vector<quibo::EditOperation> EditOperationsInOrder(const CLI::App& app, const CLI::Option* set,
                                                        const CLI::Option* remove) {
    std::vector<quibo::EditOperation> operations;
    std::size_t nextSet = 0, nextDelete = 0;
    for (const CLI::Option* option : app.parse_order()) {
        if (option == set) {
            quibo::EditOperation operation;
            if (auto error = quibo::ParseSetArgument(set->results().at(nextSet++), operation))
                throw CLI::ValidationError("--set", *error);
            operations.push_back(operation);
        } else if (option == remove) {
            std::string code = remove->results().at(nextDelete++);
            if (auto error = quibo::CheckFieldCode(code)) throw CLI::ValidationError("--delete", *error);
            operations.push_back({quibo::EditOperation::Kind::Delete, code, {}});
        }
    }
    return operations;
}

// One file's JSON object; as an element of the array, indented by two.
void PrintJson(const nlohmann::ordered_json& object, bool inArray, std::ostream& out) {
    const std::string text = object.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    if (!inArray) {
        out << text;
        return;
    }
    out << "  ";
    for (char c : text) {
        out << c;
        if (c == '\n') out << "  ";
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Report what is inside AVI files: video codec, stream facts and RIFF INFO metadata.",
                 "quibo-info"};
    std::vector<std::string> paths;
    bool json = false;
    bool listInstalled = false;
    bool listCodecs = false;
    CLI::Option* fileOption = app.add_option("FILE", paths, "AVI files to examine");
    app.add_flag("--installed", listInstalled, "List the video decoders installed on this machine")
        ->excludes(fileOption);
    app.add_flag("--codecs", listCodecs, "List every codec of the codec database")
        ->excludes(fileOption)
        ->excludes("--installed");
    CLI::Option* jsonOption =
        app.add_flag("--json", json, "Print JSON: an object for one file, an array for several");
    bool csv = false;
    app.add_flag("--csv", csv, "Print CSV: a header row, then one row of facts per file")
        ->excludes(jsonOption)
        ->excludes("--installed")
        ->excludes("--codecs");
    bool details = false;
    app.add_flag("--details", details,
                 "After each text report, every stream, the video bitstream, the index, the recording date and advice")
        ->excludes(jsonOption)
        ->excludes("--csv");
    bool recursive = false;
    CLI::Option* recursiveOption =
        app.add_flag("-r,--recursive", recursive, "Read the AVI files in each FILE that is a folder, at any depth");
    std::vector<std::string> setArguments, deleteCodes;
    std::string output;
    bool dryRun = false;
    std::size_t readsInFlight = 8;
    app.add_option("-j,--jobs", readsInFlight,
                   "Read ahead N of the files still to come while one is analysed (0: none)")
        ->type_name("N")
        ->capture_default_str()
        ->check(CLI::Range(0, 64));
    CLI::Option* setOption =
        app.add_option("--set", setArguments, "Set INFO field CODE to TEXT (adds it when missing)")
            ->type_name("CODE=TEXT")
            ->allow_extra_args(false);
    CLI::Option* deleteOption = app.add_option("--delete", deleteCodes, "Delete INFO field CODE")->type_name("CODE")->allow_extra_args(false);
    CLI::Option* outputOption =
        app.add_option("--output", output, "Write the edited file as a copy at PATH, not in place")->type_name("PATH");
    // A copy is made of one file, named by the user.
    recursiveOption->excludes(outputOption);
    CLI::Option* dryRunOption = app.add_flag("--dry-run", dryRun, "Report the edited file, write nothing");
    std::string fourCCArgument;
    CLI::Option* fourCCOption =
        app.add_option("--set-fourcc", fourCCArgument,
                       "Change the video FourCC: both the stream's handler and its format's compression, or one")
            ->type_name("[handler=|compression=]CODE");
    bool force = false;
    app.add_flag("--force", force, "Change the FourCC even where FFmpeg would then pick another decoder")
        ->needs(fourCCOption);
    std::optional<quibo::FourCCChange> fourCCChange;
    std::vector<quibo::EditOperation> operations;
    app.set_version_flag("--version", "quibo-info " QUIBO_VERSION);
    try {
        app.parse(argc, argv);
        if (paths.empty() && !listInstalled && !listCodecs) throw CLI::RequiredError("FILE");
        operations = EditOperationsInOrder(app, setOption, deleteOption);
        if (fourCCOption->count() > 0) {
            if (auto error = quibo::ParseFourCCArgument(fourCCArgument, fourCCChange.emplace()))
                throw CLI::ValidationError("--set-fourcc", *error);
        }
        if (operations.empty() && !fourCCChange && (outputOption->count() > 0 || dryRunOption->count() > 0))
            throw CLI::ValidationError("--output and --dry-run go with --set, --delete or --set-fourcc");
        if (outputOption->count() > 0 && paths.size() != 1)
            throw CLI::ValidationError("--output", "takes exactly one FILE");
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }

    // A write that meets the file size limit fails with EFBIG and is
    // reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);

    quibo::PosixFileAccess files;
    quibo::CollectedMessages messages;
    quibo::ScriptFileDialogs dialogs;
    quibo::RecordedFields fields;
    quibo::LibavDecoderSource libav;
    quibo::CachedDecoderSource decoders(libav, quibo::DefaultDecoderCacheFile(),
                                        quibo::LoaderFingerprint() + " | " + quibo::LibavDecoderSource::Identity());
    quibo::ScriptedInfoEditor editor;
    quibo::PosixFileCopy copier;
    quibo::ScriptCopyObserver copyObserver(messages);
    quibo::MainDialog dialog({.files = files,
                              .messages = messages,
                              .dialogs = dialogs,
                              .fields = fields,
                              .editor = &editor,
                              .copier = &copier,
                              .copyObserver = &copyObserver,
                              .decoders = &decoders},
                             quibo::CodecDatabasePlaces(quibo::ProgramDirectory()));
    dialog.Start();
    // What start-up had to say (the codec database) belongs to every file's
    // report, and is printed once.
    const std::vector<quibo::Message> startup = messages.All();
    if (!json || csv)
        for (const quibo::Message& message : startup) std::cerr << message.caption << ": " << message.text << '\n';
    if (listCodecs || listInstalled) {
        quibo::PrintCodecListing(listCodecs ? quibo::CodecListing::Supported : quibo::CodecListing::Installed,
                                 dialog.Codecs(), libav, json, startup, std::cout);
        return kExitAnalysed;
    }

    int status = kExitAnalysed;
    const quibo::FileArguments expanded = quibo::ExpandFileArguments(paths, recursive);
    for (const std::string& line : expanded.refused) std::cerr << "quibo-info: " << line << '\n';
    if (!expanded.refused.empty()) status = kExitNotAnalysed;
    paths = expanded.files;
    // Each file's report goes out as soon as it is made, so that memory
    // stays flat over any number of files.
    const bool jsonArray = json && paths.size() != 1;
    if (jsonArray) std::cout << (paths.empty() ? "[]" : "[\n");
    if (csv) std::cout << quibo::CsvHeader();
    std::size_t printed = 0;
    // Edits stay one file at a time: only a report reads ahead.
    const bool editing = !operations.empty() || fourCCChange;
    quibo::ReadAhead readAhead(paths, editing ? 0 : readsInFlight);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        readAhead.Reached(i);
        // Close, then open the next file by name: the road of a user who
        // opens one file after another.
        dialog.OnFileClose();
        messages.Clear();
        dialog.SetPendingFileName(paths[i]);
        dialog.OnFileOpen();
        if (!dialog.FileAnalysed()) {
            status = kExitNotAnalysed;
        } else if (editing) {
            bool edited =
                (!fourCCChange || quibo::ApplyFourCCChange(dialog, messages, *fourCCChange, force)) &&
                (operations.empty() || quibo::ApplyEditOperations(dialog, fields, editor, messages, operations));
            if (!edited || (!dryRun && !quibo::WriteEdits(dialog, dialogs, outputOption->count() > 0
                                                                                ? std::optional<std::string>(output)
                                                                                : std::nullopt)))
                status = kExitNotAnalysed;
        }

        quibo::FileReport report{paths[i], &fields, dialog.FileRead() ? &dialog.Report() : nullptr, messages.All()};
        if (json) {
            report.messages.insert(report.messages.begin(), startup.begin(), startup.end());
            if (jsonArray && i > 0) std::cout << ",\n";
            PrintJson(quibo::ReportJson(report), jsonArray, std::cout);
            continue;
        }
        for (const quibo::Message& message : report.messages)
            std::cerr << message.caption << ": " << message.text << '\n';
        if (csv) {
            std::cout << quibo::CsvRow(report);
            continue;
        }
        // A file that could not be read has its message and no report of
        // empty fields.
        if (!dialog.FileRead()) continue;
        if (printed++ > 0) std::cout << '\n';
        std::cout << quibo::WindowReportText(fields);
        if (details) std::cout << "Details\n" << quibo::DetailsText(dialog.Report(), paths[i]);
    }
    if (jsonArray && !paths.empty()) std::cout << "\n]";
    if (json) std::cout << '\n';
    return status;
}
