#include "cli/timings_command.h"

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "cli/view_options.h"

#include "drawing/headless_scene.h"
#include "drawing/null_surface.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

namespace {

int runTimings(const CommonOptions& options, const Console& console) {
    const std::optional<float> span = spanForCommand(options, console);
    if (!span)
        return ExitUsage;
    ViewSettings view = options.view;
    view.Span = *span;

    // The lines depend on the drawing only where it stops, and then not on the drive side, the
    // flip or any pixel: the window's start-up settings and a surface that draws nothing stand in.
    NullSurface nothing;
    HeadlessSteps scene(view, nothing);
    const auto writeLine = [&](const std::string& line) { console.out << line << '\n'; };
    const std::optional<StreamOutcome> read = streamCommandFile(
        options, console,
        [&](const ParsedEvent& parsed) {
            long effectNo = 0;
            for (const EffectData& effect : parsed.event.Effects) {
                ++effectNo;
                console.out << "Event " << generalForm(parsed.event.EventNo) << " (position "
                            << parsed.position << "), effect " << effectNo << '\n';
                try {
                    scene.show(effect, false, writeLine);
                } catch (const RuntimeError& error) {
                    console.out << "error: " << error.what() << '\n';
                }
            }
        },
        ParserOptions::Trucks::Fields);
    if (!read)
        return ExitUsage;
    noteStop(*read, options, console);
    return reportNoEvent(*read, options, console) ? ExitStopped : ExitOk;
}

} // namespace

int runTimingsCommand(const Arguments& arguments, const Console& console) {
    CommonOptions options;
    CommandLine line(
        {EffectsOption, SpanOption, DatumOption},
        "timings FILE [--effects N] [--span S] [--datum rhs|mixed]",
        "Lists, for every event and effect, the lines the viewer adds to its diagnostics box "
        "when it shows that effect, and an \"error:\" line where the viewer stops. Like the "
        "viewer's, the numbers carry the system's decimal separator (LC_ALL, LC_NUMERIC, LANG).");
    const ParsedArguments parsed = firstFailure(
        {readFileAndEffects(line, arguments, options), readSpanAndDatum(line, options)});
    return runParsed(parsed, console, [&] { return runTimings(options, console); });
}

} // namespace kestavian::cli
