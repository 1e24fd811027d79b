#include "cli/stats_plot.h"

#include <QFile>

#include "data/mod_input.h"
#include "drawing/statistics_plot.h"

namespace kestavian::cli {

std::string writeStatsPlots(const StatsReport& report, const std::string& path) {
    const stats::StatisticsChoice choice{report.block, false, report.compositeModel, report.years};
    QString files;
    for (const std::string& file : report.files)
        files += (files.isEmpty() ? "" : ", ") + QString::fromStdString(bareFileName(file));
    for (const EffectStats& effect : report.effects) {
        std::string target = path;
        if (report.effects.size() > 1)
            target.insert(target.size() - 4, "_" + std::to_string(effect.effectNo));
        const PlotInput input =
            plotInputOf(effect.statistics.groups.front(), choice, files, effect.effectNo);
        if (!writePlot(input, QFile::decodeName(target.c_str())))
            return "cannot write the plot " + target;
    }
    return {};
}

} // namespace kestavian::cli
