#include "driftlog/core/ControlChart.h"
#include "driftlog/core/ControlRules.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace lumen::driftlog;

namespace {
using Rules = QList<ControlRule>;
const ControlLimits kUnit{0.0, 1.0}; // mean 0, s 1: warning at ±2, action at ±3

/** A drift's rules, the tolerance either side of 0. */
QuantityTraits driftSpec(std::optional<double> tolerance = std::nullopt)
{
    QuantityTraits spec;
    if (tolerance)
        spec.tolerance = ToleranceBand{0.0, *tolerance};
    return spec;
}

DriftSeries seriesOf(const QList<double> &drifts)
{
    DriftSeries s;
    for (int i = 0; i < drifts.size(); ++i)
        s << DriftPoint{qint32(60 * (i + 1)), drifts[i]};
    return s;
}

/** Twenty baseline points of mean 0 and s 1 (alternating ±sqrt(19/20)), then `after`. */
QList<double> withBaseline(const QList<double> &after)
{
    QList<double> d;
    for (int i = 0; i < ControlLimits::kBaselinePoints; ++i)
        d << (i % 2 ? 1.0 : -1.0) * std::sqrt(19.0 / 20.0);
    return d + after;
}
} // namespace

TEST(ControlRules, EachRuleOnKnownSeries)
{
    const QList<double> tenAbove(10, 0.5);
    const QList<double> nineAbove(9, 0.5);
    const struct
    {
        const char *what;
        QList<double> drifts; // the last one is judged
        Rules broken;
    } cases[] = {
        {"inside the warning limits", {0.1, -1.9}, {}},
        {"on the warning limit is not beyond it", {0.0, 2.0}, {}},
        {"beyond +2s once", {0.0, 2.1}, {ControlRule::Beyond2s}},
        {"beyond -3s", {0.0, -3.1}, {ControlRule::Beyond3s}},
        {"two beyond the same 2s", {2.5, 2.1}, {ControlRule::Beyond2s, ControlRule::Two2s}},
        {"two beyond opposite 2s is a range, not 2-2s",
         {-2.1, 2.1},
         {ControlRule::Beyond2s, ControlRule::Range4s}},
        {"neighbours 3.8 s apart", {-1.9, 1.9}, {}},
        {"range over 4s", {-1.5, 2.6}, {ControlRule::Beyond2s, ControlRule::Range4s}},
        {"ten on one side", tenAbove, {ControlRule::TenOneSide}},
        {"nine on one side", nineAbove, {}},
        {"a point on the mean breaks the run", QList<double>{0.0} + nineAbove, {}},
        {"ten below", QList<double>(10, -0.2), {ControlRule::TenOneSide}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ControlRules::brokenAt(c.drifts, int(c.drifts.size() - 1), kUnit, driftSpec()),
                  c.broken)
            << c.what;
}

TEST(ControlRules, ToleranceHoldsWithoutLimitsAndComesFirst)
{
    EXPECT_EQ(ControlRules::brokenAt({0.31}, 0, std::nullopt, driftSpec(0.3)),
              Rules{ControlRule::Tolerance});
    EXPECT_EQ(ControlRules::brokenAt({-0.3}, 0, std::nullopt, driftSpec(0.3)), Rules{});
    EXPECT_EQ(ControlRules::brokenAt({0.0, 3.5}, 1, kUnit, driftSpec(3.2)),
              (Rules{ControlRule::Tolerance, ControlRule::Beyond3s}));
}

TEST(ControlLimits, FromTheFirstTwentyPointsOnly)
{
    QList<double> d;
    for (int i = 1; i <= 20; ++i)
        d << i;
    EXPECT_FALSE(ControlLimits::fromBaseline(d.first(19)));
    const auto l = ControlLimits::fromBaseline(d + QList<double>{1000.0});
    ASSERT_TRUE(l);
    EXPECT_DOUBLE_EQ(l->mean, 10.5);
    EXPECT_DOUBLE_EQ(l->sd, std::sqrt(35.0)); // sample variance of 1..20
    EXPECT_DOUBLE_EQ(l->actionHigh(), 10.5 + 3 * std::sqrt(35.0));
}

TEST(Verdict, LevelsStatusesAndTexts)
{
    const struct
    {
        const char *what;
        QList<double> drifts;
        std::optional<double> tolerance;
        Verdict::Level level;
        const char *headline;
        int status;
    } cases[] = {
        {"before twenty points",
         {0.1, 0.2},
         std::nullopt,
         Verdict::Level::NoLimitsYet,
         "no limits yet",
         0},
        {"beyond the tolerance before limits",
         {0.1, 0.5},
         0.3,
         Verdict::Level::Action,
         "action: tolerance",
         4},
        {"in control", withBaseline({0.5}), std::nullopt, Verdict::Level::InControl, "in control",
         0},
        {"warning", withBaseline({2.5}), std::nullopt, Verdict::Level::Warning, "warning: 1-2s", 0},
        {"action", withBaseline({1.5, -3.5}), std::nullopt, Verdict::Level::Action,
         "action: 1-3s, R-4s", 4},
    };
    for (const auto &c : cases) {
        const Verdict v = ControlChart(seriesOf(c.drifts), c.tolerance, "keV").verdict();
        EXPECT_EQ(v.level, c.level) << c.what;
        EXPECT_EQ(v.headline(), QString(c.headline)) << c.what;
        EXPECT_EQ(v.exitStatus(), c.status) << c.what;
    }
    const Verdict v = ControlChart(seriesOf(withBaseline({0.5})), 4.0, "keV").verdict();
    EXPECT_EQ(v.text(), QString::fromUtf8("in control (mean 0.0 keV, warning -2.0 to 2.0, "
                                          "action -3.0 to 3.0, tolerance \u00b14.0 keV)"));
    EXPECT_EQ(ControlChart(seriesOf({0.1}), std::nullopt, "%").verdict().text(),
              QString("no limits yet (1 of 20 baseline points)"));
}
