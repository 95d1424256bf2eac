// SPDX-License-Identifier: GPL-3.0-or-later
// quibo-info: the main window's report of AVI files, without a window.
#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "cli/codec_listings.h"
#include "cli/file_arguments.h"
#include "cli/file_report.h"
#include "cli/file_run.h"
#include "cli/headless_window.h"
#include "cli/ordered_workers.h"
#include "codecs/codec_database.h"
#include "platform/program_directory.h"

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
    std::size_t jobs = 8;
    app.add_option("-j,--jobs", jobs, "Analyse N files at a time, reports in the order given (0 or 1: one by one)")
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

    // The codec places are looked up once; each thread's window loads them.
    const std::vector<std::string> codecPlaces = quibo::CodecDatabasePlaces(quibo::ProgramDirectory());
    quibo::HeadlessWindow window(codecPlaces);
    // What start-up had to say (the codec database) belongs to every file's
    // report, and is printed once.
    quibo::RunOptions options;
    options.startup = window.messages.All();
    if (!json || csv)
        for (const quibo::Message& message : options.startup)
            std::cerr << message.caption << ": " << message.text << '\n';
    if (listCodecs || listInstalled) {
        quibo::PrintCodecListing(listCodecs ? quibo::CodecListing::Supported : quibo::CodecListing::Installed,
                                 window.dialog.Codecs(), window.libav, json, options.startup, std::cout);
        return kExitAnalysed;
    }

    int status = kExitAnalysed;
    const quibo::FileArguments expanded = quibo::ExpandFileArguments(paths, recursive);
    for (const std::string& line : expanded.refused) std::cerr << "quibo-info: " << line << '\n';
    if (!expanded.refused.empty()) status = kExitNotAnalysed;
    paths = expanded.files;
    const bool jsonArray = json && paths.size() != 1;
    options.format = csv        ? quibo::ReportFormat::Csv
                     : jsonArray ? quibo::ReportFormat::JsonArrayElement
                     : json      ? quibo::ReportFormat::Json
                     : details   ? quibo::ReportFormat::Details
                                 : quibo::ReportFormat::Text;
    options.operations = std::move(operations);
    options.fourCCChange = std::move(fourCCChange);
    options.force = force;
    options.dryRun = dryRun;
    if (outputOption->count() > 0) options.output = output;

    // Each file's report goes out as soon as it and those before it are
    // made, so that memory stays flat over any number of files.
    if (jsonArray) std::cout << (paths.empty() ? "[]" : "[\n");
    if (csv) std::cout << quibo::CsvHeader();
    std::size_t index = 0, printed = 0;
    const std::function<void(quibo::FileOutput&)> print = [&](quibo::FileOutput& file) {
        if (!file.succeeded) status = kExitNotAnalysed;
        std::cerr << file.messages;
        if (jsonArray && index > 0) std::cout << ",\n";
        ++index;
        if (file.report.empty()) return;
        if (!json && !csv && printed++ > 0) std::cout << '\n';
        std::cout << file.report;
    };
    // Edits go one file at a time, in order, in the one window.
    if (options.Editing() || jobs <= 1 || paths.size() <= 1) {
        for (const std::string& path : paths) {
            quibo::FileOutput file = quibo::RunOnFile(window, path, options);
            print(file);
        }
    } else {
        quibo::RunInOrder<quibo::HeadlessWindow, quibo::FileOutput>(
            paths.size(), jobs, [&] { return std::make_unique<quibo::HeadlessWindow>(codecPlaces); },
            [&](quibo::HeadlessWindow& own, std::size_t i) { return quibo::RunOnFile(own, paths[i], options); },
            print);
    }
    if (jsonArray && !paths.empty()) std::cout << "\n]";
    if (json) std::cout << '\n';
    return status;
}
