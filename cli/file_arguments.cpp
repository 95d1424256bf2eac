// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/file_arguments.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>
#include <system_error>

namespace quibo {
namespace {

bool HasAviExtension(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.size() >= 4 && ::strcasecmp(name.c_str() + name.size() - 4, ".avi") == 0;
}

}  // namespace

FileArguments ExpandFileArguments(const std::vector<std::string>& arguments, bool recursive) {
    FileArguments expanded;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (!std::filesystem::is_directory(argument, error)) {
            expanded.files.push_back(argument);
            continue;
        }
        if (!recursive) {
            expanded.refused.push_back(argument + " is a folder; -r reads the AVI files in it.");
            continue;
        }
        std::vector<std::string> found;
        // An unreadable folder below is left out rather than ending the walk.
        auto walk = std::filesystem::recursive_directory_iterator(
            argument, std::filesystem::directory_options::skip_permission_denied, error);
        for (auto end = std::filesystem::recursive_directory_iterator(); !error && walk != end; walk.increment(error)) {
            std::error_code kind;
            if (HasAviExtension(walk->path()) && walk->is_regular_file(kind)) found.push_back(walk->path().string());
        }
        if (error) expanded.refused.push_back(argument + ": " + error.message());
        std::sort(found.begin(), found.end());
        expanded.files.insert(expanded.files.end(), found.begin(), found.end());
    }
    return expanded;
}

}  // namespace quibo
