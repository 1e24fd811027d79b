#include "cli/stats_command.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <fstream>
#include <future>
#include <map>
#include <thread>

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "data/mod_input.h"
#include "platform/batch_handoff.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

namespace {

using stats::BlockSize;
using stats::Model;

enum class StatsFormat { Text, Csv, Json };

struct StatsOptions : CommonOptions {
    std::vector<std::string> files;
    std::optional<std::int16_t> effectNo;
    BlockSize block = BlockSize::Day;
    bool byTrucks = false;
    Model fit = Model::Gev;
    std::vector<double> years{1000};
    StatsFormat format = StatsFormat::Text;
    std::string plot;
    std::string maxima;
};

const Option StatsEffectOption{"effect", "N", "Only the effect numbered N (default: every one)."};
const Option BlockOption{"block", "day|week|month|year",
                         "The blocks whose maxima are fitted (default day): 1, 5, 25 or 250 days "
                         "of the simulation's calendar, 250, 50, 10 or 1 a year."};
const Option ByTrucksOption{"by-trucks", nullptr,
                            "Also fit the load events of 1, 2, 3 and 4+ trucks apart, and combine "
                            "the fits into a composite return level."};
const Option FitOption{"fit", "gev|gumbel",
                       "The fit each truck class gets in the composite (default gev); both "
                       "fits are always reported and drawn."};
const Option ReturnPeriodOption{"return-period", "Y[,Y...]",
                                "Return periods in years, each over 1 (default 1000)."};
const Option StatsFormatOption{"format", "text|csv|json",
                               "text (default), csv (a row per effect, type and return period) or "
                               "json (JSON Lines, an object per effect and type)."};
const Option PlotOption{"plot", "OUT.png|OUT.svg",
                        "The probability plot of the block maxima and both fits; with several "
                        "effects, OUT gets the effect's number before its ending."};
const Option MaximaOption{"maxima", "OUT.csv",
                          "The block maxima: effect,type,block,value,position,event,time,trucks "
                          "(file first with several FILEs)."};

const char* const StatsDescription =
    "Fits extreme-value distributions to the block maxima of each load effect and gives the "
    "return levels that govern a design. A load event of effect N is an effect numbered N with at "
    "least one truck. Its block is floor(Time / L), L = 1, 5, 25 or 250 days; the blocks run from "
    "the earliest load event's to the latest's, and a block without one is empty. A block's "
    "maximum is its greatest value (of equal values the first in the file). Gumbel and GEV, F(z) = "
    "exp(-[1 + xi (z - mu)/sigma]^(-1/xi)), are fitted by maximum likelihood to the non-empty "
    "blocks' maxima; xi < 0 is a bounded upper tail (scipy's genextreme c is -xi). With p the "
    "share of non-empty blocks, a block's maximum has F_B(z) = 1 - p + p F(z), and the T-year "
    "level z_T solves F_B(z_T)^B = 1 - 1/T, B blocks a year; its 95 % intervals come from the "
    "delta method and the profile likelihood (an unbounded bound is written so). Several FILEs "
    "are runs of the same bridge, pooled: a block never spans two runs. Fewer than 10 non-empty "
    "blocks, equal maxima or a shape at or below -1 refuse a fit with the reason; a note says when "
    "most blocks are empty, as in a file of chosen events rather than a whole run. FILE may be "
    "gzip-compressed, or - for standard input. Exit status 1 when a file is taken only up to a "
    "bad line, or holds no event.";

ParsedArguments parseYears(const CommandLine& line, std::vector<double>& years) {
    const std::optional<std::vector<double>> periods =
        stats::returnPeriodsIn(line.value(ReturnPeriodOption));
    if (!periods)
        return line.mustBe(ReturnPeriodOption, "years over 1 such as 75,100,1000");
    years = *periods;
    return {};
}

// Whether a name ends in one of the endings, in any case.
bool endsWith(const std::string& path, std::initializer_list<const char*> endings) {
    const std::string lower = lowerCase(path);
    for (const std::string ending : endings)
        if (lower.size() > ending.size() &&
            lower.compare(lower.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    return false;
}

ParsedArguments parseStatsArguments(const Arguments& arguments, StatsOptions& options) {
    CommandLine line({StatsEffectOption, BlockOption, ByTrucksOption, FitOption, ReturnPeriodOption,
                      StatsFormatOption, PlotOption, MaximaOption, EffectsOption},
                     "stats FILE... [--effect N] [--block day|week|month|year] [--by-trucks] "
                     "[--fit gev|gumbel] [--return-period Y[,Y...]] [--format text|csv|json] "
                     "[--plot OUT.png|OUT.svg] [--maxima OUT.csv] [--effects N]",
                     StatsDescription, {"FILE...", "Event files, runs of the same bridge."});
    if (ParsedArguments parsed = line.parse(arguments); !parsed.runs())
        return parsed;
    options.files = line.positionals();
    if (options.files.empty())
        return failure("an event file is needed (see --help)");
    if (std::count_if(options.files.begin(), options.files.end(), namesStandardInput) > 1)
        return failure("standard input can be read only once");
    std::string word;
    const auto read = [&](const Option& option, std::initializer_list<const char*> words) {
        return line.isSet(option) ? line.oneOf(option, words, word) : ParsedArguments{};
    };
    ParsedArguments parsed = firstFailure(
        {line.isSet(EffectsOption)
             ? line.readWhole(EffectsOption, 1, 32767, "a whole number from 1 to 32767",
                              options.view.NoEffects)
             : ParsedArguments{},
         line.isSet(StatsEffectOption)
             ? readEffectNumber(line, StatsEffectOption, options.effectNo.emplace())
             : ParsedArguments{},
         line.isSet(ReturnPeriodOption) ? parseYears(line, options.years) : ParsedArguments{}});
    if (!parsed.runs())
        return parsed;
    if (parsed = read(BlockOption, {"day", "week", "month", "year"}); !parsed.runs())
        return parsed;
    if (line.isSet(BlockOption))
        options.block = word == "week"    ? BlockSize::Week
                        : word == "month" ? BlockSize::Month
                        : word == "year"  ? BlockSize::Year
                                          : BlockSize::Day;
    if (parsed = read(FitOption, {"gev", "gumbel"}); !parsed.runs())
        return parsed;
    if (line.isSet(FitOption))
        options.fit = word == "gumbel" ? Model::Gumbel : Model::Gev;
    if (parsed = read(StatsFormatOption, {"text", "csv", "json"}); !parsed.runs())
        return parsed;
    if (line.isSet(StatsFormatOption))
        options.format = word == "csv"    ? StatsFormat::Csv
                         : word == "json" ? StatsFormat::Json
                                          : StatsFormat::Text;
    options.byTrucks = line.isSet(ByTrucksOption);
    options.plot = line.value(PlotOption);
    if (line.isSet(PlotOption) && !endsWith(options.plot, {".png", ".svg"}))
        return line.mustBe(PlotOption, "a .png or .svg file");
    options.maxima = line.value(MaximaOption);
    if (line.isSet(MaximaOption) && options.maxima.empty())
        return failure("--maxima needs a file");
    return {};
}

// What one file gave: how its reading went and its load events' block maxima by effect number.
struct RunRead {
    std::optional<StreamOutcome> outcome;
    std::map<std::int16_t, stats::EffectMaxima> effects;
    EffectNumbers seen;
};

// A load event on its way to its block.
struct PendingEvent {
    std::int16_t effectNo;
    stats::LoadEvent event;
};

// A file read alone places its load events in their blocks on the other core while the parser
// goes on; files read side by side already keep every core busy.
RunRead readRun(const StatsOptions& options, std::size_t fileIndex, const Console* console,
                bool placeAlongside) {
    RunRead run;
    CommonOptions file = options;
    file.file = options.files[fileIndex];
    BatchHandoff<PendingEvent> placing(
        std::size_t{1} << 15, placeAlongside, [&](const std::vector<PendingEvent>& batch) {
            for (const PendingEvent& pending : batch) {
                auto [at, added] = run.effects.try_emplace(
                    pending.effectNo, options.block, static_cast<int>(fileIndex), options.byTrucks);
                at->second.add(pending.event);
            }
        });
    const auto onEvent = [&](const ParsedEvent& parsed) {
        run.seen.add(parsed);
        for (const EffectData& effect : parsed.event.Effects)
            if (effect.NoTrucks >= 1 && (!options.effectNo || effect.EffectNo == *options.effectNo))
                placing.push({effect.EffectNo,
                              {effect.Value, effect.Time, parsed.position, parsed.event.EventNo,
                               effect.NoTrucks}});
    };
    // Read alongside others, a file reports nothing itself: its outcome is told in file order.
    if (console != nullptr)
        run.outcome = streamCommandFile(file, *console, onEvent);
    else
        run.outcome = streamEventFile(file.file, file.view.NoEffects, onEvent, {},
                                      ParserOptions::Trucks::Counted);
    placing.finish();
    return run;
}

// The runs read side by side, one a core.
std::vector<RunRead> readRuns(const StatsOptions& options, const Console& console) {
    std::vector<RunRead> runs(options.files.size());
    if (runs.size() == 1) {
        runs.front() = readRun(options, 0, &console, true);
        return runs;
    }
    const std::size_t workers = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    std::atomic<std::size_t> next{0};
    for (std::size_t w = 0; w < std::min(workers, runs.size()); ++w)
        threads.emplace_back([&] {
            for (std::size_t i; (i = next++) < runs.size();)
                runs[i] = readRun(options, i, nullptr, false);
        });
    for (std::thread& thread : threads)
        thread.join();
    return runs;
}

EffectStats analyseEffect(std::int16_t effectNo, const std::vector<RunRead>& runs,
                          const StatsOptions& options) {
    std::vector<const stats::EffectMaxima*> maxima;
    for (const RunRead& run : runs) {
        const auto found = run.effects.find(effectNo);
        maxima.push_back(found != run.effects.end() ? &found->second : nullptr);
    }
    return {effectNo, stats::effectStatistics(
                          maxima, {options.block, options.byTrucks, options.fit, options.years})};
}

int runStats(const StatsOptions& options, const Console& console, PlotWriter writePlots) {
    if (!options.plot.empty() && writePlots == nullptr)
        return console.fail("--plot is drawn by kestavian-cli-qt; run it through kestavian-cli");
    const std::vector<RunRead> runs = readRuns(options, console);
    int status = ExitOk;
    EffectNumbers seen;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        CommonOptions file = options;
        file.file = options.files[i];
        if (!runs[i].outcome)
            return ExitUsage; // told as it was read
        if (runs[i].outcome->failure)
            return console.fail("cannot read " + file.file + ": " + runs[i].outcome->failure->text);
        noteStop(*runs[i].outcome, file, console);
        if (runs[i].outcome->stop || reportNoEvent(*runs[i].outcome, file, console))
            status = ExitStopped;
        seen.merge(runs[i].seen);
    }
    if (reportUnknownEffect(options.effectNo, seen, console))
        return ExitUsage;

    StatsReport report;
    report.files = options.files;
    report.block = options.block;
    report.compositeModel = options.fit;
    report.years = options.years;
    // Each effect fitted on a core of its own.
    std::vector<std::future<EffectStats>> analyses;
    for (const std::int16_t n : seen.numbers())
        if (!options.effectNo || n == *options.effectNo)
            analyses.push_back(
                std::async(std::launch::async, [&, n] { return analyseEffect(n, runs, options); }));
    for (std::future<EffectStats>& analysis : analyses)
        report.effects.push_back(analysis.get());

    switch (options.format) {
    case StatsFormat::Text:
        writeStatsText(report, console.out);
        break;
    case StatsFormat::Csv:
        writeStatsCsv(report, console.out);
        break;
    case StatsFormat::Json:
        writeStatsJson(report, console.out);
        break;
    }
    if (!options.maxima.empty()) {
        std::ofstream out(options.maxima, std::ios::binary | std::ios::trunc);
        writeMaximaCsv(report, out);
        if (!out.flush())
            return console.fail("cannot write " + options.maxima);
    }
    if (!options.plot.empty())
        if (const std::string problem = writePlots(report, options.plot); !problem.empty())
            return console.fail(problem);
    return status;
}

} // namespace

bool asksForPlot(const Arguments& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::string& word) {
        return word == "--plot" || word.rfind("--plot=", 0) == 0 || word == "-plot" ||
               word.rfind("-plot=", 0) == 0;
    });
}

int runStatsCommand(const Arguments& arguments, const Console& console, PlotWriter writePlots) {
    StatsOptions options;
    const ParsedArguments parsed = parseStatsArguments(arguments, options);
    return runParsed(parsed, console, [&] { return runStats(options, console, writePlots); });
}

} // namespace kestavian::cli
