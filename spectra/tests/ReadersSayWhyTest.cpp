#include "spectra/ChnReader.h"
#include "spectra/N42Reader.h"
#include "spectra/SpcReader.h"
#include "spectra/SpeReader.h"
#include "spectra/testsupport/SpectrumBuilders.h"

#include <functional>
#include <gtest/gtest.h>

using namespace lumen;

namespace {

const QString kPath = QStringLiteral("/data/f");

using Reader = IncomingSpectrum (*)(QByteArrayView, const QString &, const std::function<void()> &);

QByteArray chnBytes(int channels)
{
    test::ChnImage chn;
    chn.counts.assign(std::size_t(channels), 3);
    return chn.bytes();
}

// An N42 file that uses prefixes it never declares, as some instruments write.
QByteArray undeclaredPrefixes(const QByteArray &tail = "")
{
    return "<?xml version=\"1.0\"?>\n"
           "<RadInstrumentData xmlns=\"http://physics.nist.gov/N42/2011/N42\">\n"
           " <Site:Extension><Lab:Detail>x</Lab:Detail></Site:Extension>\n"
           " <RadMeasurement><Spectrum><ChannelData>1 2 3</ChannelData></Spectrum>"
           "</RadMeasurement>\n" +
           tail + "</RadInstrumentData>\n";
}

QByteArray speCutShort()
{
    return "$SPEC_ID:\nx\n$DATE_MEA:\n06/22/2001 13:05:42\n$MEAS_TIM:\n1 1\n$DATA:\n0 7\n1 2 3\n";
}

QByteArray foreignSpc()
{
    // Another program's .spc: its first record names records far beyond its end.
    test::SpcImage spc;
    spc.counts.assign(256, 1);
    spc.inftyp = 3;
    spc.calibrationRecord = 32260;
    return spc.bytes();
}

} // namespace

// What each reader says of files that are damaged, lie about their kind or
// bend the rules: read with a warning, or refused naming the real reason.
TEST(SpectrumReaders, SayWhyTheyReadWithADoubtOrRefuse)
{
    struct Case
    {
        const char *what;
        Reader read;
        QByteArray bytes;
        bool loaded;
        QString said; // the warnings joined by "|", or the end of the refusal
    } cases[] = {
        {"undeclared prefixes", N42Reader::read, undeclaredPrefixes(), true,
         "the namespace prefix \"Site\" is used but never declared; read as a namespace of its "
         "own|the namespace prefix \"Lab\" is used but never declared; read as a "
         "namespace of its own"},
        {"undeclared prefix, still malformed", N42Reader::read,
         undeclaredPrefixes("<Remark>&unknown;</Remark>\n"), false,
         "Entity 'unknown' not declared."},
        {"SPE data cut short", SpeReader::read, speCutShort(), true,
         "the data holds 3 of the 8 channels declared"},
        {"a CHN named .spe", SpeReader::read, chnBytes(512), false,
         "a binary file, not SPE text; it looks like a CHN spectrum (named .chn, it is read)"},
        {"an SPE named .chn", ChnReader::read, speCutShort(), false,
         "; it looks like an SPE spectrum (named .spe, it is read)"},
        {"another program's .spc", SpcReader::read, foreignSpc(), false,
         "not an SPC spectrum of this kind (its first record names a calibration record 32260, "
         "beyond the end of the file)"},
        {"128 channels", ChnReader::read, chnBytes(128), true, ""},
    };
    for (const Case &c : cases) {
        const IncomingSpectrum r = c.read(c.bytes, kPath, {});
        EXPECT_EQ(r.loaded, c.loaded) << c.what << ": " << r.messages.join(u'|').toStdString();
        if (c.loaded) {
            EXPECT_EQ(r.warnings.join(u'|'), c.said) << c.what;
            // What the window shows beyond the warnings only informs.
            EXPECT_EQ(r.messages, r.notices) << c.what;
        } else {
            ASSERT_FALSE(r.messages.isEmpty()) << c.what;
            EXPECT_TRUE(r.messages.last().endsWith(c.said))
                << c.what << ": " << r.messages.last().toStdString();
        }
    }
}
