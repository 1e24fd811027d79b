#pragma once

#include <optional>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/shared_options.h"

namespace kestavian::cli {

// The options of the commands that show an effect as the viewer would (timings, render): the span
// and the view options of the window.
extern const Option SpanOption;
extern const Option DatumOption;
extern const Option DriveOption;
extern const Option FlipOption;

// --span and --datum.
ParsedArguments readSpanAndDatum(const CommandLine& line, CommonOptions& options);
// --drive and --flip.
ParsedArguments readDriveAndFlip(const CommandLine& line, CommonOptions& options);

// The span a command draws with: the given one, else the file name's. Reported on the console when
// neither gives one.
std::optional<float> spanForCommand(const CommonOptions& options, const Console& console);

} // namespace kestavian::cli
