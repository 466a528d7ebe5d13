#include "simhost/testsupport/HostTestSupport.h"

#include "common/core/Clock.h"
#include "common/core/Failure.h"
#include "common/testsupport/FakeClock.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

using namespace lumen;
using lumen::test::acquireLive;
using lumen::test::hostSettings;

namespace {

qint64 total(const std::vector<std::int32_t> &counts)
{
    return std::accumulate(counts.begin(), counts.end(), qint64(0));
}

std::vector<std::int32_t> countsOf(SimulatedHost &host)
{
    std::vector<std::int32_t> counts(std::size_t(host.NumberOfCounts()));
    host.GetCounts(counts);
    return counts;
}

} // namespace

TEST(SimulatedHost, LivePresetIsReachedAtTheSimulatedLiveTime)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    double preset = 300.0;
    EXPECT_EQ(host.SetLivePreset(preset), "OK");
    EXPECT_EQ(host.GetAcquireStatus(), "Stopped");
    EXPECT_EQ(host.StartAcquire(), "OK");
    host.advanceClock(299.0);
    EXPECT_EQ(host.GetAcquireStatus(), "Acquiring");
    const double live = host.GetElapsedLive().toDouble();
    EXPECT_LT(live, 299.0) << "live time runs slower than real time";
    EXPECT_NEAR(live, 299.0 * (1.0 - host.deadFraction()), 0.01);

    host.advanceClock(100.0);
    EXPECT_EQ(host.GetAcquireStatus(), "Reached Preset");
    EXPECT_EQ(host.GetElapsedLive(), "300");
    const double real = host.GetElapsedReal().toDouble();
    EXPECT_NEAR(real, 300.0 / (1.0 - host.deadFraction()), 0.01);
    EXPECT_GT(real, 300.0);
    // Once stopped at the preset, time passing adds nothing.
    host.advanceClock(1000.0);
    EXPECT_EQ(host.GetElapsedReal().toDouble(), real);
    EXPECT_NEAR(host.GetDeadtime(), host.deadFraction() * 100.0, 0.01);
}

TEST(SimulatedHost, RealPresetPresetsOffAndStop)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    double real = 60.0;
    host.SetRealPreset(real);
    host.StartAcquire();
    host.advanceClock(90.0);
    EXPECT_EQ(host.GetAcquireStatus(), "Reached Preset");
    EXPECT_EQ(host.GetElapsedReal(), "60");

    host.Erasespectrum();
    EXPECT_EQ(host.GetElapsedReal(), "0");
    EXPECT_EQ(total(countsOf(host)), 0);
    host.presetsoff();
    host.StartAcquire();
    host.advanceClock(500.0);
    EXPECT_EQ(host.GetAcquireStatus(), "Acquiring") << "presets off: counts on past the preset";
    host.StopAcquire();
    EXPECT_EQ(host.GetAcquireStatus(), "Stopped");
    EXPECT_EQ(host.GetElapsedReal(), "500");

    // A preset lowered below the time already counted stops the acquisition where it is.
    host.Erasespectrum();
    host.presetson();
    double none = 0.0, live = 100.0;
    host.SetRealPreset(none);
    host.SetLivePreset(live);
    host.StartAcquire();
    host.advanceClock(50.0);
    const QString counted = host.GetElapsedLive();
    double lower = 10.0;
    host.SetLivePreset(lower);
    EXPECT_EQ(host.GetAcquireStatus(), "Reached Preset");
    EXPECT_EQ(host.GetElapsedLive(), counted) << "live time never runs backwards";

    double bad = -1.0;
    EXPECT_TRUE(host.SetRealPreset(bad).startsWith("Error: "));
}

TEST(SimulatedHost, CountsSumToTheModelWithinPoissonError)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    acquireLive(host, 200.0);
    const auto counts = countsOf(host);
    ASSERT_EQ(counts.size(), 8192u);
    const double expected = host.model().totalRate() * 200.0;
    EXPECT_NEAR(double(total(counts)), expected, 5.0 * std::sqrt(expected));
    EXPECT_TRUE(std::all_of(counts.begin(), counts.end(), [](std::int32_t c) { return c >= 0; }));

    // The caller's buffer is filled only as far as the spectrum goes, and never past its end.
    std::vector<std::int32_t> big(16384, -7);
    host.GetCounts(big);
    EXPECT_EQ(big[8191], counts[8191]);
    EXPECT_EQ(big[8192], -7);
    std::vector<std::int32_t> small(10, 0);
    host.GetCounts(small);
    EXPECT_EQ(small[9], counts[9]);
}

TEST(SimulatedHost, SameSeedGivesSameCountsHoweverOftenItIsAsked)
{
    QTemporaryDir dir;
    SimulatedHost once(hostSettings(dir, 99));
    SimulatedHost often(hostSettings(dir, 99));
    SimulatedHost other(hostSettings(dir, 100));
    acquireLive(once, 120.0, 500.0);
    acquireLive(often, 120.0, 0.3);
    acquireLive(other, 120.0, 500.0);
    EXPECT_EQ(countsOf(once), countsOf(often));
    EXPECT_NE(countsOf(once), countsOf(other));
}

TEST(SimulatedHost, AClockLeapIsCountedWithoutStalling)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    host.presetsoff();
    host.StartAcquire();
    host.advanceClock(30 * 86400.0);
    EXPECT_EQ(host.GetElapsedReal(), "2592000");
    const double expected = host.model().totalRate() * host.GetElapsedLive().toDouble();
    EXPECT_NEAR(double(total(countsOf(host))), expected, 5.0 * std::sqrt(expected));
}

TEST(SimulatedHost, MemoriesPrimaryAndCopy)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    acquireLive(host, 50.0);
    std::int16_t two = 2, one = 1, nine = 9;
    EXPECT_EQ(host.setprimary(two), "OK");
    EXPECT_EQ(total(countsOf(host)), 0) << "memory 2 is empty";
    EXPECT_EQ(host.CopySpt(two, one), "OK");
    EXPECT_EQ(countsOf(host), host.memory(1).counts);
    EXPECT_EQ(host.GetElapsedLive(), "50");
    EXPECT_TRUE(host.setprimary(nine).startsWith("Error: "));
    EXPECT_TRUE(host.CopySpt(nine, one).startsWith("Error: "));
    EXPECT_EQ(host.primary(), 2);
}

TEST(SimulatedHost, LibrariesSampleDataAndExternalSignals)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    EXPECT_EQ(host.GetLibrary(), "OKSTANDARD.LIB");
    QString qc = QStringLiteral("C:\\Lumen\\Lib\\qc.lib ");
    EXPECT_EQ(host.selectlibrary(qc), "OK");
    EXPECT_EQ(host.GetLibrary(), "OKQC.LIB");
    QString missing = QStringLiteral("NOSUCH.LIB");
    EXPECT_EQ(host.selectlibrary(missing), "Error: Library not found: NOSUCH.LIB");
    EXPECT_EQ(host.GetLibrary(), "OKQC.LIB") << "a failed selection keeps the library";
    QString none;
    host.selectlibrary(none);
    EXPECT_EQ(host.GetLibrary(), "OKNot Valid");

    EXPECT_EQ(host.GetUseLibEff(), "OK0");
    host.SetUseLibEff();
    EXPECT_EQ(host.GetUseLibEff(), "OK1");
    host.ClearUseLibEff();
    EXPECT_EQ(host.GetUseLibEff(), "OK0");

    QString date = QStringLiteral("06-dec-2026"), badDate = QStringLiteral("soon"),
            time = QStringLiteral("14:30");
    EXPECT_EQ(host.SampleDate(date), "OK");
    EXPECT_EQ(host.SampleTime(time), "OK");
    EXPECT_TRUE(host.SampleDate(badDate).startsWith("Error: "));
    EXPECT_EQ(host.memory(1).sampleDate, "06-Dec-2026");
    EXPECT_EQ(host.memory(1).sampleTime, "14:30:00");

    std::int16_t in1 = 1, in3 = 3, out2 = 2, on = 1;
    EXPECT_EQ(host.GetExtInput(in1), "OK0");
    host.setExternalInput(1, true);
    EXPECT_EQ(host.GetExtInput(in1), "OK1");
    EXPECT_TRUE(host.GetExtInput(in3).startsWith("Error: "));
    EXPECT_EQ(host.SetExtOutput(out2, on), "OK");
    EXPECT_TRUE(host.externalOutput(2));
    EXPECT_FALSE(host.externalOutput(1));
}

TEST(SimulatedHost, FaultsOnPurpose)
{
    QTemporaryDir dir;
    FakeClock clock;
    setCurrentClock(&clock);
    SimulatedHostSettings s = hostSettings(dir);
    s.faults = HostFaults::parse(
        QStringLiteral("connect-after=10; error=Analyze:Error: Detector busy; gone-after=5"));
    SimulatedHost host(s);
    EXPECT_NE(host.testconnect(), "OK");
    clock.advance(9000);
    EXPECT_NE(host.testconnect(), "OK");
    clock.advance(1000);
    EXPECT_EQ(host.testconnect(), "OK");
    QString type = QStringLiteral("RapidScan");
    EXPECT_EQ(host.Analyze(type), "Error: Detector busy");
    EXPECT_EQ(host.Minimize(), "OK");
    EXPECT_TRUE(host.isMinimized());
    EXPECT_THROW(host.NumberOfCounts(), Failure) << "the sixth call finds the host gone";
    EXPECT_THROW(host.StartAcquire(), Failure);
    EXPECT_EQ(host.testconnect(), "The host application is not running");
    setCurrentClock(nullptr);

    SimulatedHostSettings never = hostSettings(dir);
    never.faults = HostFaults::parse(QStringLiteral("connect-never"));
    SimulatedHost silent(never);
    EXPECT_NE(silent.testconnect(), "OK");

    EXPECT_THROW(HostFaults::parse(QStringLiteral("explode")), Failure);
    EXPECT_THROW(HostFaults::parse(QStringLiteral("error=NoColon")), Failure);
}

TEST(SimulatedHost, HostClockFollowsTheSuiteClockAtItsSpeed)
{
    FakeClock clock;
    setCurrentClock(&clock);
    HostClock fast(100.0, QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
    clock.advance(3000);
    EXPECT_DOUBLE_EQ(fast.elapsedSeconds(), 300.0);
    EXPECT_EQ(fast.now(), QDateTime(QDate(2026, 1, 1), QTime(0, 5)));
    clock.set(clock.now().addSecs(-60)); // a clock that jumps back is not time passing
    EXPECT_DOUBLE_EQ(fast.elapsedSeconds(), 300.0);
    setCurrentClock(nullptr);
}

TEST(SimulatedHost, ErasingForgetsTheSpectrumSavedFromTheLastSample)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    acquireLive(host, 10.0);
    QString name = QStringLiteral("SAMPLE1");
    ASSERT_EQ(host.SaveSpt(name), "OK");
    EXPECT_EQ(host.memory(1).name, "SAMPLE1.Ans");
    host.Erasespectrum();
    EXPECT_EQ(host.memory(1).name, "MEMORY1") << "the next report must not name SAMPLE1";
}

TEST(SimulatedHost, SavesNeverLeaveTheHostsFolders)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    acquireLive(host, 10.0);
    QString type = QStringLiteral("PeakFind");
    for (const QString &outside : {QStringLiteral("../escaped"), QStringLiteral("a/../../escaped"),
                                   dir.filePath(QStringLiteral("escaped"))}) {
        QString name = outside;
        EXPECT_TRUE(host.SaveSpt(name).startsWith("Error: ")) << outside.toStdString();
        EXPECT_TRUE(host.SaveRprt(type, name).startsWith("Error: ")) << outside.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("escaped.Ans"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("escaped.Rpt"))));
    QString inside = dir.filePath(QStringLiteral("Data/kept"));
    EXPECT_EQ(host.SaveSpt(inside), "OK");
}
