#pragma once

#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/event_choice.h"
#include "data/mod_udts.h"

namespace kestavian::cli {

// What every command reads: the file and the view settings it is read (and drawn) with. The span is
// the given one, else the file name's; the rest are the window's start-up settings unless given.
// Paths are kept as the system gives them.
struct CommonOptions {
    std::string file;
    ViewSettings view;
    std::optional<float> span;
};

// Options more than one command takes.
extern const Option EffectsOption;
extern const Option TopOption;
extern const Option BottomOption;
extern const Option EventsOption;
extern const Option PositionsOption;
extern const Option EffectFilterOption;

// Reads the command line and what every command takes: one FILE and --effects.
ParsedArguments readFileAndEffects(CommandLine& line, const Arguments& arguments,
                                   CommonOptions& options);

// --effect N as an effect number from 1.
template <typename Whole>
ParsedArguments readEffectNumber(const CommandLine& line, const Option& option, Whole& effect) {
    return line.readWhole(option, 1, 32767, "an effect number from 1 to 32767", effect);
}

// --top K or --bottom K, and --effect (the given option), which goes with them and, where
// effectAlone, also stands alone.
ParsedArguments readRowChoice(const CommandLine& line, const Option& effect, bool effectAlone,
                              RowChoice& rows);

// --events LIST, --positions LIST or a ranking: the events extract and render --all take.
ParsedArguments readEventChoice(const CommandLine& line, const Option& effect, EventChoice& choice);

} // namespace kestavian::cli
