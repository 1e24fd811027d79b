#include "cli/stats_report.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "data/calendar.h"
#include "data/mod_input.h"
#include "platform/numbers.h"

namespace kestavian::cli {

namespace {

using stats::Fit;
using stats::Interval;
using stats::Model;
using stats::ModelAnalysis;
using stats::Result;
using stats::ReturnLevel;

std::string number(double value) {
    return shortestForm(value);
}

// A figure for people: six significant digits.
std::string figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string bound(const std::optional<double>& value) {
    return value ? figure(*value) : "unbounded";
}

const char* modelLabel(Model model) {
    return model == Model::Gumbel ? "Gumbel" : "GEV";
}

const stats::BlockMaximum* largest(const stats::BlockSample& sample) {
    const stats::BlockMaximum* best = nullptr;
    for (const stats::BlockMaximum& maximum : sample.maxima)
        if (best == nullptr || maximum.value > best->value)
            best = &maximum;
    return best;
}

// The analyses of a group, Gumbel first.
std::array<std::pair<Model, const ModelAnalysis*>, 2>
modelsOf(const stats::GroupStatistics& group) {
    return {{{Model::Gumbel, &group.analysis.gumbel}, {Model::Gev, &group.analysis.gev}}};
}

// Why figures of a group are missing, and what to be wary of: each once. The text report says
// where a fit is missing in its own line (withoutFits).
std::vector<std::string> notesOf(const stats::GroupStatistics& group, bool withFits = true) {
    std::vector<std::string> notes;
    const auto note = [&](const std::string& text) {
        if (!text.empty() && std::find(notes.begin(), notes.end(), text) == notes.end())
            notes.push_back(text);
    };
    if (!group.sample)
        note(group.sample.reason());
    for (const auto& [model, analysis] : modelsOf(group)) {
        const std::string name = modelLabel(model);
        if (!analysis->fit) {
            if (group.sample && withFits)
                note(name + " not fitted: " + analysis->fit.reason());
            continue;
        }
        if (!analysis->fit->warning.empty())
            note(name + ": " + analysis->fit->warning);
        for (const Result<ReturnLevel>& level : analysis->levels)
            if (!level)
                note(name + ": " + level.reason());
    }
    return notes;
}

std::string joined(const std::vector<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes)
        text += (text.empty() ? "" : "; ") + note;
    return text;
}

std::string fileOf(const StatsReport& report, const stats::BlockMaximum& maximum) {
    return bareFileName(report.files.at(static_cast<std::size_t>(maximum.fileIndex)));
}

// ---- Text ----------------------------------------------------------------------------------

void writeFitText(Model model, const Result<Fit>& fit, std::ostream& out) {
    out << "  " << (model == Model::Gumbel ? "Gumbel: " : "GEV:    ");
    if (!fit) {
        out << "not fitted: " << fit.reason() << '\n';
        return;
    }
    const stats::GevParams& p = fit->params;
    const auto& se = fit->standardErrors;
    out << "mu " << figure(p.mu) << " (se " << figure(se[0]) << "), sigma " << figure(p.sigma)
        << " (se " << figure(se[1]) << ")";
    if (model == Model::Gev)
        out << ", xi " << figure(p.xi) << " (se " << figure(se[2]) << ")";
    out << "; negative log-likelihood " << figure(fit->nll) << '\n';
}

void writeGroupText(const StatsReport& report, const EffectStats& effect,
                    const stats::GroupStatistics& group, std::ostream& out) {
    out << "\nEffect " << effect.effectNo << ", "
        << (group.type == "all"
                ? std::string("all load events")
                : "load events of " + group.type + (group.type == "1" ? " truck" : " trucks"))
        << '\n';
    if (group.sample) {
        const stats::BlockSample& sample = *group.sample;
        out << "  blocks: " << sample.blocks << ", " << sample.blocks - sample.maxima.size()
            << " of them empty\n";
        if (const stats::BlockMaximum* top = largest(sample))
            out << "  largest maximum: " << figure(top->value) << ", event " << top->eventNumber
                << " (position " << top->position
                << (report.files.size() > 1 ? " in " + fileOf(report, *top) : "") << "), "
                << calendarText(top->time) << '\n';
    }
    for (const auto& [model, analysis] : modelsOf(group))
        writeFitText(model, analysis->fit, out);
    if (group.analysis.test) {
        const stats::LikelihoodRatio& test = *group.analysis.test;
        out << "  Gumbel against GEV: deviance " << figure(test.statistic) << ", p "
            << figure(test.pValue) << ": the data prefer the " << modelLabel(test.preferred)
            << '\n';
    }
    if (group.analysis.gumbel.fit || group.analysis.gev.fit) {
        out << "  return levels with 95 % intervals (delta method; profile likelihood):\n";
        for (std::size_t i = 0; i < report.years.size(); ++i) {
            out << "    " << figure(report.years[i]) << " years:";
            for (const auto& [model, analysis] : modelsOf(group)) {
                const Result<ReturnLevel>& level = analysis->levels.at(i);
                out << "  " << modelLabel(model) << " ";
                if (!level) {
                    out << "none";
                    continue;
                }
                out << figure(level->level) << " (" << bound(level->delta.lower) << " to "
                    << bound(level->delta.upper) << "; " << bound(level->profile.lower) << " to "
                    << bound(level->profile.upper) << ")";
            }
            out << '\n';
        }
    }
    for (const std::string& note : notesOf(group, false))
        out << "  note: " << note << '\n';
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
    return value ? number(*value) : "null";
}

std::string jsonInterval(const Interval& interval) {
    return "[" + jsonNumber(interval.lower) + "," + jsonNumber(interval.upper) + "]";
}

std::string jsonFit(Model model, const Result<Fit>& fit) {
    if (!fit)
        return "null";
    const stats::GevParams& p = fit->params;
    const auto& se = fit->standardErrors;
    std::string text = "{\"mu\":" + number(p.mu) + ",\"sigma\":" + number(p.sigma);
    if (model == Model::Gev)
        text += ",\"xi\":" + number(p.xi);
    text += ",\"se_mu\":" + number(se[0]) + ",\"se_sigma\":" + number(se[1]);
    if (model == Model::Gev)
        text += ",\"se_xi\":" + number(se[2]);
    return text + ",\"nll\":" + number(fit->nll) + "}";
}

void writeGroupJson(const StatsReport& report, const EffectStats& effect,
                    const stats::GroupStatistics& group, std::ostream& out) {
    out << "{\"effect\":" << effect.effectNo << ",\"type\":" << jsonText(group.type)
        << ",\"block\":\"" << blockName(report.block) << "\"";
    if (group.sample) {
        const stats::BlockSample& sample = *group.sample;
        out << ",\"blocks\":" << sample.blocks
            << ",\"empty_blocks\":" << sample.blocks - sample.maxima.size();
    }
    out << ",\"blocks_per_year\":" << group.analysis.block.blocksPerYear;
    const stats::BlockMaximum* top = group.sample ? largest(*group.sample) : nullptr;
    out << ",\"max\":";
    if (top == nullptr)
        out << "null";
    else
        out << "{\"value\":" << number(top->value) << ",\"position\":" << top->position
            << ",\"event\":" << top->eventNumber << ",\"time\":" << number(top->time)
            << (report.files.size() > 1 ? ",\"file\":" + jsonText(fileOf(report, *top)) : "")
            << "}";
    out << ",\"gumbel\":" << jsonFit(Model::Gumbel, group.analysis.gumbel.fit)
        << ",\"gev\":" << jsonFit(Model::Gev, group.analysis.gev.fit) << ",\"lr\":";
    if (group.analysis.test)
        out << "{\"statistic\":" << number(group.analysis.test->statistic)
            << ",\"p\":" << number(group.analysis.test->pValue) << ",\"prefer\":\""
            << (group.analysis.test->preferred == Model::Gev ? "gev" : "gumbel") << "\"}";
    else
        out << "null";
    out << ",\"return_levels\":[";
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        out << (i > 0 ? "," : "") << "{\"years\":" << number(report.years[i]);
        for (const auto& [model, analysis] : modelsOf(group)) {
            const std::string key = model == Model::Gumbel ? "gumbel" : "gev";
            const Result<ReturnLevel>* level =
                i < analysis->levels.size() ? &analysis->levels[i] : nullptr;
            if (level == nullptr || !*level) {
                out << ",\"" << key << "\":null,\"" << key << "_delta\":null,\"" << key
                    << "_profile\":null";
                continue;
            }
            out << ",\"" << key << "\":" << number((*level)->level) << ",\"" << key
                << "_delta\":" << jsonInterval((*level)->delta) << ",\"" << key
                << "_profile\":" << jsonInterval((*level)->profile);
        }
        out << "}";
    }
    out << "]";
    if (const std::vector<std::string> notes = notesOf(group); !notes.empty())
        out << ",\"note\":" << jsonText(joined(notes));
    out << "}\n";
}

void writeCompositeJson(const StatsReport& report, const EffectStats& effect, std::ostream& out) {
    out << "{\"effect\":" << effect.effectNo << ",\"type\":\"composite\",\"block\":\""
        << blockName(report.block)
        << "\",\"blocks_per_year\":" << stats::blocksPerYear(report.block) << ",\"fit\":\""
        << (report.compositeModel == Model::Gev ? "gev" : "gumbel") << "\",\"return_levels\":[";
    std::string note;
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        const Result<double>& level = effect.statistics.composite->at(i);
        out << (i > 0 ? "," : "") << "{\"years\":" << number(report.years[i])
            << ",\"value\":" << (level ? number(*level) : "null") << "}";
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
    return value ? number(*value) : "";
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
    std::string row =
        std::to_string(effect.effectNo) + "," + group.type + "," + blockName(report.block) + ",";
    const stats::BlockMaximum* top = group.sample ? largest(*group.sample) : nullptr;
    if (group.sample)
        row += std::to_string(group.sample->blocks) + "," +
               std::to_string(group.sample->blocks - group.sample->maxima.size());
    else
        row += ",";
    row += "," + std::to_string(group.analysis.block.blocksPerYear) + ",";
    row += top ? number(top->value) + "," + std::to_string(top->position) + "," +
                     std::to_string(top->eventNumber) + "," + number(top->time)
               : ",,,";
    for (const auto& [model, analysis] : modelsOf(group)) {
        const std::size_t fields = model == Model::Gumbel ? 5 : 7;
        if (!analysis->fit) {
            row += std::string(fields, ',');
            continue;
        }
        const stats::GevParams& p = analysis->fit->params;
        const auto& se = analysis->fit->standardErrors;
        row += "," + number(p.mu) + "," + number(p.sigma) +
               (model == Model::Gev ? "," + number(p.xi) : "") + "," + number(se[0]) + "," +
               number(se[1]) + (model == Model::Gev ? "," + number(se[2]) : "") + "," +
               number(analysis->fit->nll);
    }
    if (group.analysis.test)
        row += "," + number(group.analysis.test->statistic) + "," +
               number(group.analysis.test->pValue) + "," +
               (group.analysis.test->preferred == Model::Gev ? "gev" : "gumbel");
    else
        row += ",,,";
    return row;
}

void writeGroupCsv(const StatsReport& report, const EffectStats& effect,
                   const stats::GroupStatistics& group, std::ostream& out) {
    const std::string fields = csvGroupFields(report, effect, group);
    const std::string note = csvText(joined(notesOf(group)));
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        out << fields << "," << number(report.years[i]);
        for (const auto& [model, analysis] : modelsOf(group)) {
            const Result<ReturnLevel>* level =
                i < analysis->levels.size() ? &analysis->levels[i] : nullptr;
            if (level == nullptr || !*level) {
                out << ",,,,,";
                continue;
            }
            const ReturnLevel& l = **level;
            out << "," << number(l.level) << "," << csvNumber(l.delta.lower) << ","
                << csvNumber(l.delta.upper) << "," << csvNumber(l.profile.lower) << ","
                << csvNumber(l.profile.upper);
        }
        out << ",," << note << '\n';
    }
}

void writeCompositeCsv(const StatsReport& report, const EffectStats& effect, std::ostream& out) {
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        const Result<double>& level = effect.statistics.composite->at(i);
        out << effect.effectNo << ",composite," << blockName(report.block) << ",,,"
            << stats::blocksPerYear(report.block) << std::string(19, ',') << ","
            << number(report.years[i]) << std::string(10, ',') << ","
            << (level ? number(*level) : "") << "," << (level ? "" : csvText(level.reason()))
            << '\n';
    }
}

} // namespace

const char* blockName(stats::BlockSize size) {
    switch (size) {
    case stats::BlockSize::Day:
        return "day";
    case stats::BlockSize::Week:
        return "week";
    case stats::BlockSize::Month:
        return "month";
    case stats::BlockSize::Year:
        return "year";
    }
    return "day";
}

void writeStatsText(const StatsReport& report, std::ostream& out) {
    out << "Block maxima by " << blockName(report.block) << " ("
        << stats::blocksPerYear(report.block)
        << " a year); GEV shape xi < 0 is a bounded upper tail (scipy's genextreme c is -xi)\n";
    for (const EffectStats& effect : report.effects) {
        for (const stats::GroupStatistics& group : effect.statistics.groups)
            writeGroupText(report, effect, group, out);
        if (!effect.statistics.composite)
            continue;
        out << "\nEffect " << effect.effectNo << ", composite of the truck classes' "
            << modelLabel(report.compositeModel) << " fits\n";
        for (std::size_t i = 0; i < report.years.size(); ++i) {
            const Result<double>& level = effect.statistics.composite->at(i);
            out << "    " << figure(report.years[i])
                << " years: " << (level ? figure(*level) : "none: " + level.reason()) << '\n';
        }
    }
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
                    << group.type << "," << m.block << "," << number(m.value) << "," << m.position
                    << "," << m.eventNumber << "," << number(m.time) << "," << m.trucks << '\n';
        }
}

} // namespace kestavian::cli
