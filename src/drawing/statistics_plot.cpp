#include "drawing/statistics_plot.h"

#include "stats/statistics_text.h"

namespace kestavian {

PlotInput plotInputOf(const stats::GroupStatistics& group, const stats::StatisticsChoice& choice,
                      const QString& file, int effectNo) {
    PlotInput input;
    input.file = file;
    input.effect = effectNo;
    input.block = stats::blockName(choice.block);
    input.type = group.type == "all" ? QString("all trucks")
                                     : QString::fromStdString(group.type) +
                                           (group.type == "1" ? " truck" : " trucks");
    if (group.sample)
        input.maxima = group.sample->values();
    input.model = group.analysis.block;
    if (group.analysis.gev.fit)
        input.gev = *group.analysis.gev.fit;
    if (group.analysis.gumbel.fit)
        input.gumbel = *group.analysis.gumbel.fit;
    input.years = choice.years.empty() ? 1000 : choice.years.front();
    return input;
}

} // namespace kestavian
