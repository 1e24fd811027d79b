#include "cli/stats_report.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "data/calendar.h"
#include "data/mod_input.h"
#include "platform/numbers.h"
#include "stats/statistics_text.h"

namespace kestavian::cli {

namespace {

using stats::Fit;
using stats::Interval;
using stats::Model;
using stats::ModelAnalysis;
using stats::Result;
using stats::ReturnLevel;

std::string joined(const std::vector<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes)
        text += (text.empty() ? "" : "; ") + note;
    return text;
}

std::string fileOf(const StatsReport& report, const stats::BlockMaximum& maximum) {
    return bareFileName(report.files.at(static_cast<std::size_t>(maximum.fileIndex)));
}

// ---- JSON ----------------------------------------------------------------------------------

std::string jsonText(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            quoted += escaped;
            continue;
        }
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string jsonNumber(const std::optional<double>& value) {
    return value ? shortestForm(*value) : "null";
}

std::string jsonInterval(const Interval& interval) {
    return "[" + jsonNumber(interval.lower) + "," + jsonNumber(interval.upper) + "]";
}

std::string jsonFit(Model model, const Result<Fit>& fit) {
    if (!fit)
        return "null";
    const stats::GevParams& p = fit->params;
    const auto& se = fit->standardErrors;
    std::string text = "{\"mu\":" + shortestForm(p.mu) + ",\"sigma\":" + shortestForm(p.sigma);
    if (model == Model::Gev)
        text += ",\"xi\":" + shortestForm(p.xi);
    text += ",\"se_mu\":" + shortestForm(se[0]) + ",\"se_sigma\":" + shortestForm(se[1]);
    if (model == Model::Gev)
        text += ",\"se_xi\":" + shortestForm(se[2]);
    return text + ",\"nll\":" + shortestForm(fit->nll) + "}";
}

void writeGroupJson(const StatsReport& report, const EffectStats& effect,
                    const stats::GroupStatistics& group, std::ostream& out) {
    out << "{\"effect\":" << effect.effectNo << ",\"type\":" << jsonText(group.type)
        << ",\"block\":\"" << stats::blockName(report.block) << "\"";
    if (group.sample) {
        const stats::BlockSample& sample = *group.sample;
        out << ",\"blocks\":" << sample.blocks
            << ",\"empty_blocks\":" << sample.blocks - sample.maxima.size();
    }
    out << ",\"blocks_per_year\":" << group.analysis.block.blocksPerYear;
    const stats::BlockMaximum* top = group.sample ? stats::largestMaximum(*group.sample) : nullptr;
    out << ",\"max\":";
    if (top == nullptr)
        out << "null";
    else
        out << "{\"value\":" << shortestForm(top->value) << ",\"position\":" << top->position
            << ",\"event\":" << top->eventNumber << ",\"time\":" << shortestForm(top->time)
            << (report.files.size() > 1 ? ",\"file\":" + jsonText(fileOf(report, *top)) : "")
            << "}";
    out << ",\"gumbel\":" << jsonFit(Model::Gumbel, group.analysis.gumbel.fit)
        << ",\"gev\":" << jsonFit(Model::Gev, group.analysis.gev.fit) << ",\"lr\":";
    if (group.analysis.test)
        out << "{\"statistic\":" << shortestForm(group.analysis.test->statistic)
            << ",\"p\":" << shortestForm(group.analysis.test->pValue) << ",\"prefer\":\""
            << (group.analysis.test->preferred == Model::Gev ? "gev" : "gumbel") << "\"}";
    else
        out << "null";
    out << ",\"return_levels\":[";
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        out << (i > 0 ? "," : "") << "{\"years\":" << shortestForm(report.years[i]);
        for (const auto& [model, analysis] : stats::modelAnalyses(group)) {
            const std::string key = model == Model::Gumbel ? "gumbel" : "gev";
            const Result<ReturnLevel>* level =
                i < analysis->levels.size() ? &analysis->levels[i] : nullptr;
            if (level == nullptr || !*level) {
                out << ",\"" << key << "\":null,\"" << key << "_delta\":null,\"" << key
                    << "_profile\":null";
                continue;
            }
            out << ",\"" << key << "\":" << shortestForm((*level)->level) << ",\"" << key
                << "_delta\":" << jsonInterval((*level)->delta) << ",\"" << key
                << "_profile\":" << jsonInterval((*level)->profile);
        }
        out << "}";
    }
    out << "]";
    if (const std::vector<std::string> notes = stats::statisticsNotes(group); !notes.empty())
        out << ",\"note\":" << jsonText(joined(notes));
    out << "}\n";
}

void writeCompositeJson(const StatsReport& report, const EffectStats& effect, std::ostream& out) {
    out << "{\"effect\":" << effect.effectNo << ",\"type\":\"composite\",\"block\":\""
        << stats::blockName(report.block)
        << "\",\"blocks_per_year\":" << stats::blocksPerYear(report.block) << ",\"fit\":\""
        << (report.compositeModel == Model::Gev ? "gev" : "gumbel") << "\",\"return_levels\":[";
    std::string note;
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        const Result<double>& level = effect.statistics.composite->at(i);
        out << (i > 0 ? "," : "") << "{\"years\":" << shortestForm(report.years[i])
            << ",\"value\":" << (level ? shortestForm(*level) : "null") << "}";
        if (!level && note.empty())
            note = level.reason();
    }
    out << "]" << (note.empty() ? "" : ",\"note\":" + jsonText(note)) << "}\n";
}

// ---- CSV -----------------------------------------------------------------------------------

std::string csvText(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string csvNumber(const std::optional<double>& value) {
    return value ? shortestForm(*value) : "";
}

const char* const CsvHeader =
    "effect,type,block,blocks,empty_blocks,blocks_per_year,max_value,max_position,max_event,"
    "max_time,gumbel_mu,gumbel_sigma,gumbel_se_mu,gumbel_se_sigma,gumbel_nll,gev_mu,gev_sigma,"
    "gev_xi,gev_se_mu,gev_se_sigma,gev_se_xi,gev_nll,lr_statistic,lr_p,prefer,years,gumbel,"
    "gumbel_delta_lo,gumbel_delta_hi,gumbel_profile_lo,gumbel_profile_hi,gev,gev_delta_lo,"
    "gev_delta_hi,gev_profile_lo,gev_profile_hi,composite,note\n";

// The fields of a group that every one of its rows repeats, up to prefer.
std::string csvGroupFields(const StatsReport& report, const EffectStats& effect,
                           const stats::GroupStatistics& group) {
    std::string row = std::to_string(effect.effectNo) + "," + group.type + "," +
                      stats::blockName(report.block) + ",";
    const stats::BlockMaximum* top = group.sample ? stats::largestMaximum(*group.sample) : nullptr;
    if (group.sample)
        row += std::to_string(group.sample->blocks) + "," +
               std::to_string(group.sample->blocks - group.sample->maxima.size());
    else
        row += ",";
    row += "," + std::to_string(group.analysis.block.blocksPerYear) + ",";
    row += top ? shortestForm(top->value) + "," + std::to_string(top->position) + "," +
                     std::to_string(top->eventNumber) + "," + shortestForm(top->time)
               : ",,,";
    for (const auto& [model, analysis] : stats::modelAnalyses(group)) {
        const std::size_t fields = model == Model::Gumbel ? 5 : 7;
        if (!analysis->fit) {
            row += std::string(fields, ',');
            continue;
        }
        const stats::GevParams& p = analysis->fit->params;
        const auto& se = analysis->fit->standardErrors;
        row += "," + shortestForm(p.mu) + "," + shortestForm(p.sigma) +
               (model == Model::Gev ? "," + shortestForm(p.xi) : "") + "," + shortestForm(se[0]) +
               "," + shortestForm(se[1]) + (model == Model::Gev ? "," + shortestForm(se[2]) : "") +
               "," + shortestForm(analysis->fit->nll);
    }
    if (group.analysis.test)
        row += "," + shortestForm(group.analysis.test->statistic) + "," +
               shortestForm(group.analysis.test->pValue) + "," +
               (group.analysis.test->preferred == Model::Gev ? "gev" : "gumbel");
    else
        row += ",,,";
    return row;
}

void writeGroupCsv(const StatsReport& report, const EffectStats& effect,
                   const stats::GroupStatistics& group, std::ostream& out) {
    const std::string fields = csvGroupFields(report, effect, group);
    const std::string note = csvText(joined(stats::statisticsNotes(group)));
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        out << fields << "," << shortestForm(report.years[i]);
        for (const auto& [model, analysis] : stats::modelAnalyses(group)) {
            const Result<ReturnLevel>* level =
                i < analysis->levels.size() ? &analysis->levels[i] : nullptr;
            if (level == nullptr || !*level) {
                out << ",,,,,";
                continue;
            }
            const ReturnLevel& l = **level;
            out << "," << shortestForm(l.level) << "," << csvNumber(l.delta.lower) << ","
                << csvNumber(l.delta.upper) << "," << csvNumber(l.profile.lower) << ","
                << csvNumber(l.profile.upper);
        }
        out << ",," << note << '\n';
    }
}

void writeCompositeCsv(const StatsReport& report, const EffectStats& effect, std::ostream& out) {
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        const Result<double>& level = effect.statistics.composite->at(i);
        out << effect.effectNo << ",composite," << stats::blockName(report.block) << ",,,"
            << stats::blocksPerYear(report.block) << std::string(19, ',') << ","
            << shortestForm(report.years[i]) << std::string(10, ',') << ","
            << (level ? shortestForm(*level) : "") << "," << (level ? "" : csvText(level.reason()))
            << '\n';
    }
}

} // namespace

void writeStatsText(const StatsReport& report, std::ostream& out) {
    out << stats::statisticsHeading(report.block) << '\n';
    const stats::StatisticsChoice choice{report.block, false, report.compositeModel, report.years};
    for (const EffectStats& effect : report.effects)
        stats::writeEffectText(out, effect.effectNo, effect.statistics, choice, report.files);
}

void writeStatsJson(const StatsReport& report, std::ostream& out) {
    for (const EffectStats& effect : report.effects) {
        for (const stats::GroupStatistics& group : effect.statistics.groups)
            writeGroupJson(report, effect, group, out);
        if (effect.statistics.composite)
            writeCompositeJson(report, effect, out);
    }
}

void writeStatsCsv(const StatsReport& report, std::ostream& out) {
    out << CsvHeader;
    for (const EffectStats& effect : report.effects) {
        for (const stats::GroupStatistics& group : effect.statistics.groups)
            writeGroupCsv(report, effect, group, out);
        if (effect.statistics.composite)
            writeCompositeCsv(report, effect, out);
    }
}

void writeMaximaCsv(const StatsReport& report, std::ostream& out) {
    const bool files = report.files.size() > 1;
    out << (files ? "file," : "") << "effect,type,block,value,position,event,time,trucks\n";
    for (const EffectStats& effect : report.effects)
        for (const stats::GroupStatistics& group : effect.statistics.groups) {
            if (!group.sample)
                continue;
            for (const stats::BlockMaximum& m : group.sample->maxima)
                out << (files ? csvText(fileOf(report, m)) + "," : "") << effect.effectNo << ","
                    << group.type << "," << m.block << "," << shortestForm(m.value) << ","
                    << m.position << "," << m.eventNumber << "," << shortestForm(m.time) << ","
                    << m.trucks << '\n';
        }
}

} // namespace kestavian::cli
