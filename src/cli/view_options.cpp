#include "cli/view_options.h"

#include "data/mod_input.h"
#include "platform/local_numbers.h"

namespace kestavian::cli {

const Option SpanOption{"span", "S",
                        "Span in metres; by default the number between the first two \"_\" of "
                        "the file name."};
const Option DatumOption{"datum", "rhs|mixed", "Datum type: rhs (default) or mixed."};
const Option DriveOption{"drive", "left|right", "Drive side: left or right (default)."};
const Option FlipOption{"flip", nullptr, "Mirror the picture (\"Flip datum\")."};

ParsedArguments readSpanAndDatum(const CommandLine& line, CommonOptions& options) {
    if (line.isSet(SpanOption)) {
        options.span = usableSpan(line.value(SpanOption));
        if (!options.span)
            return line.mustBe(SpanOption, "a positive number of metres");
    }
    if (!line.isSet(DatumOption))
        return {};
    std::string datum;
    ParsedArguments read = line.oneOf(DatumOption, {"rhs", "mixed"}, datum);
    options.view.DatumRHS = datum == "rhs";
    return read;
}

ParsedArguments readDriveAndFlip(const CommandLine& line, CommonOptions& options) {
    options.view.FlipDatum = line.isSet(FlipOption);
    if (!line.isSet(DriveOption))
        return {};
    std::string drive;
    ParsedArguments read = line.oneOf(DriveOption, {"left", "right"}, drive);
    options.view.DriveRight = drive == "right";
    return read;
}

std::optional<float> spanForCommand(const CommonOptions& options, const Console& console) {
    if (options.span)
        return options.span;
    if (const auto fromName = usableSpan(spanTextFromFileName(bareFileName(options.file))))
        return fromName;
    console.error("the file name holds no span between its first two \"_\"; give --span S");
    return std::nullopt;
}

} // namespace kestavian::cli
