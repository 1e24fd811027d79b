#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>

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
struct CommonOptions {
    QString file;
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
    QString out;
};

struct RenderOptions : CommonOptions {
    bool critPos = false;
    std::int16_t scrubberValue = 0;
    std::uint64_t event = 0; // list position, from 1
    long effect = 0;         // effect number, from 1
    QString out;             // a single picture, or
    QString allFolder;       // the chosen events and effects under the window's save names
    EventChoice choice;
    QByteArray allFormat = "BMP";
};

// What a command's arguments ask for: run the command, print its help, or report an error.
struct ParsedArguments {
    enum Kind { Run, Help, Error } kind = Run;
    std::string text; // the help text or the error message
};

// Each takes the arguments that follow the command word.
ParsedArguments parseCheckArguments(const QStringList& arguments, CheckOptions& options);
ParsedArguments parseTimingsArguments(const QStringList& arguments, TimingsOptions& options);
ParsedArguments parseListArguments(const QStringList& arguments, ListOptions& options);
ParsedArguments parseExtractArguments(const QStringList& arguments, ExtractOptions& options);
ParsedArguments parseRenderArguments(const QStringList& arguments, RenderOptions& options);

// The overview printed for --help without a command.
std::string generalHelp();

// The image format a picture path asks for by its extension ("BMP", "PNG"); empty for others.
QByteArray pictureFormat(const QString& path);

} // namespace kestavian::cli
