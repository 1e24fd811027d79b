#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "stats/effect_analysis.h"
#include "stats/gev_likelihood.h"

// Every figure here comes from tools/stats_reference.py: scipy's distributions, fitted carefully
// from many starts and confirmed on grids, on the same fixture files.

namespace kestavian::stats {
namespace {

std::vector<double> fixture(const std::string& name) {
    std::ifstream in(std::string(KESTAVIAN_STATS_FIXTURES) + "/" + name + ".txt");
    std::vector<double> values;
    for (double v; in >> v;)
        values.push_back(v);
    EXPECT_FALSE(values.empty()) << name;
    return values;
}

void expectRelative(double actual, double expected, double tolerance, const std::string& what) {
    EXPECT_NEAR(actual, expected, tolerance * std::fabs(expected)) << what;
}

void expectBound(const std::optional<double>& actual, std::optional<double> expected,
                 const std::string& what) {
    ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
    if (expected)
        expectRelative(*actual, *expected, 1e-5, what);
}

// A fit and its 1000-year level: parameters, nll and level to 1e-6; standard errors and interval
// bounds to 1e-5, what the reference's finite differences and nested fits can vouch for.
struct ModelFigures {
    double mu, sigma, xi, nll, seMu, seSigma, seXi;
    double level100, level1000, se1000;
    std::optional<double> profileLower, profileUpper;
};

struct FixtureFigures {
    std::string name;
    int blocksPerYear;
    double blocks;
    ModelFigures gumbel, gev;
    double statistic, pValue;
};

// The figures tools/stats_reference.py --write-fixtures writes, in the order of the structs.
std::vector<FixtureFigures> referenceFigures() {
    std::ifstream in(std::string(KESTAVIAN_STATS_FIXTURES) + "/reference.txt");
    for (std::string comment; in.peek() == '#';)
        std::getline(in, comment);
    const auto bound = [&](std::optional<double>& value) {
        std::string word;
        if (in >> word && word != "none")
            value = std::stod(word);
    };
    std::vector<FixtureFigures> all;
    for (FixtureFigures f; in >> f.name >> f.blocksPerYear >> f.blocks; all.push_back(f)) {
        for (ModelFigures* m : {&f.gumbel, &f.gev}) {
            *m = {};
            in >> m->mu >> m->sigma >> m->xi >> m->nll >> m->seMu >> m->seSigma >> m->seXi >>
                m->level100 >> m->level1000 >> m->se1000;
            bound(m->profileLower);
            bound(m->profileUpper);
        }
        in >> f.statistic >> f.pValue;
    }
    EXPECT_EQ(all.size(), 4u);
    return all;
}

void checkModel(const std::vector<double>& x, const FixtureFigures& f, Model model,
                const ModelFigures& m) {
    const std::string what = f.name + " " + std::string(modelName(model));
    const Result<Fit> fit = fitModel(model, x);
    ASSERT_TRUE(fit.ok()) << what << ": " << fit.reason();
    expectRelative(fit->params.mu, m.mu, 1e-6, what + " mu");
    expectRelative(fit->params.sigma, m.sigma, 1e-6, what + " sigma");
    EXPECT_NEAR(fit->params.xi, m.xi, 1e-6 * std::fabs(m.xi) + 1e-12) << what;
    expectRelative(fit->nll, m.nll, 1e-9, what + " nll");
    expectRelative(fit->standardErrors[0], m.seMu, 1e-5, what + " se mu");
    expectRelative(fit->standardErrors[1], m.seSigma, 1e-5, what + " se sigma");
    EXPECT_NEAR(fit->standardErrors[2], m.seXi, 1e-5 * m.seXi) << what;
    EXPECT_TRUE(fit->warning.empty());
    for (int i = 0; i < 3 && model == Model::Gumbel; ++i)
        EXPECT_TRUE(fit->covariance[2][i] == 0 && fit->covariance[i][2] == 0); // xi is fixed

    const BlockModel block{f.blocksPerYear, static_cast<double>(x.size()) / f.blocks};
    expectRelative(*returnLevel(fit->params, block, 100), m.level100, 1e-6, what + " 100");
    const Result<ReturnLevel> r = returnLevelWithIntervals(x, *fit, block, 1000);
    ASSERT_TRUE(r.ok()) << r.reason();
    expectRelative(r->level, m.level1000, 1e-6, what + " 1000");
    expectRelative(r->standardError, m.se1000, 1e-5, what + " se 1000");
    expectBound(r->delta.lower, m.level1000 - 1.959963984540054 * m.se1000, what + " delta");
    expectBound(r->delta.upper, m.level1000 + 1.959963984540054 * m.se1000, what + " delta");
    expectBound(r->profile.lower, m.profileLower, what + " profile lower");
    expectBound(r->profile.upper, m.profileUpper, what + " profile upper");
    expectRelative(*returnPeriod(fit->params, block, r->level), 1000, 1e-9, what + " period");
}

TEST(Fits, AgreeWithTheCarefulReferenceOnEachFixture) {
    for (const FixtureFigures& f : referenceFigures()) {
        const std::vector<double> x = fixture(f.name);
        checkModel(x, f, Model::Gumbel, f.gumbel);
        checkModel(x, f, Model::Gev, f.gev);
        const LikelihoodRatio test = likelihoodRatio(*fitGumbel(x), *fitGev(x));
        expectRelative(test.statistic, f.statistic, 1e-5, f.name);
        expectRelative(test.pValue, f.pValue, 1e-5, f.name);
        EXPECT_EQ(test.preferred, f.pValue < 0.05 ? Model::Gev : Model::Gumbel);
    }
}

TEST(Fits, TheGevReachesTheGlobalMaximumWhereScipysDefaultFitStops) {
    // scipy's genextreme.fit with its defaults stops at xi = -3.79, nll 548.464 (a shape below -1,
    // where the likelihood has no maximum at all); the careful fit is at xi = -0.303.
    const Result<Fit> fit = fitGev(fixture("trap"));
    ASSERT_TRUE(fit.ok()) << fit.reason();
    expectRelative(fit->nll, 372.73618415637532, 1e-9, "trap nll");
    expectRelative(fit->params.xi, -0.3034982136785741, 1e-6, "trap xi");
    EXPECT_LT(fit->nll, 548.46425353697737 - 1);
}

TEST(Fits, ALargeSampleSearchedOnASubsampleReachesTheFullOptimum) {
    const Result<Fit> fit = fitGev(fixture("large"));
    ASSERT_TRUE(fit.ok()) << fit.reason();
    expectRelative(fit->params.mu, 1999.576695634511, 1e-6, "mu");
    expectRelative(fit->params.sigma, 79.323733003533064, 1e-6, "sigma");
    expectRelative(fit->params.xi, -0.092674000336127577, 1e-6, "xi");
    expectRelative(fit->nll, 17686.623128432002, 1e-9, "nll");
}

TEST(Gev, DistributionAndQuantileOffsetAgainstScipy) {
    const struct {
        double xi, z, cdf, survival;
    } points[] = {
        {0.2, 40, 0, 1}, // below the lower end of the support
        {0.2, 95, 0.18387321995473524, 0.81612678004526473},
        {0.2, 200, 0.99589322960310922, 0.0041067703968908536},
        {-0.2, 90, 0.083049372387112769, 0.91695062761288726},
        {-0.2, 149, 0.99999999680000007, 3.1999999948799262e-09},
        {-0.2, 160, 1, 0}, // above the upper end
    };
    for (const auto& p : points) {
        const GevParams params{100, 10, p.xi};
        EXPECT_NEAR(gevCdf(p.z, params), p.cdf, 1e-12 * p.cdf) << p.xi << " " << p.z;
        EXPECT_NEAR(gevSurvival(p.z, params), p.survival, 1e-10 * p.survival) << p.z;
    }
    // Q and its derivatives in xi (scipy's quantile and its finite differences), on both sides
    // of the switch from series to closed forms.
    const struct {
        double k, xi, q, slope, curvature;
    } offsets[] = {
        {1e-3, 0.1, 9.9526231496887974, 38.301606393821665, 186.04884688618503},
        {1e-3, 0.05, 8.2507508924550859, 30.134255762652124, 142.6731944449422},
        {0.5, -0.3, 0.62582534547921498, 0.20938295680613303, 0.095056005844362801},
        {1e-6, -0.3, 3.2805035602512964, 10.205141578409608, 57.950746526961673},
    };
    for (const auto& o : offsets) {
        const QuantileOffset q = quantileOffset(o.k, o.xi);
        expectRelative(q.value, o.q, 1e-12, "Q");
        expectRelative(q.slope, o.slope, 1e-6, "Q'");
        expectRelative(q.curvature, o.curvature, 1e-6, "Q''");
    }
}

TEST(Gev, ShapeZeroIsTheGumbelLimitFromBothSides) {
    const std::vector<double> x = fixture("gev_bounded");
    const ModelFigures gumbel = referenceFigures().front().gumbel;
    for (const double xi : {0.0, 1e-9, -1e-9}) {
        const GevParams p{gumbel.mu, gumbel.sigma, xi};
        const Evaluation<3> e = gevLikelihood(x, p);
        ASSERT_TRUE(e.feasible);
        // To first order in xi: d nll / dxi at xi = 0 is sum of s - (1 - e^-s) s^2 / 2.
        double slope = 0;
        for (const double z : x) {
            const double s = (z - p.mu) / p.sigma;
            slope += s - (1 - std::exp(-s)) * s * s / 2;
        }
        expectRelative(e.value, gumbel.nll + xi * slope, 1e-12, "nll near the Gumbel optimum");
        EXPECT_NEAR(e.gradient[2], slope, 1e-6 * std::fabs(slope));
        EXPECT_NEAR(e.gradient[0], 0, 1e-6);
        EXPECT_NEAR(e.gradient[1], 0, 1e-6);
        for (const double z : {900.0, 1000.0, 1300.0}) {
            // y = s - xi s^2 / 2 + O(xi^2 s^3): beyond first order the shape is below rounding.
            const double s = (z - p.mu) / p.sigma;
            const double y = s - xi * s * s / 2;
            expectRelative(gevCdf(z, p), std::exp(-std::exp(-y)), 1e-12, "cdf");
            expectRelative(gevSurvival(z, p), -std::expm1(-std::exp(-y)), 1e-12, "survival");
        }
        for (const double s : {-3.0, -0.5, 0.7, 4.0}) {
            const ReducedTerms t = reducedTerms(s, xi);
            expectRelative(t.y, s, 1e-8, "y");
            expectRelative(t.slope, -s * s / 2, 1e-8, "dy/dxi");
            expectRelative(t.curvature, 2 * s * s * s / 3, 1e-8, "d2y/dxi2");
        }
        expectRelative(quantileOffset(1e-3, xi).value, -std::log(1e-3), 1e-8, "quantile");
    }
    // The series and the closed forms meet where one takes over from the other.
    for (const double x : {shapeSeriesLimit, -shapeSeriesLimit}) {
        const ReducedTerms below = reducedTerms(2, x / 2 * (1 - 1e-12));
        const ReducedTerms above = reducedTerms(2, x / 2 * (1 + 1e-12));
        expectRelative(below.y, above.y, 1e-10, "y at the switch");
        expectRelative(below.slope, above.slope, 1e-10, "slope at the switch");
        expectRelative(below.curvature, above.curvature, 1e-9, "curvature at the switch");
    }
}

TEST(Composite, ProductOfClassDistributionsAgainstClosedFormAndReference) {
    // Gumbel classes with one scale and every block loaded multiply into a Gumbel of location
    // sigma log sum exp(mu_c / sigma); B blocks a year shift it by sigma log B.
    const struct {
        std::vector<ClassModel> classes;
        int blocksPerYear;
        double years;
    } rows[] = {
        {{{TruckClass::One, {100, 10, 0}, 1}, {TruckClass::Two, {120, 10, 0}, 1}}, 1, 100},
        {{{TruckClass::One, {100, 10, 0}, 1}, {TruckClass::Two, {120, 10, 0}, 1}}, 1, 1.01}, // low
        {{{TruckClass::One, {50, 2, 0}, 1},
          {TruckClass::Two, {51, 2, 0}, 1},
          {TruckClass::FourPlus, {45, 2, 0}, 1}},
         250,
         1000},
    };
    for (const auto& row : rows) {
        const double sigma = row.classes[0].params.sigma;
        double sum = 0;
        for (const ClassModel& c : row.classes)
            sum += std::exp(c.params.mu / sigma);
        const double expected = sigma * std::log(sum) + sigma * std::log(row.blocksPerYear) -
                                sigma * std::log(-std::log1p(-1 / row.years));
        const Result<double> z = compositeReturnLevel(row.classes, row.blocksPerYear, row.years);
        ASSERT_TRUE(z.ok()) << z.reason();
        expectRelative(*z, expected, 1e-12, "closed form");
    }
    const ClassModel mixed[] = {{TruckClass::One, {1000, 50, -0.2}, 0.9},
                                {TruckClass::Two, {1100, 40, 0.1}, 0.5},
                                {TruckClass::Three, {1200, 30, 0}, 0.2}};
    expectRelative(*compositeReturnLevel(mixed, 250, 1000), 1993.3890774358886, 1e-9, "reference");

    const ClassModel sparse[] = {{TruckClass::One, {10, 1, 0}, 0.001}};
    EXPECT_NE(compositeReturnLevel(sparse, 1, 2).reason().find("no composite level"),
              std::string::npos);
    EXPECT_FALSE(compositeReturnLevel({}, 250, 100).ok());
    EXPECT_NE(compositeReturnLevel(mixed, 250, 1).reason().find("above 1"), std::string::npos);
}

TEST(Refusals, AReasonInsteadOfANumber) {
    std::vector<double> nine = fixture("gumbel");
    nine.resize(9);
    std::vector<double> withNan = fixture("gumbel");
    withNan[3] = std::nan("");
    const std::vector<double> equal(12, 5.0);
    std::vector<double> spread; // a finite mean, but squares past the largest double
    for (int i = 0; i < 12; ++i)
        spread.push_back(i % 2 == 0 ? 1e160 : -1e160);
    const struct {
        std::vector<double> maxima;
        Model model;
        const char* reason;
    } rows[] = {
        {nine, Model::Gumbel, "only 9 non-empty blocks"},
        {nine, Model::Gev, "only 9 non-empty blocks"},
        {equal, Model::Gev, "all 12 maxima are equal"},
        {spread, Model::Gumbel, "too large to fit"},
        {withNan, Model::Gumbel, "not a finite number"},
        {fixture("floor"), Model::Gev, "keeps rising as the shape goes to -1"},
        {{122.94, 123.31, 104.56, 97.87, 91.70, 100.43, 101.14, 91.37, 91.51, 776.64, 110.60,
          96.61},
         Model::Gev,
         "keeps rising as the shape goes above 2"},
    };
    for (const auto& row : rows) {
        const Result<Fit> fit = fitModel(row.model, row.maxima);
        ASSERT_FALSE(fit.ok()) << row.reason;
        EXPECT_NE(fit.reason().find(row.reason), std::string::npos) << fit.reason();
    }
    EXPECT_TRUE(fitGumbel(fixture("floor")).ok());

    const GevParams p{100, 10, 0.1};
    const struct {
        BlockModel block;
        double years;
        const char* reason;
    } levels[] = {
        {{250, 0.001}, 1.5, "no 1.5-year level"},
        {{250, 1}, 1, "above 1"},
        {{250, 1}, std::numeric_limits<double>::infinity(), "above 1"},
        {{0, 1}, 100, "at least one block"},
        {{250, 0}, 100, "no block holds"},
    };
    for (const auto& row : levels) {
        const Result<double> z = returnLevel(p, row.block, row.years);
        ASSERT_FALSE(z.ok()) << row.reason;
        EXPECT_NE(z.reason().find(row.reason), std::string::npos) << z.reason();
    }
    EXPECT_NE(returnLevel({100, 10, 1.9}, {1, 1}, 1e300).reason().find("too large to be a number"),
              std::string::npos);
}

TEST(Refusals, AProfileThatNeverCrossesHasNoBound) {
    // Twelve maxima and a ten-million-year level: the profile deviance stays below the threshold
    // up to a million standard deviations above the level.
    const std::vector<double> x = fixture("unbounded");
    const Result<Fit> fit = fitGev(x);
    ASSERT_TRUE(fit.ok()) << fit.reason();
    const Result<ReturnLevel> r = returnLevelWithIntervals(x, *fit, {250, 1}, 1e7);
    ASSERT_TRUE(r.ok()) << r.reason();
    expectRelative(r->level, 416.74160828003733, 1e-6, "level");
    expectBound(r->profile.lower, 132.89295878778447, "lower");
    EXPECT_FALSE(r->profile.upper.has_value());
    EXPECT_TRUE(r->delta.upper.has_value());
}

TEST(Fits, WarnBelowTheRegularShapesAndPerClassRefusalsNameTheClass) {
    // Quantiles of a GEV with xi = -0.7 at evenly spread probabilities: a fit well below -0.5.
    std::vector<double> bounded;
    for (int i = 1; i <= 200; ++i)
        bounded.push_back(100 + 10 * quantileOffset(-std::log(i / 201.0), -0.7).value);
    const Result<Fit> fit = fitGev(bounded);
    ASSERT_TRUE(fit.ok()) << fit.reason();
    EXPECT_LT(fit->params.xi, -0.5);
    EXPECT_NE(fit->warning.find("below -0.5"), std::string::npos);

    BlockSample one, two;
    one.blocks = two.blocks = 400;
    for (const double v : fixture("gev_bounded"))
        one.maxima.push_back({static_cast<std::int64_t>(one.maxima.size()), v});
    for (int i = 0; i < 5; ++i)
        two.maxima.push_back({i, 900.0 + i});
    const BlockSample classes[] = {one, two};
    const auto levels = compositeLevels(classes, Model::Gumbel, 250, std::vector<double>{100});
    EXPECT_NE(levels[0].reason().find("2 trucks Gumbel fit is refused: only 5"), std::string::npos);

    one.blocks = 320;
    const EffectAnalysis a = analyseEffect(one, 250, std::vector<double>{100, 1000});
    ASSERT_TRUE(a.gev.levels[1].ok());
    const FixtureFigures figures = referenceFigures().front();
    expectRelative(a.gev.levels[1]->level, figures.gev.level1000, 1e-6, "analysis");
    expectRelative(a.gumbel.levels[0]->level, figures.gumbel.level100, 1e-6, "analysis");
    EXPECT_EQ(a.test->preferred, Model::Gev);
    const EffectAnalysis refused = analyseEffect(two, 250, std::vector<double>{100});
    EXPECT_NE(refused.gev.levels[0].reason().find("only 5"), std::string::npos);
    EXPECT_FALSE(refused.test.ok());
}

} // namespace
} // namespace kestavian::stats
