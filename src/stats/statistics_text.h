#pragma once

#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "stats/effect_statistics.h"

namespace kestavian::stats {

// The statistics as people read them, written the same by kestavian-cli and the statistics window.

// "day", "week", "month", "year".
const char* blockName(BlockSize size);
// "Gumbel", "GEV".
const char* modelLabel(Model model);
// The greatest of the maxima; nothing when there are none.
const BlockMaximum* largestMaximum(const BlockSample& sample);
// Why figures of a group are missing and what to be wary of, each once; withFits: also the reason
// a fit is missing (which the text says in the fit's own line).
std::vector<std::string> statisticsNotes(const GroupStatistics& group, bool withFits = true);

// The group's two analyses, Gumbel first.
std::array<std::pair<Model, const ModelAnalysis*>, 2> modelAnalyses(const GroupStatistics& group);

// "Block maxima by day (250 a year); GEV shape xi < 0 is ...": what every report starts with.
std::string statisticsHeading(BlockSize block);

// One effect's statistics: per group the blocks, the largest maximum and its event (with its
// file's name, when runFiles names more than one run), both fits with standard errors, the
// test's verdict, the return levels with both intervals, and the notes; then the composite.
void writeEffectText(std::ostream& out, int effectNo, const EffectStatistics& statistics,
                     const StatisticsChoice& choice, const std::vector<std::string>& runFiles);

} // namespace kestavian::stats
