#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "drawing/probability_plot.h"
#include "stats/gev.h"

namespace kestavian {
namespace {

PlotInput plotOf(const char* name) {
    PlotInput input;
    std::ifstream in(std::string(KESTAVIAN_STATS_FIXTURES) + "/" + name + ".txt");
    for (double v; in >> v;)
        input.maxima.push_back(v);
    input.file = name;
    input.model = {250, 300.0 / 320};
    input.gev = *stats::fitGev(input.maxima);
    input.gumbel = *stats::fitGumbel(input.maxima);
    return input;
}

bool isolated(const PlotMapping& map, std::size_t i, std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) {
        const QPointF d = map.pointOf(j) - map.pointOf(i);
        if (j != i && QPointF::dotProduct(d, d) < 16)
            return false;
    }
    return true;
}

// Each plotted maximum's centre, read back from the PNG at both pixel ratios, is a marker's fill,
// and the hit test finds it there; the marked level's cross is where its level maps.
TEST(ProbabilityPlot, PointsLevelAndHitsWhereTheMappingPutsThem) {
    PlotInput input = plotOf("gev_bounded");
    // The largest first, where it stands alone: the first maximum is drawn too.
    std::iter_swap(input.maxima.begin(),
                   std::max_element(input.maxima.begin(), input.maxima.end()));
    const QTemporaryDir dir;
    for (const qreal ratio : {1.0, 2.0}) {
        const QString path = dir.filePath(QString("plot%1.png").arg(ratio));
        ASSERT_TRUE(writePlot(input, path, QSize(900, 600), ratio));
        const QImage image(path);
        ASSERT_EQ(image.size(), QSize(900, 600) * ratio);
        const PlotMapping map(input, QSizeF(900, 600));
        int checked = 0;
        for (std::size_t i = 0; i < input.maxima.size(); ++i) {
            if (!isolated(map, i, input.maxima.size()))
                continue;
            const QPointF p = map.pointOf(i) * ratio;
            const QColor c = image.pixelColor(p.toPoint());
            EXPECT_NEAR(c.red(), 240, 30) << i;
            EXPECT_NEAR(c.green(), 150, 30) << i;
            EXPECT_NEAR(c.blue(), 30, 40) << i;
            EXPECT_EQ(maximumAt(input, QSizeF(900, 600), map.pointOf(i) + QPointF(2, -1)), i);
            ++checked;
        }
        EXPECT_GT(checked, 10);
        const double k = *stats::levelExponent(input.model, input.years);
        const QPointF cross =
            map.toPixel(-std::log(k), *stats::returnLevel(input.gev->params, input.model, 1000)) *
            ratio;
        const QColor c = image.pixelColor(cross.toPoint());
        EXPECT_GT(c.red(), 150);
        EXPECT_LT(c.green(), 120);
        // Dotted lines lead from it to both scales.
        const auto reddish = [&](QPoint from, QPoint step, int count) {
            int n = 0;
            for (QPoint at = from; count-- > 0; at += step) {
                const QColor p = image.pixelColor(at); // the level's red, not a marker's orange
                n += p.red() > p.green() + 40 && std::abs(p.green() - p.blue()) < 30;
            }
            return n;
        };
        const QRect inside = map.area().adjusted(2, 2, -2, -2).toRect();
        const int down = static_cast<int>(inside.bottom() * ratio - cross.y()) - 10;
        const int across = static_cast<int>(cross.x() - inside.left() * ratio) - 10;
        EXPECT_GT(reddish(cross.toPoint() + QPoint(0, 10), {0, 1}, down), down / 5);
        EXPECT_GT(reddish(cross.toPoint() - QPoint(10, 0), {-1, 0}, across), across / 5);
        // The frame is a hair: one device pixel, two where it straddles them.
        const QRectF area = map.area();
        int dark = 0;
        for (int y = -6; y <= 6; ++y)
            dark += qGray(image.pixel(static_cast<int>(area.center().x() * 1.1 * ratio),
                                      static_cast<int>(area.top() * ratio) + y)) < 128;
        EXPECT_GE(dark, 1);
        EXPECT_LE(dark, 2);
    }
    EXPECT_EQ(maximumAt(input, QSizeF(900, 600), QPointF(5, 5)), std::nullopt);
}

// The scales hold every maximum, both curves and the GEV's band over the whole width, and every
// period marked on the top scale.
TEST(ProbabilityPlot, ScalesHoldEveryPointCurveAndBand) {
    std::vector<PlotInput> inputs;
    for (const char* name : {"gumbel", "gev_bounded", "gev_heavy", "unbounded"})
        for (const std::size_t n : {12u, 30u, 1000u}) {
            PlotInput input = plotOf(name);
            input.maxima.resize(std::min(n, input.maxima.size()));
            input.gev = *stats::fitGev(input.maxima);
            input.gumbel = *stats::fitGumbel(input.maxima);
            inputs.push_back(input);
        }
    // 2000 yearly maxima: the largest stands past the 1000-year mark, the smallest before -2.
    PlotInput many = plotOf("gumbel");
    while (many.maxima.size() < 2000)
        many.maxima.push_back(many.maxima[many.maxima.size() % 100] + 0.5);
    many.model = {1, 1.0};
    many.years = 2;
    inputs.push_back(many);
    for (const PlotInput& input : inputs) {
        SCOPED_TRACE(input.file.toStdString() + " " + std::to_string(input.maxima.size()));
        const PlotMapping map(input, QSizeF(900, 600));
        const QRectF area = map.area().adjusted(-0.01, -0.01, 0.01, 0.01);
        for (std::size_t i = 0; i < input.maxima.size(); ++i)
            EXPECT_TRUE(area.contains(map.pointOf(i))) << i;
        const double n = static_cast<double>(input.maxima.size());
        EXPECT_NEAR(map.left(), std::min(-2.0, -std::log(-std::log(1 / (n + 1)))) - 0.3, 1e-9);
        EXPECT_GE(map.right(), -std::log(-std::log(n / (n + 1))) + 0.3 - 1e-9);
        for (const auto& fit : {*input.gev, *input.gumbel})
            for (const double x : {map.left(), map.right()}) {
                const stats::QuantileOffset q = stats::quantileOffset(std::exp(-x), fit.params.xi);
                const double g[3] = {1, q.value, fit.params.sigma * q.slope};
                double v = 0;
                for (int a = 0; a < 3; ++a)
                    for (int b = 0; b < 3; ++b)
                        v += g[a] * fit.covariance[a][b] * g[b];
                const double z = fit.params.mu + fit.params.sigma * q.value;
                const double e =
                    fit.model == stats::Model::Gev ? 1.959963984540054 * std::sqrt(v) : 0;
                EXPECT_TRUE(area.contains(map.toPixel(x, z - e))) << x;
                EXPECT_TRUE(area.contains(map.toPixel(x, z + e))) << x;
            }
    }
    PlotInput level; // equal maxima, no fit: the scale still has a height, with them halfway up
    level.maxima.assign(5, 100.0);
    const PlotMapping flat(level, QSizeF(900, 600));
    EXPECT_EQ(flat.pointOf(0).y(), flat.area().center().y());
}

} // namespace
} // namespace kestavian
