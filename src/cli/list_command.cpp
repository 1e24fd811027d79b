#include "cli/list_command.h"

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "data/calendar.h"
#include "platform/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace kestavian::cli {

namespace {

enum class RowFormat { Text, Csv, Json };

struct ListOptions : CommonOptions {
    RowChoice rows;
    RowFormat format = RowFormat::Text;
};

const Option RowFormatOption{"format", "text|csv|json",
                             "text (default: aligned columns and the time on the simulation's "
                             "calendar), csv, or json (JSON Lines)."};

ParsedArguments parseListArguments(const Arguments& arguments, ListOptions& options) {
    CommandLine line(
        {EffectFilterOption, TopOption, BottomOption, RowFormatOption, EffectsOption},
        "list FILE [--effect N] [--top K | --bottom K] [--format text|csv|json] [--effects N]",
        "Lists one row per stored load effect: the event's position in the file, its number, the "
        "effect's number, value, time and distance, and its number of trucks; every row in file "
        "order, or the best K. Numbers are written with a point, in the shortest form that reads "
        "back the same. FILE may be gzip-compressed, or - for standard input. Exit status 1 when "
        "the file is taken only up to a bad line, or holds no event.");
    ParsedArguments parsed = readFileAndEffects(line, arguments, options);
    if (!parsed.runs())
        return parsed;
    if (line.isSet(RowFormatOption)) {
        std::string format;
        parsed = line.oneOf(RowFormatOption, {"text", "csv", "json"}, format);
        options.format = format == "csv"    ? RowFormat::Csv
                         : format == "json" ? RowFormat::Json
                                            : RowFormat::Text;
    }
    return firstFailure({parsed, readRowChoice(line, EffectFilterOption, true, options.rows)});
}

constexpr std::size_t FieldCount = 7;
constexpr std::array<const char*, FieldCount> FieldNames{"position", "event",    "effect", "value",
                                                         "time",     "distance", "trucks"};
// Right-aligned text columns, wide enough for the usual values; a wider value pushes the rest.
constexpr std::array<int, FieldCount> FieldWidths{8, 7, 6, 12, 14, 10, 6};
constexpr const char* CalendarHeading = "  year month day        clock";

std::array<std::string, FieldCount> fieldsOf(const EffectRow& row) {
    return {std::to_string(row.position), std::to_string(row.eventNo), std::to_string(row.effectNo),
            shortestForm(row.value),      shortestForm(row.time),      shortestForm(row.distance),
            std::to_string(row.trucks)};
}

void padded(std::string& line, const std::string& text, int width) {
    line.append(static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))), ' ');
    line += text;
}

// A time on the simulation's calendar in the text columns' layout; blank for a time too far off to
// count in hundredths.
std::string calendarColumns(double seconds) {
    const std::optional<CalendarTime> t = calendarTimeOf(seconds);
    if (!t)
        return {};
    std::array<char, 96> text;
    std::snprintf(text.data(), text.size(), "%6lld %5lld %3lld  %02lld:%02lld:%02lld.%02lld",
                  static_cast<long long>(t->year), static_cast<long long>(t->month),
                  static_cast<long long>(t->day), static_cast<long long>(t->hour),
                  static_cast<long long>(t->minute), static_cast<long long>(t->second),
                  static_cast<long long>(t->hundredths));
    return text.data();
}

// Writes the rows in one of the three forms, the heading first (JSON Lines have none). Nothing
// is written before the first row or the end, so a file that cannot be read leaves no output.
class RowWriter {
public:
    RowWriter(RowFormat format, std::ostream& out) : format_(format), out_(out) {}

    // The heading, when it has not been written yet.
    void head() {
        if (headed_ || format_ == RowFormat::Json)
            return;
        headed_ = true;
        std::string line;
        for (std::size_t i = 0; i < FieldCount; ++i)
            if (format_ == RowFormat::Csv)
                line += (i > 0 ? "," : "") + std::string(FieldNames[i]);
            else
                padded(line, FieldNames[i], FieldWidths[i] + (i > 0 ? 2 : 0));
        out_ << line << (format_ == RowFormat::Text ? CalendarHeading : "") << '\n';
    }

    void write(const EffectRow& row) {
        head();
        const std::array<std::string, FieldCount> fields = fieldsOf(row);
        line_.clear();
        for (std::size_t i = 0; i < FieldCount; ++i)
            switch (format_) {
            case RowFormat::Csv:
                line_ += (i > 0 ? "," : "") + fields[i];
                break;
            case RowFormat::Json:
                line_ += (i > 0 ? ",\"" : "{\"") + std::string(FieldNames[i]) + "\":" + fields[i];
                break;
            case RowFormat::Text:
                padded(line_, fields[i], FieldWidths[i] + (i > 0 ? 2 : 0));
                break;
            }
        if (format_ == RowFormat::Json)
            line_ += '}';
        else if (format_ == RowFormat::Text)
            line_ += calendarColumns(row.time);
        line_ += '\n';
        out_ << line_;
    }

private:
    RowFormat format_;
    std::ostream& out_;
    std::string line_;
    bool headed_ = false;
};

int runList(const ListOptions& options, const Console& console) {
    RowWriter writer(options.format, console.out);
    std::optional<RowRanking> ranking = options.rows.newRanking();
    EffectNumbers effects;
    const std::optional<StreamOutcome> read =
        streamCommandFile(options, console, [&](const ParsedEvent& parsed) {
            effects.add(parsed);
            options.rows.forEachKept(parsed, [&](const EffectRow& row) {
                if (ranking)
                    ranking->add(row);
                else
                    writer.write(row);
            });
        });
    if (!read)
        return ExitUsage;
    noteStop(*read, options, console);
    if (reportNoEvent(*read, options, console))
        return ExitStopped;
    if (reportUnknownEffect(options.rows.effectNo, effects, console))
        return ExitUsage;
    if (ranking)
        for (const EffectRow& row : ranking->take())
            writer.write(row);
    writer.head();
    return read->stop ? ExitStopped : ExitOk;
}

} // namespace

int runListCommand(const Arguments& arguments, const Console& console) {
    ListOptions options;
    const ParsedArguments parsed = parseListArguments(arguments, options);
    return runParsed(parsed, console, [&] { return runList(options, console); });
}

} // namespace kestavian::cli
