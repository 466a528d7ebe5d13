#include "simhost/testsupport/HostTestSupport.h"

#include "common/core/TextFile.h"
#include "driftlog/core/ReportPeakReader.h"
#include "ledgerly/core/ReportReader.h"
#include "simhost/PeakAnalysis.h"
#include "spectra/AnsReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace lumen;
using lumen::test::acquireLive;
using lumen::test::hostSettings;

namespace {

QString field(SimulatedHost &host, int roi, const char *key)
{
    std::int16_t n = std::int16_t(roi);
    const QString reply = host.GetROIData(n, QString::fromLatin1(key));
    EXPECT_TRUE(reply.startsWith("OK")) << reply.toStdString();
    return reply.mid(2);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(PeakAnalysis, NetIsGrossMinusBackgroundOnAStraightLine)
{
    // A peak of 1000 counts in a window on a background sloping from 10 to 30.
    std::vector<std::int32_t> counts(100, 0);
    for (int ch = 0; ch < 100; ++ch)
        counts[std::size_t(ch)] = 10 + ch / 5;
    const double centre = 50.0, sigma = 2.0;
    for (int ch = 40; ch <= 60; ++ch)
        counts[std::size_t(ch)] +=
            std::int32_t(std::lround(1000.0 / (sigma * std::sqrt(2 * M_PI)) *
                                     std::exp(-0.5 * std::pow((ch - centre) / sigma, 2))));
    const PeakArea a = PeakAnalysis::measure(counts, 40, 60);
    EXPECT_EQ(a.net, a.gross - a.background);
    EXPECT_NEAR(double(a.net), 1000.0, 15.0);
    EXPECT_NEAR(a.centroidChannel, 50.0, 0.1);
    EXPECT_NEAR(a.fwhmChannels, 2.3548 * sigma, 0.3);
    EXPECT_GE(a.peakCounts, 199);
    // Regions at or past the spectrum's ends are clipped, never read outside it.
    const PeakArea edge = PeakAnalysis::measure(counts, -5, 3);
    EXPECT_EQ(edge.first, 0);
    EXPECT_EQ(edge.last, 3);
    EXPECT_EQ(PeakAnalysis::measure(counts, 95, 200).last, 99);
    EXPECT_EQ(PeakAnalysis::measure(counts, 120, 130).gross, 0);
}

TEST(SimulatedHostAnalysis, AnalysisFindsTheModelLinesAndSetsConsistentRois)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    acquireLive(host, 600.0);
    QString type = QStringLiteral("RapidScan");
    ASSERT_EQ(host.Analyze(type), "OK");

    const auto &rois = host.memory(1).rois;
    ASSERT_EQ(rois.size(), 5u) << "the five model lines, and nothing at the discriminator edge";
    QStringList nuclides;
    for (int i = 1; i <= int(rois.size()); ++i) {
        const qint64 gross = field(host, i, "GROSS").toLongLong();
        const qint64 bkg = field(host, i, "BKG").toLongLong();
        const qint64 net = field(host, i, "NET").toLongLong();
        EXPECT_EQ(net, gross - bkg) << "ROI " << i;
        EXPECT_GT(net, 0);
        EXPECT_EQ(field(host, i, "ID"), QString::number(i));
        const double energy = field(host, i, "CENTROID").toDouble();
        const double channel = field(host, i, "CENTER").toDouble();
        EXPECT_NEAR(host.model().energyOfChannel(channel), energy, 0.01);
        nuclides << field(host, i, "NUCLIDE");
    }
    for (const char *n : {"AM-241", "CS-137", "CO-60", "K-40"})
        EXPECT_TRUE(nuclides.contains(QString::fromLatin1(n)))
            << n << " in " << nuclides.join(',').toStdString();

    // Cs-137 at 661.66 keV: activity near the model's 5000 Bq, efficiency and yield as in the
    // library.
    const int cs = int(nuclides.indexOf(QStringLiteral("CS-137"))) + 1;
    EXPECT_NEAR(field(host, cs, "CENTROID").toDouble(), 661.66, 0.5);
    EXPECT_NEAR(field(host, cs, "ACTIVITY").toDouble(), 5000.0, 250.0);
    EXPECT_EQ(field(host, cs, "YIELD"), "0.8510");
    EXPECT_NEAR(field(host, cs, "FWHM").toDouble(), host.model().fwhm(661.66), 0.3);
    EXPECT_GT(field(host, cs, "MDA").toDouble(), 0.0);

    // The library's efficiencies (3 % above the detector's curve) give 3 % lower activities.
    const double withDetector = field(host, cs, "ACTIVITY").toDouble();
    host.SetUseLibEff();
    EXPECT_NEAR(field(host, cs, "ACTIVITY").toDouble(), withDetector / 1.03, withDetector * 0.002);
    host.ClearUseLibEff();

    std::int16_t beyond = std::int16_t(rois.size() + 1), one = 1;
    EXPECT_TRUE(host.GetROIData(beyond, QStringLiteral("NET")).startsWith("Error: "));
    EXPECT_TRUE(host.GetROIData(one, QStringLiteral("COLOUR")).startsWith("Error: "));
    EXPECT_EQ(host.GetROIData(one, QStringLiteral(" net ")).mid(2), field(host, 1, "NET"));
}

TEST(SimulatedHostAnalysis, RoisFromAFile)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    acquireLive(host, 100.0);
    const QString path = dir.filePath(QStringLiteral("check.roi"));
    textfile::writeLines(path, {QStringLiteral("; Cs-137 and a quiet stretch"),
                                QStringLiteral("1310, 1336 CS-137"), QStringLiteral("5000 5020")});
    QString padded = path.leftJustified(255);
    ASSERT_EQ(host.ClsLoadROis(padded), "OK");
    ASSERT_EQ(host.memory(1).rois.size(), 2u);
    EXPECT_EQ(field(host, 1, "NUCLIDE"), "CS-137");
    EXPECT_EQ(field(host, 2, "NUCLIDE"), "") << "no library line near 2500 keV";
    EXPECT_NEAR(field(host, 1, "CENTROID").toDouble(), 661.66, 0.5);

    textfile::writeLines(path, {QStringLiteral("1310 9999")});
    EXPECT_TRUE(host.ClsLoadROis(padded).startsWith("Error: Bad ROI at line 1"));
    EXPECT_EQ(host.memory(1).rois.size(), 2u) << "a bad file leaves the ROIs as they were";
    QString missing = dir.filePath(QStringLiteral("none.roi"));
    EXPECT_TRUE(host.ClsLoadROis(missing).startsWith("Error: "));
}

TEST(SimulatedHostAnalysis, ReportIsReadByTheArchiverAndTheDriftLogger)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    QString id = QStringLiteral("Soil sample 17  "), units = QStringLiteral("kg");
    host.SetSpectrumID(id);
    host.SampleQuantity(2.0f);
    host.SampleUnits(units);
    acquireLive(host, 600.0);
    QString type = QStringLiteral("RapidScan ");
    ASSERT_EQ(host.Analyze(type), "OK");

    const QByteArray bytes = fileBytes(host.reportPath());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.contains("\r\n"));
    const lumen::ledgerly::ReportResult result = lumen::ledgerly::ReportReader::parse(bytes);
    EXPECT_EQ(result.sampleId.trimmed(), "Soil sample 17");
    EXPECT_EQ(result.spectrumFile.trimmed(), "MEMORY1");
    EXPECT_TRUE(result.reportDate.trimmed().startsWith("06-Dec-2026 14:05:09"));
    EXPECT_FLOAT_EQ(result.reportLiveTime, 600.0f);
    EXPECT_NEAR(result.reportDeadTime, host.deadFraction() * 100.0, 0.01);
    EXPECT_FALSE(result.corrCoeffLayout);

    QStringList names;
    for (int b = 1; b <= result.nuclideCount; ++b)
        names << result.blocks[std::size_t(b)].nuclideName.trimmed();
    EXPECT_EQ(names, QStringList({"AM-241", "CS-137", "CO-60", "K-40"}));
    const auto &co = result.blocks[3];
    ASSERT_EQ(co.rowCount, 2);
    EXPECT_NEAR(co.rows[1].energy, 1173.23, 0.6);
    EXPECT_NEAR(co.rows[2].energy, 1332.49, 0.6);
    for (int r = 1; r <= 2; ++r) {
        EXPECT_GT(co.rows[std::size_t(r)].grossCounts, co.rows[std::size_t(r)].netCounts);
        EXPECT_GT(co.rows[std::size_t(r)].netCounts, 1000.0f);
        // Activity per kg: half of the model's 3000 Bq.
        EXPECT_NEAR(co.rows[std::size_t(r)].rowActivity, 1500.0, 120.0);
    }

    const lumen::driftlog::ReportPeak peak = lumen::driftlog::ReportPeakReader::parse(bytes);
    ASSERT_TRUE(peak.centre.has_value());
    EXPECT_NEAR(peak.centre->toDouble(), 1460.82, 0.6) << "the highest-energy peak is K-40";
    EXPECT_EQ(peak.date.value_or(QString()), "06-Dec-2026");
    EXPECT_EQ(peak.time.value_or(QString()), "14:05:09");
}

TEST(SimulatedHostAnalysis, ActivitiesAreDecayCorrectedToTheSampleDate)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    acquireLive(host, 300.0);
    QString type = QStringLiteral("RapidScan");
    ASSERT_EQ(host.Analyze(type), "OK");
    const lumen::ledgerly::ReportResult now =
        lumen::ledgerly::ReportReader::parse(fileBytes(host.reportPath()));
    EXPECT_EQ(now.activityDate.trimmed(), "06-Dec-2026 14:05:09") << "as of the measurement date";

    // Collected 5.2714 years (one Co-60 half-life) before the measurement.
    const QDateTime collected = host.memory(1).startTime.addSecs(-qint64(5.2714 * 365.25 * 86400));
    QString date = collected.date().toString(Qt::ISODate);
    QString time = collected.time().toString(QStringLiteral("HH:mm:ss"));
    ASSERT_EQ(host.SampleDate(date), "OK");
    ASSERT_EQ(host.SampleTime(time), "OK");
    ASSERT_EQ(host.Analyze(type), "OK");
    const lumen::ledgerly::ReportResult then =
        lumen::ledgerly::ReportReader::parse(fileBytes(host.reportPath()));
    EXPECT_NE(then.activityDate.trimmed(), "06-Dec-2026 14:05:09");
    ASSERT_EQ(then.blocks[3].nuclideName.trimmed(), "CO-60");
    EXPECT_NEAR(then.blocks[3].rows[1].rowActivity / now.blocks[3].rows[1].rowActivity, 2.0, 0.01);
}

TEST(SimulatedHostAnalysis, TypesSaveAndPrint)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    acquireLive(host, 200.0);
    QString find = QStringLiteral("PeakFind"), bogus = QStringLiteral("Guess");
    ASSERT_EQ(host.Analyze(find), "OK");
    const lumen::ledgerly::ReportResult found =
        lumen::ledgerly::ReportReader::parse(fileBytes(host.reportPath()));
    EXPECT_EQ(found.nuclideCount, 0) << "a peak search names no nuclides";
    EXPECT_EQ(host.Analyze(bogus), "Error: Unknown analysis type: Guess");

    QString rapid = QStringLiteral("RapidScan"), name = QStringLiteral("run1.txt");
    ASSERT_EQ(host.SaveRprt(rapid, name), "OK");
    const QByteArray saved = fileBytes(dir.filePath(QStringLiteral("Data/run1.txt")));
    EXPECT_EQ(saved, fileBytes(host.reportPath()));
    EXPECT_TRUE(saved.contains("Analysis: RapidScan"));
    ASSERT_EQ(host.PrintRprt(rapid), "OK");
    ASSERT_EQ(host.PrintRprt(rapid), "OK");
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("Print"))).entryList(QDir::Files).size(), 2);
    QString blank = QString(255, u' ');
    EXPECT_TRUE(host.SaveRprt(rapid, blank).startsWith("Error: "));
}

TEST(SimulatedHostAnalysis, SavedSpectrumReadsBackAsAnAnsFile)
{
    QTemporaryDir dir;
    SimulatedHost host(hostSettings(dir));
    QString id = QStringLiteral("QC check");
    host.SetSpectrumID(id);
    acquireLive(host, 30.0);
    QString path = dir.filePath(QStringLiteral("Data/out/QC1.ANS")).leftJustified(255);
    ASSERT_EQ(host.SaveSpt(path), "OK");
    const auto spectrum = lumen::AnsReader::read(fileBytes(path.trimmed()));
    EXPECT_EQ(spectrum.header.spectrumId().trimmed(), "QC check");
    EXPECT_DOUBLE_EQ(spectrum.header.liveTime(), 30.0);
    EXPECT_EQ(spectrum.channels, host.memory(1).counts);
    EXPECT_EQ(host.memory(1).name, "QC1.ANS") << "the report names the spectrum as saved";
}
