#include "ledgerly/core/ReportReader.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/tests/ReportText.h"

#include <gtest/gtest.h>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::normalBlock;
using lumen::ledgerly::test::normalRow;
using lumen::ledgerly::test::reportBytes;

namespace {

QString trimmed(const QString &text)
{
    return text.trimmed();
}

} // namespace

TEST(ReportReader, ReadsTheOrdinarySample)
{
    const ReportResult r =
        ReportReader::parse(lumen::test::fileBytes(lumen::test::samplePath("RESULTS_normal.TXT")));
    EXPECT_EQ(r.sampleId.size(), 72);
    EXPECT_EQ(trimmed(r.sampleId), "Soil sample 17 - field B, depth 0-5 cm");
    EXPECT_TRUE(r.sampleId.startsWith(" Soil")); // the blank after the marker stays
    EXPECT_EQ(r.spectrumFile, " SPEC0001.ANS     ");
    EXPECT_EQ(r.reportDate, QString("06-Dec-2026 14:05:09").leftJustified(30));
    EXPECT_EQ(r.activityDate,
              QString("06-Dec-2026 14:05:09").leftJustified(24)); // "Measurement Date"
    EXPECT_FLOAT_EQ(r.reportLiveTime, 3600.0f);
    EXPECT_FLOAT_EQ(r.reportDeadTime, 1.68f);
    EXPECT_FALSE(r.corrCoeffLayout);
    ASSERT_EQ(r.nuclideCount, 3);
    EXPECT_EQ(r.blocks[1].nuclideName, "CS-137");
    EXPECT_EQ(r.blocks[2].nuclideName, "CO-60 ");
    EXPECT_EQ(r.blocks[3].nuclideName, "K-40  ");
    EXPECT_EQ(r.blocks[1].rowCount, 1);
    EXPECT_EQ(r.blocks[2].rowCount, 2);
    EXPECT_EQ(r.blocks[3].rowCount, 1);
    const PeakRow &cs = r.blocks[1].rows[1];
    EXPECT_FLOAT_EQ(cs.energy, 661.66f);
    EXPECT_FLOAT_EQ(cs.rowActivity, 12.34f);
    EXPECT_FLOAT_EQ(cs.grossCounts, 13456.0f); // thousands comma removed
    EXPECT_FLOAT_EQ(cs.netCounts, 12644.0f);
    const PeakRow &co2 = r.blocks[2].rows[2];
    EXPECT_FLOAT_EQ(co2.energy, 1332.49f);
    EXPECT_FLOAT_EQ(co2.rowActivity, 3.052f);
    EXPECT_FLOAT_EQ(co2.grossCounts, 2611.0f);
    EXPECT_FLOAT_EQ(co2.netCounts, 2300.0f);
}

TEST(ReportReader, ReadsTheCorrCoeffSample)
{
    const ReportResult r = ReportReader::parse(
        lumen::test::fileBytes(lumen::test::samplePath("RESULTS_corrcoeff.TXT")));
    EXPECT_TRUE(r.corrCoeffLayout);
    EXPECT_EQ(trimmed(r.activityDate), "01-Jan-2026 12:00:00");
    EXPECT_FLOAT_EQ(r.reportLiveTime, 600.0f);
    EXPECT_FLOAT_EQ(r.reportDeadTime, 0.2f);
    ASSERT_EQ(r.nuclideCount, 2);
    EXPECT_EQ(r.blocks[2].rowCount, 2);
    const PeakRow &cs = r.blocks[1].rows[1];
    EXPECT_FLOAT_EQ(cs.rowActivity, 3700.0f);
    EXPECT_FLOAT_EQ(cs.grossCounts, 45210.0f);
    EXPECT_FLOAT_EQ(cs.netCounts, 44030.0f);
    EXPECT_FLOAT_EQ(r.blocks[2].rows[2].grossCounts, 18950.0f);
    EXPECT_FLOAT_EQ(r.blocks[2].rows[2].netCounts, 18260.0f);
}

TEST(ReportReader, APeakRowOnTheLastLineIsNotRead)
{
    QByteArray bytes = reportBytes(normalBlock("CS-137", {normalRow("661.66", "100", "90", "1.5"),
                                                          normalRow("700.00", "200", "150", "2.5")})
                                       .mid(0, 5));
    bytes.chop(2); // the second row ends the file without a line end
    ReportResult r = ReportReader::parse(bytes);
    ASSERT_EQ(r.nuclideCount, 1);
    EXPECT_EQ(r.blocks[1].rowCount, 1);

    // With its line end the row is still the last thing in the file.
    r = ReportReader::parse(bytes + "\r\n");
    EXPECT_EQ(r.blocks[1].rowCount, 1);
    r = ReportReader::parse(bytes + "\r\n\r\n");
    EXPECT_EQ(r.blocks[1].rowCount, 2);
}

TEST(ReportReader, ABlankLineEndsATableAndTheNextNuclideLineStartsABlock)
{
    QStringList lines = normalBlock("CO-60", {normalRow("1173.23", "2,890", "2,488", "3.047E+00"),
                                              normalRow("1332.49", "2,611", "2,300", "3.052E+00")});
    lines.removeLast(); // no blank line between the blocks but one ending the table
    lines << QString() << normalBlock("K-40", {normalRow("1460.82", "6,020", "5,500", "4.120E+02")})
          << "end";
    const ReportResult r = ReportReader::parse(reportBytes(lines));
    ASSERT_EQ(r.nuclideCount, 2);
    EXPECT_EQ(r.blocks[1].rowCount, 2);
    EXPECT_EQ(r.blocks[2].rowCount, 1);
    EXPECT_FLOAT_EQ(r.blocks[2].rows[1].rowActivity, 412.0f);
}

TEST(ReportReader, HeaderLinesAndTheirQuirks)
{
    ReportResult r =
        ReportReader::parse(reportBytes({"ID:", "LT:  120.5 s  RT: 130 s  DT: 7.25%", "x"}));
    EXPECT_EQ(r.sampleId, QString(72, u' '));
    EXPECT_FLOAT_EQ(r.reportLiveTime, 120.5f);
    EXPECT_FLOAT_EQ(r.reportDeadTime, 7.25f);

    r = ReportReader::parse(reportBytes({"ID:   padded " + QString(100, u'x')}));
    EXPECT_TRUE(r.sampleId.startsWith("   padded x"));
    EXPECT_EQ(r.sampleId.size(), 72);

    // "File:" and "Date:" on one line give both; the date is trimmed, then padded.
    r = ReportReader::parse(
        reportBytes({"File: ABCDEFGHIJKLMNOPQRSTUVW Date:    01-Feb-2026 10:00:00   "}));
    EXPECT_EQ(r.spectrumFile, " ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(trimmed(r.reportDate), "01-Feb-2026 10:00:00");
    EXPECT_EQ(r.reportDate.size(), 30);

    // A dead time with no percent sign loses its last digit to the dropped character.
    r = ReportReader::parse(reportBytes({"DT: 12.34"}));
    EXPECT_FLOAT_EQ(r.reportDeadTime, 12.3f);
}

TEST(ReportReader, MeasurementDateCopiesTheReportDate)
{
    ReportResult r =
        ReportReader::parse(reportBytes({"File: S.ANS              Date: 02-Mar-2026 09:08:07",
                                         "Activities reported as of Measurement Date"}));
    EXPECT_EQ(r.activityDate, QString("02-Mar-2026 09:08:07").leftJustified(24));
    r = ReportReader::parse(
        reportBytes({"Activities reported as of   05-May-2025 01:02:03   tail text"}));
    EXPECT_EQ(trimmed(r.activityDate), "05-May-2025 01:02:03");
}

TEST(ReportReader, ReadsPeakWindowsByTheReportNumberRule)
{
    const ReportResult r = ReportReader::parse(
        reportBytes(normalBlock("TH-228", {normalRow("238.63", "1 234", "1,2,3", "2.5D+01"),
                                           normalRow(" 583.19", "-12", "bad", "  ")})
                    << "end"));
    ASSERT_EQ(r.blocks[1].rowCount, 2);
    EXPECT_FLOAT_EQ(r.blocks[1].rows[1].grossCounts, 1234.0f); // two digit groups make one number
    EXPECT_FLOAT_EQ(r.blocks[1].rows[1].netCounts, 123.0f);
    EXPECT_FLOAT_EQ(r.blocks[1].rows[1].rowActivity, 25.0f); // D exponent
    EXPECT_FLOAT_EQ(r.blocks[1].rows[2].grossCounts, -12.0f);
    EXPECT_FLOAT_EQ(r.blocks[1].rows[2].netCounts, 0.0f);
    EXPECT_FLOAT_EQ(r.blocks[1].rows[2].rowActivity, 0.0f);
}

TEST(ReportReader, CorrCoeffFirstSeenOnTheThirdBlockChangesLaterBlocksOnly)
{
    // Alternative-layout row: gross at 24, net at 42, activity 9 wide under the header word.
    const QString altHeader = "Energy     FWHM    Bkg     Gross     Cont     Net   Activity";
    const QString altRow = "  661.66   1.50    1200   45,210     1180   44,030   3.70E+03";
    QStringList lines;
    lines << normalBlock("NA-22", {normalRow("1274.5", "500", "400", "9.9")})
          << normalBlock("CO-57", {normalRow("122.06", "700", "650", "8.8")})
          << "CS-137    Activity =  3.700E+03 Bq    Corr. Coeff. =  0.999" << altHeader
          << QString(60, u'-') << altRow << QString() << "BA-133    Activity =  1.0E+00 Bq"
          << altHeader << QString(60, u'-') << altRow << QString() << "end";
    const ReportResult r = ReportReader::parse(reportBytes(lines));
    ASSERT_EQ(r.nuclideCount, 4);
    EXPECT_TRUE(r.corrCoeffLayout);
    EXPECT_FLOAT_EQ(r.blocks[1].rows[1].grossCounts, 500.0f);
    EXPECT_FLOAT_EQ(r.blocks[2].rows[1].netCounts, 650.0f);
    for (int block : {3, 4}) {
        EXPECT_FLOAT_EQ(r.blocks[block].rows[1].grossCounts, 45210.0f) << block;
        EXPECT_FLOAT_EQ(r.blocks[block].rows[1].netCounts, 44030.0f) << block;
        EXPECT_FLOAT_EQ(r.blocks[block].rows[1].rowActivity, 3700.0f) << block;
    }
}

TEST(ReportReader, HeaderSearchSkipsFurtherActivityLinesAndReadsFieldsUpToACommaOrQuote)
{
    // A second "Activity =" line before the header is skipped; the header's
    // column is counted from its first non-blank character.
    QStringList lines{"U-238     Activity =  1.0 Bq",
                      "Ra-226    Activity =  2.0 Bq",
                      "   Energy   Gross   Net   Activity",
                      "---",
                      "  186.2              ",
                      "",
                      "PB-214    Activity =  3.0 Bq",
                      "\"Energy, quoted\" Activity",
                      "rule, with comma",
                      "12345678   9",
                      "",
                      "end"};
    ReportResult r = ReportReader::parse(reportBytes(lines));
    ASSERT_EQ(r.nuclideCount, 2);
    EXPECT_EQ(r.blocks[1].nuclideName, "U-238 ");
    EXPECT_EQ(r.blocks[1].rowCount, 1);
    EXPECT_FLOAT_EQ(r.blocks[1].rows[1].energy, 186.2f);
    // The quoted field ends at its quote and the rule line's field at its
    // comma, so the rest of the rule line is read as the first peak row.
    EXPECT_EQ(r.blocks[2].rowCount, 2);
}

TEST(ReportReader, TablesHoldAHundredBlocksOfTwentyFiveRows)
{
    QStringList rows;
    for (int j = 1; j <= 30; ++j)
        rows << normalRow(QString::number(j * 10), "10", "5", QString::number(j));
    QStringList lines;
    for (int i = 1; i <= 105; ++i)
        lines << normalBlock(QStringLiteral("N%1").arg(i), rows);
    lines << "end";
    const ReportResult r = ReportReader::parse(reportBytes(lines));
    EXPECT_EQ(r.nuclideCount, 100);
    EXPECT_EQ(r.blocks[100].nuclideName, "N100  ");
    EXPECT_EQ(r.blocks[100].rowCount, 25);
    EXPECT_FLOAT_EQ(r.blocks[100].rows[25].rowActivity, 25.0f);
}

TEST(ReportReader, ASecondReadKeepsHeaderValuesItDoesNotFindAndGivesTheSameResult)
{
    ReportResult r;
    const QByteArray first = lumen::test::fileBytes(lumen::test::samplePath("RESULTS_normal.TXT"));
    ReportReader::read(first, r);
    const QString id = r.sampleId;
    ReportReader::read(reportBytes({"LT: 5", "x"}), r);
    EXPECT_EQ(r.sampleId, id);
    EXPECT_EQ(r.nuclideCount, 0);
    EXPECT_FLOAT_EQ(r.reportLiveTime, 5.0f);

    ReportResult a = ReportReader::parse(first);
    ReportReader::read(first, a);
    const ReportResult b = ReportReader::parse(first);
    EXPECT_EQ(a.nuclideCount, b.nuclideCount);
    EXPECT_EQ(a.sampleId, b.sampleId);
    EXPECT_FLOAT_EQ(a.blocks[2].rows[2].netCounts, b.blocks[2].rows[2].netCounts);
}

TEST(ReportReader, AcceptsBareCarriageReturnAndLineFeedLineEnds)
{
    QByteArray bytes = lumen::test::fileBytes(lumen::test::samplePath("RESULTS_normal.TXT"));
    QByteArray cr = bytes;
    cr.replace("\r\n", "\r");
    QByteArray lf = bytes;
    lf.replace("\r\n", "\n");
    for (const QByteArray &variant : {cr, lf}) {
        const ReportResult r = ReportReader::parse(variant);
        EXPECT_EQ(r.nuclideCount, 3);
        EXPECT_EQ(r.blocks[2].rowCount, 2);
        EXPECT_FLOAT_EQ(r.reportDeadTime, 1.68f);
    }
}
