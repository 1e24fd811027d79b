#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/event_choice.h"
#include "data/mod_udts.h"

namespace kestavian::cli {

// Exit statuses of every command.
enum ExitStatus : int {
    ExitOk = 0,
    // The reading stopped on a bad line (check, list, extract) or an effect could not be shown
    // (render).
    ExitStopped = 1,
    // A usage error, or a file that cannot be read or written.
    ExitUsage = 2,
};

// What every command reads: the file and the view settings it is read and drawn with. The span is
// the given one, else the file name's; the rest are the window's start-up settings unless given.
// Paths are kept as the system gives them.
struct CommonOptions {
    std::string file;
    ViewSettings view;
    std::optional<float> span;
};

using CheckOptions = CommonOptions;
using TimingsOptions = CommonOptions;

enum class RowFormat { Text, Csv, Json };

struct ListOptions : CommonOptions {
    RowChoice rows;
    RowFormat format = RowFormat::Text;
};

struct ExtractOptions : CommonOptions {
    EventChoice choice;
    std::string out;
};

struct RenderOptions : CommonOptions {
    bool critPos = false;
    std::int16_t scrubberValue = 0;
    std::uint64_t event = 0; // list position, from 1
    long effect = 0;         // effect number, from 1
    std::string out;         // a single picture, or
    std::string allFolder;   // the chosen events and effects under the window's save names
    EventChoice choice;
    std::string allFormat = "BMP";
};

// What a command's arguments ask for: run the command, print its help, or report an error.
struct ParsedArguments {
    enum Kind { Run, Help, Error } kind = Run;
    std::string text; // the help text or the error message
};

// Each takes the arguments that follow the command word.
using Arguments = std::vector<std::string>;
ParsedArguments parseCheckArguments(const Arguments& arguments, CheckOptions& options);
ParsedArguments parseTimingsArguments(const Arguments& arguments, TimingsOptions& options);
ParsedArguments parseListArguments(const Arguments& arguments, ListOptions& options);
ParsedArguments parseExtractArguments(const Arguments& arguments, ExtractOptions& options);
ParsedArguments parseRenderArguments(const Arguments& arguments, RenderOptions& options);

// The overview printed for --help without a command.
std::string generalHelp();

// The image format a picture path asks for by its extension ("BMP", "PNG"); empty for others.
std::string pictureFormat(const std::string& path);

} // namespace kestavian::cli
