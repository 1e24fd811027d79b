#include "stats/statistics_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "data/calendar.h"
#include "data/mod_input.h"

namespace kestavian::stats {

namespace {

// A figure for people: six significant digits.
std::string figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string bound(const std::optional<double>& value) {
    return value ? figure(*value) : "unbounded";
}

void writeFitText(Model model, const Result<Fit>& fit, std::ostream& out) {
    out << "  " << (model == Model::Gumbel ? "Gumbel: " : "GEV:    ");
    if (!fit) {
        out << "not fitted: " << fit.reason() << '\n';
        return;
    }
    const GevParams& p = fit->params;
    const auto& se = fit->standardErrors;
    out << "mu " << figure(p.mu) << " (se " << figure(se[0]) << "), sigma " << figure(p.sigma)
        << " (se " << figure(se[1]) << ")";
    if (model == Model::Gev)
        out << ", xi " << figure(p.xi) << " (se " << figure(se[2]) << ")";
    out << "; negative log-likelihood " << figure(fit->nll) << '\n';
}

void writeGroupText(std::ostream& out, int effectNo, const GroupStatistics& group,
                    const std::vector<double>& years, const std::vector<std::string>& runFiles) {
    out << "\nEffect " << effectNo << ", "
        << (group.type == "all"
                ? std::string("all load events")
                : "load events of " + group.type + (group.type == "1" ? " truck" : " trucks"))
        << '\n';
    if (group.sample) {
        const BlockSample& sample = *group.sample;
        out << "  blocks: " << sample.blocks << ", " << sample.blocks - sample.maxima.size()
            << " of them empty\n";
        if (const BlockMaximum* top = largestMaximum(sample))
            out << "  largest maximum: " << figure(top->value) << ", event " << top->eventNumber
                << " (position " << top->position
                << (runFiles.size() > 1
                        ? " in " +
                              bareFileName(runFiles.at(static_cast<std::size_t>(top->fileIndex)))
                        : "")
                << "), " << calendarText(top->time) << '\n';
    }
    for (const auto& [model, analysis] : modelAnalyses(group))
        writeFitText(model, analysis->fit, out);
    if (group.analysis.test) {
        const LikelihoodRatio& test = *group.analysis.test;
        out << "  Gumbel against GEV: deviance " << figure(test.statistic) << ", p "
            << figure(test.pValue) << ": the data prefer the " << modelLabel(test.preferred)
            << '\n';
    }
    if (group.analysis.gumbel.fit || group.analysis.gev.fit) {
        out << "  return levels with 95 % intervals (delta method; profile likelihood):\n";
        for (std::size_t i = 0; i < years.size(); ++i) {
            out << "    " << figure(years[i]) << " years:";
            for (const auto& [model, analysis] : modelAnalyses(group)) {
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
    for (const std::string& note : statisticsNotes(group, false))
        out << "  note: " << note << '\n';
}

} // namespace

const char* blockName(BlockSize size) {
    switch (size) {
    case BlockSize::Day:
        return "day";
    case BlockSize::Week:
        return "week";
    case BlockSize::Month:
        return "month";
    case BlockSize::Year:
        return "year";
    }
    return "day";
}

const char* modelLabel(Model model) {
    return model == Model::Gumbel ? "Gumbel" : "GEV";
}

const BlockMaximum* largestMaximum(const BlockSample& sample) {
    const BlockMaximum* best = nullptr;
    for (const BlockMaximum& maximum : sample.maxima)
        if (best == nullptr || maximum.value > best->value)
            best = &maximum;
    return best;
}

// Why figures of a group are missing, and what to be wary of: each once. The text report says
// where a fit is missing in its own line (withoutFits).
std::vector<std::string> statisticsNotes(const GroupStatistics& group, bool withFits) {
    std::vector<std::string> notes;
    const auto note = [&](const std::string& text) {
        if (!text.empty() && std::find(notes.begin(), notes.end(), text) == notes.end())
            notes.push_back(text);
    };
    if (!group.sample)
        note(group.sample.reason());
    // A file of chosen events (such as an extract of a run's largest) leaves most blocks empty,
    // and its maxima are not a block's; a whole run of traffic leaves few.
    if (group.sample && group.type == "all" && group.sample->nonEmptyShare() < 0.5)
        note("only " + std::to_string(group.sample->maxima.size()) + " of the " +
             std::to_string(group.sample->blocks) +
             " blocks hold a load event: the fits take the others as blocks below every maximum, "
             "which holds for a whole run, not for a file of chosen events (such as an extract "
             "of a run's largest); fit the whole run");
    for (const auto& [model, analysis] : modelAnalyses(group)) {
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

std::array<std::pair<Model, const ModelAnalysis*>, 2> modelAnalyses(const GroupStatistics& group) {
    return {{{Model::Gumbel, &group.analysis.gumbel}, {Model::Gev, &group.analysis.gev}}};
}

std::string statisticsHeading(BlockSize block) {
    return std::string("Block maxima by ") + blockName(block) + " (" +
           std::to_string(blocksPerYear(block)) +
           " a year); GEV shape xi < 0 is a bounded upper tail (scipy's genextreme c is -xi)";
}

void writeEffectText(std::ostream& out, int effectNo, const EffectStatistics& statistics,
                     const StatisticsChoice& choice, const std::vector<std::string>& runFiles) {
    for (const GroupStatistics& group : statistics.groups)
        writeGroupText(out, effectNo, group, choice.years, runFiles);
    if (!statistics.composite)
        return;
    out << "\nEffect " << effectNo << ", composite of the truck classes' "
        << modelLabel(choice.compositeModel) << " fits\n";
    for (std::size_t i = 0; i < choice.years.size(); ++i) {
        const Result<double>& level = statistics.composite->at(i);
        out << "    " << figure(choice.years[i])
            << " years: " << (level ? figure(*level) : "none: " + level.reason()) << '\n';
    }
}

} // namespace kestavian::stats
