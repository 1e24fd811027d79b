#include "stats/effect_analysis.h"

#include <future>

namespace kestavian::stats {
namespace {

ModelAnalysis analyseModel(Model model, const std::vector<double>& values, BlockModel block,
                           std::span<const double> years) {
    ModelAnalysis analysis;
    analysis.fit = fitModel(model, values);
    for (const double t : years) {
        if (analysis.fit)
            analysis.levels.push_back(returnLevelWithIntervals(values, *analysis.fit, block, t));
        else
            analysis.levels.push_back(refuse(analysis.fit.reason()));
    }
    return analysis;
}

} // namespace

EffectAnalysis analyseEffect(const BlockSample& sample, int blocksPerYear,
                             std::span<const double> years) {
    EffectAnalysis analysis;
    analysis.block = {blocksPerYear, sample.nonEmptyShare()};
    const std::vector<double> values = sample.values();
    // The two fits share nothing but the maxima: the Gumbel's on a core of its own.
    std::future<ModelAnalysis> gumbel = std::async(std::launch::async, [&] {
        return analyseModel(Model::Gumbel, values, analysis.block, years);
    });
    analysis.gev = analyseModel(Model::Gev, values, analysis.block, years);
    analysis.gumbel = gumbel.get();
    // Without both fits there is no test: the fits' own reasons say why.
    if (analysis.gumbel.fit && analysis.gev.fit)
        analysis.test = likelihoodRatio(*analysis.gumbel.fit, *analysis.gev.fit);
    return analysis;
}

std::vector<Result<double>> compositeLevels(std::span<const BlockSample> byClass, Model model,
                                            int blocksPerYear, std::span<const double> years) {
    std::vector<Result<double>> levels;
    const Result<std::vector<ClassModel>> classes = fitClasses(byClass, model);
    for (const double t : years) {
        if (classes)
            levels.push_back(compositeReturnLevel(*classes, blocksPerYear, t));
        else
            levels.push_back(refuse(classes.reason()));
    }
    return levels;
}

} // namespace kestavian::stats
