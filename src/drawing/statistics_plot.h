#pragma once

#include <QString>

#include "drawing/probability_plot.h"
#include "stats/effect_statistics.h"

namespace kestavian {

// The probability plot of a group's statistics (its block maxima, in the sample's order, and its
// fits), titled with the file, effect and block, with the first return period's level marked.
PlotInput plotInputOf(const stats::GroupStatistics& group, const stats::StatisticsChoice& choice,
                      const QString& file, int effectNo);

} // namespace kestavian
