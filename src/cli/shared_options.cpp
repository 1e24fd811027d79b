#include "cli/shared_options.h"

namespace kestavian::cli {

const Option EffectsOption{"effects", "N",
                           "Load-effect blocks per event, as in the viewer's box (1-32767, "
                           "default 3)."};
const Option TopOption{"top", "K",
                       "The K rows of greatest value, greatest first; of equal values the first "
                       "in the file."};
const Option BottomOption{"bottom", "K", "The K rows of least value, least first."};
const Option EventsOption{"events", "LIST",
                          "Events by number, as the viewer's event list and list's event column "
                          "show them, such as 3,17,250-260 (a range takes the events numbered from "
                          "250 to 260). A number that no event or several events hold is refused."};
const Option PositionsOption{"positions", "LIST",
                             "Events by their place in the file, from 1, as list's position "
                             "column and the viewer's save names count them, such as 1,5,10-20."};
const Option EffectFilterOption{"effect", "N", "Only the effects numbered N."};

ParsedArguments readFileAndEffects(CommandLine& line, const Arguments& arguments,
                                   CommonOptions& options) {
    if (ParsedArguments parsed = line.parse(arguments); !parsed.runs())
        return parsed;
    const std::vector<std::string>& files = line.positionals();
    if (files.empty())
        return failure("an event file is needed (see --help)");
    if (files.size() > 1)
        return failure("one event file only; unexpected \"" + files[1] + "\"");
    options.file = files.front();
    if (!line.isSet(EffectsOption))
        return {};
    return line.readWhole(EffectsOption, 1, 32767, "a whole number from 1 to 32767",
                          options.view.NoEffects);
}

ParsedArguments readRowChoice(const CommandLine& line, const Option& effect, bool effectAlone,
                              RowChoice& rows) {
    if (line.isSet(TopOption) && line.isSet(BottomOption))
        return failure("--top and --bottom cannot be used together");
    for (const Option* option : {&TopOption, &BottomOption}) {
        if (!line.isSet(*option))
            continue;
        RowChoice::Ranking ranking{0, option == &TopOption};
        if (ParsedArguments read = line.readWhole(*option, 1, NoUpperLimit,
                                                  "a whole number of rows from 1", ranking.count);
            !read.runs())
            return read;
        rows.ranking = ranking;
    }
    if (!line.isSet(effect))
        return {};
    if (!effectAlone && !rows.ranking)
        return failure("--effect goes with --top or --bottom here");
    return readEffectNumber(line, effect, rows.effectNo.emplace());
}

ParsedArguments readEventChoice(const CommandLine& line, const Option& effect,
                                EventChoice& choice) {
    ParsedArguments read = readRowChoice(line, effect, false, choice.rows);
    const bool byNumber = line.isSet(EventsOption);
    if (!read.runs() || (!byNumber && !line.isSet(PositionsOption)))
        return read;
    if (byNumber && line.isSet(PositionsOption))
        return failure("--events and --positions cannot be used together");
    const Option& option = byNumber ? EventsOption : PositionsOption;
    if (choice.rows.ranking)
        return failure("--" + std::string(option.name) +
                       " and --top or --bottom cannot be used together");
    choice.byNumber = byNumber;
    choice.listed = EventList::parse(line.value(option), byNumber ? 0 : 1);
    if (!choice.listed)
        return line.mustBe(option, byNumber ? "event numbers such as 3,17,250-260"
                                            : "positions from 1 such as 1,5,10-20");
    return {};
}

} // namespace kestavian::cli
