#include "spectra/N42Reader.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "spectra/BoxNames.h"
#include "spectra/SpectrumFile.h"
#include "spectra/SpectrumText.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <vector>

namespace lumen {

namespace {

constexpr int kPumpEvery = 1024;
constexpr qsizetype kMostBytes = 16 * 1024 * 1024;

using spectrumtext::malformed;
using spectrumtext::numberOf;
using spectrumtext::wordsOf;

// The counts of a ChannelData text; "CountedZeroes" writes a run of zeros as 0 and its length.
std::vector<std::int32_t> countsOf(const QString &text, const QString &compression)
{
    const QStringList words = wordsOf(text);
    const bool countedZeroes = compression.compare(u"CountedZeroes", Qt::CaseInsensitive) == 0;
    if (!countedZeroes && !compression.isEmpty() &&
        compression.compare(u"None", Qt::CaseInsensitive) != 0)
        malformed(QStringLiteral("compression \"%1\" is not supported").arg(compression));
    std::vector<std::int32_t> counts;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const double v = numberOf(words[i], "a count");
        const std::int32_t count = lumen::strictInt32(words[i]);
        if (double(count) != v)
            malformed(QStringLiteral("the count \"%1\" is no whole number").arg(words[i]));
        if (countedZeroes && count == 0) {
            if (i + 1 >= words.size())
                malformed(QStringLiteral("a run of zeros without its length"));
            const double run = numberOf(words[++i], "a run of zeros");
            if (run < 1 || run > ChannelStore::kCapacity - double(counts.size()))
                malformed(QStringLiteral("a run of %1 zeros").arg(words[i]));
            counts.insert(counts.end(), std::size_t(run), 0);
        } else {
            counts.push_back(count);
        }
        if (counts.size() > std::size_t(ChannelStore::kCapacity))
            malformed(QStringLiteral("more channels than the store holds"));
    }
    return counts;
}

QString startBox(const QString &text, bool date)
{
    QDateTime start = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!start.isValid())
        start = QDateTime::fromString(text.trimmed(), Qt::ISODate);
    if (!start.isValid())
        return date ? text.trimmed() : QString(); // shown as it stands, warned at conversion
    // The ANS file holds the local time of the start.
    if (start.timeSpec() != Qt::LocalTime)
        start = start.toLocalTime();
    return lumen::formatDateTime(start, date ? u"DD-MMM-YYYY" : u"HH:MM:SS");
}

struct Found
{
    QStringList remarks;
    QString start, live, real, coefficients, data, compression;
    int spectra = 0;
    int calibrations = 0;
};

Found scan(QByteArrayView bytes)
{
    Found f;
    QXmlStreamReader xml(bytes.toByteArray());
    int spectrumDepth = -1;
    int depth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (depth == spectrumDepth)
                spectrumDepth = -1;
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QStringView name = xml.name();
        if (name == u"Spectrum") {
            if (++f.spectra == 1)
                spectrumDepth = depth;
        } else if (name == u"Remark") {
            f.remarks << xml.readElementText(QXmlStreamReader::SkipChildElements).simplified();
            --depth;
        } else if (name == u"StartDateTime" && f.start.isEmpty()) {
            f.start = xml.readElementText();
            --depth;
        } else if (name == u"RealTimeDuration" && f.real.isEmpty()) {
            f.real = xml.readElementText();
            --depth;
        } else if (name == u"LiveTimeDuration" && spectrumDepth > 0 && f.live.isEmpty()) {
            f.live = xml.readElementText();
            --depth;
        } else if (name == u"CoefficientValues") {
            if (++f.calibrations == 1)
                f.coefficients = xml.readElementText();
            else
                xml.skipCurrentElement();
            --depth;
        } else if (name == u"ChannelData" && spectrumDepth > 0 && f.data.isEmpty()) {
            f.compression = xml.attributes().value(QLatin1String("compressionCode")).toString();
            f.data = xml.readElementText();
            if (f.data.trimmed().isEmpty())
                malformed(QStringLiteral("empty ChannelData"));
            --depth;
        }
    }
    if (xml.hasError())
        malformed(QStringLiteral("XML error at line %1: %2")
                      .arg(xml.lineNumber())
                      .arg(xml.errorString()));
    return f;
}

} // namespace

std::optional<double> N42Reader::durationSeconds(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(
        "^P(?:(\\d+(?:\\.\\d+)?)D)?(?:T(?:(\\d+(?:\\.\\d+)?)H)?(?:(\\d+(?:\\.\\d+)?)M)?"
        "(?:(\\d+(?:\\.\\d+)?)S)?)?$"));
    const QString t = text.trimmed();
    const QRegularExpressionMatch m = re.match(t);
    if (!m.hasMatch() || t == u"P" || t.endsWith(u'T'))
        return std::nullopt;
    return m.captured(1).toDouble() * 86400.0 + m.captured(2).toDouble() * 3600.0 +
           m.captured(3).toDouble() * 60.0 + m.captured(4).toDouble();
}

IncomingSpectrum N42Reader::readFile(const QString &path, ChannelStore &store,
                                     const std::function<void()> &pump)
{
    return SpectrumFile::readWith(
        path, [&](QByteArrayView bytes) { return read(bytes, path, store, pump); });
}

IncomingSpectrum N42Reader::read(QByteArrayView bytes, const QString &path, ChannelStore &store,
                                 const std::function<void()> &pump)
{
    IncomingSpectrum result;
    try {
        // A spectrum's counts take well under a megabyte of XML; the rest of a
        // larger file (other spectra, images) would only cost memory.
        if (bytes.size() > kMostBytes)
            malformed(
                QStringLiteral("larger than %1 bytes, more than one spectrum").arg(kMostBytes));
        const Found f = scan(bytes);
        if (f.spectra == 0 || f.data.isEmpty())
            malformed(QStringLiteral("no spectrum with channel data"));
        const std::vector<std::int32_t> counts = countsOf(f.data, f.compression);

        for (const auto &[text, box] :
             {std::pair{&f.live, &box::LiveTime}, std::pair{&f.real, &box::RealTime}}) {
            if (text->isEmpty())
                continue;
            const std::optional<double> seconds = durationSeconds(*text);
            if (!seconds)
                malformed(QStringLiteral("the duration \"%1\" cannot be read").arg(*text));
            result.boxes[*box] = lumen::shortDoubleText(*seconds);
        }
        if (!f.start.isEmpty()) {
            result.boxes[box::AcqDate] = startBox(f.start, true);
            result.boxes[box::AcqTime] = startBox(f.start, false);
        }
        const QStringList coefficients = wordsOf(f.coefficients);
        if (!coefficients.isEmpty())
            spectrumtext::putCoefficients(coefficients, result.boxes, result.warnings);
        result.boxes[box::SpcID] = f.remarks.value(0);
        result.boxes[box::SpcID_line2] = f.remarks.value(1);
        if (f.remarks.size() > 2)
            result.warnings << QStringLiteral("%1 remarks, the ANS file carries the first two")
                                   .arg(f.remarks.size());
        if (f.spectra > 1)
            result.warnings << QStringLiteral("%1 spectra in the file, only the first converted")
                                   .arg(f.spectra);
        if (f.calibrations > 1)
            result.warnings << QStringLiteral("%1 energy calibrations, only the first converted")
                                   .arg(f.calibrations);

        const int n = int(counts.size());
        for (int i = 0; i < n; ++i) {
            if (pump && i % kPumpEvery == 0)
                pump();
            store.set(i, counts[std::size_t(i)]);
        }
        result.boxes[box::NumChan] = QString::number(n);
        result.boxes[box::fType] = QStringLiteral("Integer");
        result.loaded = true;
    } catch (const lumen::Failure &failure) {
        result.messages << QStringLiteral("Error reading ") + path + QStringLiteral(": ") +
                               failure.description();
    }
    return result;
}

} // namespace lumen
