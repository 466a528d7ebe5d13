#include "common/core/Failure.h"
#include "driftlog/core/GainCorrection.h"
#include "driftlog/core/QcCharts.h"
#include "driftlog/core/QcLog.h"
#include "driftlog/core/QcMeasurement.h"
#include "driftlog/core/ToleranceSettings.h"

#include <QDate>
#include <cmath>
#include <gtest/gtest.h>

using namespace lumen::driftlog;

namespace {
constexpr int kBaseline = ControlLimits::kBaselinePoints;
// Alternating ±√(19/20): twenty of them have mean 0 and sample s 1.
double noise(int i)
{
    return (i % 2 ? 1.0 : -1.0) * std::sqrt(19.0 / 20.0);
}

/** Twenty baseline points around `mean` with s `sd`, then `after` more with `shift(k)` added. */
DriftSeries series(double mean, double sd, int after, double (*shift)(int))
{
    DriftSeries s;
    for (int i = 0; i < kBaseline + after; ++i) {
        const int k = i - kBaseline + 1; // 1 for the first point after the baseline
        s << DriftPoint{60 * (i + 1), mean + sd * (noise(i) + (k > 0 ? shift(k) : 0.0))};
    }
    return s;
}

QuantityTraits spec(const char *name, Sides sides, const char *rules)
{
    QuantityTraits q;
    q.name = QString::fromLatin1(name);
    q.sides = sides;
    q.rules = RuleSet::parse(QString::fromLatin1(rules));
    return q;
}

/** The first point (1-based after the baseline) that breaks one of `rules`; 0 when none does. */
int firstBreaking(const ControlChart &chart, const QList<ControlRule> &rules)
{
    for (int i = kBaseline; i < chart.points().size(); ++i)
        for (ControlRule r : chart.brokenAt(i))
            if (rules.contains(r))
                return i - kBaseline + 1;
    return 0;
}

const QList<ControlRule> kWestgard{ControlRule::Beyond3s, ControlRule::Two2s, ControlRule::Range4s,
                                   ControlRule::TenOneSide};
const QList<ControlRule> kSequential{ControlRule::Ewma, ControlRule::Cusum};
} // namespace

TEST(QualityControl, SlowCreepIsFlaggedBySequentialRulesBeforeWestgard)
{
    const char *issueRules = "1-3s 2-2s R-4s 10-x ewma cusum";
    const struct
    {
        const char *what;
        double mean, sd;
        Sides sides;
        double (*shift)(int);
    } cases[] = {
        {"drift creeping up", 0.0, 0.01, Sides::Both, [](int k) { return 0.1 * k; }},
        {"drift creeping down", 0.0, 0.01, Sides::Both, [](int k) { return -0.1 * k; }},
        {"FWHM widening", 1.6, 0.02, Sides::UpperOnly, [](int k) { return 0.1 * k; }},
        {"rate falling", 200.0, 2.0, Sides::Both, [](int k) { return -0.1 * k; }},
    };
    for (const auto &c : cases) {
        const ControlChart chart(series(c.mean, c.sd, 60, c.shift), spec("q", c.sides, issueRules));
        const int sequential = firstBreaking(chart, kSequential);
        const int westgard = firstBreaking(chart, kWestgard);
        EXPECT_GT(sequential, 0) << c.what;
        EXPECT_TRUE(westgard == 0 || sequential < westgard)
            << c.what << ": sequential at " << sequential << ", Westgard at " << westgard;
    }
}

TEST(QualityControl, FwhmStepOfThreeSigmaIsAnActionAndANarrowerPeakNoFault)
{
    const auto up = [](int) { return 3.0; };
    const auto down = [](int) { return -3.0; };
    const ControlChart wider(series(1.6, 0.02, 3, up),
                             spec("FWHM", Sides::UpperOnly, "1-3s cusum"));
    EXPECT_EQ(wider.verdict().level, Verdict::Level::Action);
    EXPECT_TRUE(wider.verdict().rules.contains(ControlRule::Cusum));

    QuantityTraits all;
    all.sides = Sides::UpperOnly;
    const ControlChart narrower(series(1.6, 0.02, 12, down), all);
    for (int i = 0; i < narrower.points().size(); ++i)
        EXPECT_TRUE(narrower.brokenAt(i).isEmpty()) << "point " << i;
}

TEST(QualityControl, RateFallingWithTheHalfLifeStaysInControlOnceDecayCorrected)
{
    const double halfLife = *ToleranceSettings::halfLifeOf("30.08 y");
    const QDate start(2020, 1, 1);
    QcLog::Series log;
    for (int i = 0; i <= 40; ++i) {
        QcMeasurement m;
        m.date = start.addDays(30 * i).toString("yyyy-MM-dd");
        m.time = "10:00";
        m.referenceDate = start.toString("yyyy-MM-dd");
        m.referenceTime = "10:00";
        m.minutes = 30 * 1440 * i;
        m.centre = 661.66;
        m.referenceCentre = 661.66f;
        m.fwhm = "1.52";
        m.liveTime = "600";
        // Ten thousand counts at the reference, decaying, with a 1 % scatter.
        const double decayed = 10000.0 * std::exp2(-30.0 * 86400.0 * i / halfLife);
        m.netArea = QString::number(std::round(decayed * (1.0 + 0.01 * noise(i))));
        m.halfLifeSeconds = halfLife;
        // Through the log's own text, as the program reads it back.
        const auto row = QcLog::parseRow(QcLog::rowText(m.record()));
        ASSERT_TRUE(row);
        if (i == 0)
            log.reference = row;
        else
            log.points << *row;
    }
    ToleranceSettings corrected;
    corrected.halfLifeSeconds = halfLife;
    corrected.rate = 5.0;
    const QcCharts charts = QcCharts::of({}, log, corrected, 0, "%");
    for (int i = 0; i < charts.rate.points().size(); ++i)
        EXPECT_TRUE(charts.rate.brokenAt(i).isEmpty()) << "point " << i + 1;

    // The same counts judged as measured fall out of control.
    const QcCharts raw = QcCharts::of({}, log, ToleranceSettings{}, 0, "%");
    EXPECT_EQ(raw.rate.verdict().level, Verdict::Level::Action);
}

TEST(QualityControl, GainCorrectionIsReferenceOverMeasured)
{
    const struct
    {
        float reference;
        double measured;
        const char *factor;
        const char *text;
    } cases[] = {
        {661.66f, 662.32, "0.999003", "correction: gain x 0.999003 or energy shift -0.660027 keV"},
        {100.0f, 99.5, "1.00503", "correction: gain x 1.00503 or energy shift +0.500000 keV"},
        {661.66f, double(661.66f), "1.00000", "correction: gain x 1.00000 or energy shift 0 keV"},
    };
    for (const auto &c : cases) {
        const GainCorrection g = GainCorrection::of(c.reference, c.measured);
        EXPECT_DOUBLE_EQ(g.factor, double(c.reference) / c.measured);
        EXPECT_DOUBLE_EQ(g.shiftKeV, double(c.reference) - c.measured);
        EXPECT_EQ(g.factorText(), QString(c.factor));
        EXPECT_EQ(g.text(), QString(c.text));
    }
}

TEST(QualityControl, StabLimitsSettingsAndTheirRefusals)
{
    const ToleranceSettings s = ToleranceSettings::parse("fwhm = 2.2\nrate = 5 # %\n"
                                                         "halflife = 30.08 y\n"
                                                         "RULES = 1-3S cusum\n");
    EXPECT_EQ(s.fwhm, 2.2);
    EXPECT_EQ(s.rate, 5.0);
    EXPECT_DOUBLE_EQ(*s.halfLifeSeconds, 30.08 * 365.25 * 86400.0);
    EXPECT_TRUE(s.rules.has(ControlRule::Beyond3s));
    EXPECT_TRUE(s.rules.has(ControlRule::Cusum));
    EXPECT_FALSE(s.rules.has(ControlRule::Ewma));
    EXPECT_TRUE(s.rules.has(ControlRule::Tolerance)) << "a set tolerance is always checked";
    EXPECT_EQ(ToleranceSettings::parse("").rules, RuleSet::all());

    for (const char *bad : {"rules = 1-3s 4-1s", "rules =", "halflife = 30.08", "halflife = -1 d",
                            "halflife = 2 weeks", "fwhm = wide", "colour = red"})
        EXPECT_THROW(ToleranceSettings::parse(QByteArray(bad)), lumen::Failure) << bad;
}

TEST(QualityControl, VerdictNamesQuantityAndRule)
{
    // 6.5 s: at 6 s the sum lands on h itself, and rounding alone decides.
    const auto step = [](int) { return 6.5; };
    const ControlChart fwhm(series(1.6, 0.02, 1, step), spec("FWHM", Sides::UpperOnly, "cusum"));
    const ControlChart drift(series(0.0, 0.01, 1, [](int) { return 3.0; }),
                             spec("drift", Sides::Both, "1-2s"));
    const QcVerdict v{{drift.verdict(), fwhm.verdict()}, std::nullopt};
    EXPECT_EQ(v.headline(), QString("action: FWHM cusum; warning: drift 1-2s"));
    EXPECT_EQ(v.exitStatus(), 4);
}

TEST(QualityControl, QcLogRowsReadBackAndDamagedOnesAreSkipped)
{
    QcRecord r;
    r.dateTime = "2026-10-02T08:00:00+02:00";
    r.minutes = 1440;
    r.centre = 661.71;
    r.fwhm = 1.5;
    const auto back = QcLog::parseRow(QcLog::rowText(r));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->dateTime, r.dateTime);
    EXPECT_EQ(back->fwhm, 1.5);
    EXPECT_FALSE(back->rate) << "an empty field stays empty";

    const struct
    {
        const char *line;
        bool read;
    } cases[] = {
        {"x,60,661.7,0,0,,,,,", true},
        {"date_time,minutes,centre_keV,drift_percent,drift_keV,fwhm_keV,net_area,live_time_s,"
         "count_rate_cps,decay_corrected_rate_cps",
         false},
        {"x,60.5,661.7,0,0,,,,,", false},   // minutes are whole
        {"x,60,661.7,0,0,,,,", false},      // a field short
        {"x,60,661.7,0,0,wide,,,,", false}, // no number
        {"x,60,661.7,0,0,1e300,,,,", false},
        {"\"x,60,661.7,0,0,,,,,", false},         // a quote left open
        {"x,60,661.7,0,0,,,,,,run,1,x,,", false}, // a script line that is no number
        {"x,60,661.7,0,0,,,,,,\"C:\\run,1.jrn\",2.1,7,ab,", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QcLog::parseRow(c.line).has_value(), c.read) << c.line;
}
