#include "transpec/core/ReadBack.h"
#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/AnsHeader.h"
#include "spectra/AnsWriter.h"
#include "spectra/CsvWriter.h"
#include "spectra/N42Writer.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace lumen;
using namespace lumen::transpec;

namespace {

Spectrum sound()
{
    Spectrum s;
    s.counts = {5, 0, 300, 7};
    s.liveSeconds = 300.125;
    s.realSeconds = 310.5;
    s.start = QDateTime(QDate(2001, 6, 22), QTime(13, 5, 42));
    s.coefficients = {-0.5, 0.25, 0.001};
    return s;
}

QByteArray ansOf(const Spectrum &s)
{
    AnsHeader h;
    h.setLiveTime(*s.liveSeconds);
    h.setRealTime(*s.realSeconds);
    h.setMcaStart(lumen::toOleDate(*s.start));
    for (int i = 0; i < 3; ++i)
        h.setCoefficient(i, float(s.coefficients[std::size_t(i)]));
    return AnsWriter::toBytes(h, s.counts);
}

} // namespace

// A file that holds the value reads back without a difference in every
// format; each field the value is changed in is named.
TEST(ReadBack, EveryFieldThatDiffersIsNamed)
{
    const Spectrum value = sound();
    struct Format
    {
        OutputFormat format;
        QByteArray bytes;
        Spectrum meant;
    } formats[] = {
        {OutputFormat::Ans, ansOf(value), readback::ansCarried(value)},
        {OutputFormat::N42, N42Writer::image(value).bytes, N42Writer::image(value).carried},
        {OutputFormat::Csv, CsvWriter::image(value).bytes, CsvWriter::image(value).carried},
    };
    struct Change
    {
        const char *named;
        std::function<void(Spectrum &)> change;
        bool csv;    ///< a CSV file can tell
        bool others; ///< ANS and N42 files can tell
    } changes[] = {
        {"4 channels read back", [](Spectrum &s) { s.counts = {312}; }, true, true},
        {"the channels sum to", [](Spectrum &s) { s.counts[1] = 1; }, true, true},
        {"the live time", [](Spectrum &s) { s.liveSeconds = 299; }, false, true},
        {"the real time", [](Spectrum &s) { s.realSeconds.reset(); }, false, true},
        {"the start", [](Spectrum &s) { s.start = s.start->addSecs(3600); }, false, true},
        {"the calibration", [](Spectrum &s) { s.coefficients[1] = 0.26; }, false, true},
        {"the energy of channel 1", [](Spectrum &s) { s.coefficients[1] = 0.26; }, true, false},
    };
    for (const Format &f : formats) {
        SCOPED_TRACE(outputformat::title(f.format).toStdString());
        EXPECT_EQ(readback::differences(f.format, f.bytes, f.meant), QStringList());
        for (const Change &c : changes) {
            if (!(f.format == OutputFormat::Csv ? c.csv : c.others))
                continue;
            Spectrum meant = f.meant;
            c.change(meant);
            const QStringList d = readback::differences(f.format, f.bytes, meant);
            ASSERT_EQ(d.size(), 1) << c.named << ": " << d.join(u'|').toStdString();
            EXPECT_TRUE(d[0].startsWith(QLatin1String(c.named))) << d[0].toStdString();
        }
    }
}

TEST(ReadBack, AFileThatWouldReadBackWrongIsNotWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("S.n42"));
    ASSERT_TRUE(lumen::test::writeBytes(path, "old"));
    const SpectrumImage image = N42Writer::image(sound());
    Spectrum meant = image.carried;
    meant.realSeconds = 1;
    try {
        readback::writeChecked(OutputFormat::N42, path, image.bytes, meant);
        FAIL() << "written";
    } catch (const lumen::Failure &f) {
        EXPECT_EQ(f.description(), path + ": not written, it would read back wrong: the real "
                                          "time reads back as 310.5 s, not 1 s");
    }
    EXPECT_EQ(lumen::test::fileBytes(path), "old");

    readback::writeChecked(OutputFormat::N42, path, image.bytes, image.carried);
    EXPECT_EQ(lumen::test::fileBytes(path), image.bytes);
}
