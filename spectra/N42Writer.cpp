#include "spectra/N42Writer.h"

#include "common/core/NumberText.h"

#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace lumen {

namespace {

const QString kNamespace = QStringLiteral("http://physics.nist.gov/N42/2011/N42");
constexpr int kCountsPerLine = 16;

QString durationText(double seconds)
{
    return QStringLiteral("PT") + lumen::exactDoubleText(seconds) + u'S';
}

QString startText(const QDateTime &start)
{
    // The moment with the offset it was read at: a reader elsewhere gets the same instant.
    const QDateTime withOffset = start.toOffsetFromUtc(start.offsetFromUtc());
    return withOffset.toString(withOffset.time().msec() != 0 ? Qt::ISODateWithMs : Qt::ISODate);
}

// A time the document can carry, or nothing (named in the losses).
std::optional<double> carriedTime(const std::optional<double> &seconds, const char *what,
                                  QStringList &losses)
{
    if (!seconds)
        return std::nullopt;
    if (std::isfinite(*seconds) && *seconds >= 0)
        return seconds;
    losses << QStringLiteral("the %1 %2 s cannot be written as a duration, the N42 file has none")
                  .arg(QLatin1String(what), lumen::shortDoubleText(*seconds));
    return std::nullopt;
}

// XML 1.0 holds no control character but tab, line feed and carriage return.
QString xmlText(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            c = u' ';
        else if (c.isSurrogate() || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            c = QChar::ReplacementCharacter;
    }
    return out;
}

// An element with the id "<name>-1" holding one text element per pair.
void writeInformation(QXmlStreamWriter &xml, const QString &name,
                      std::initializer_list<std::pair<QString, QString>> children)
{
    xml.writeStartElement(kNamespace, name);
    xml.writeAttribute(QStringLiteral("id"), name + QStringLiteral("-1"));
    for (const auto &[child, text] : children)
        xml.writeTextElement(kNamespace, child, text);
    xml.writeEndElement();
}

void writeCarried(QXmlStreamWriter &xml, const Spectrum &s)
{
    const bool calibrated = !s.coefficients.empty();
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kNamespace);
    xml.writeStartElement(kNamespace, QStringLiteral("RadInstrumentData"));
    xml.writeTextElement(kNamespace, QStringLiteral("RadInstrumentDataCreatorName"),
                         QStringLiteral("Transpec"));

    // The instrument is not known from a stored spectrum; the schema asks for these.
    writeInformation(xml, QStringLiteral("RadInstrumentInformation"),
                     {{QStringLiteral("RadInstrumentManufacturerName"), QStringLiteral("unknown")},
                      {QStringLiteral("RadInstrumentModelName"), QStringLiteral("unknown")},
                      {QStringLiteral("RadInstrumentClassCode"), QStringLiteral("Other")}});
    writeInformation(xml, QStringLiteral("RadDetectorInformation"),
                     {{QStringLiteral("RadDetectorCategoryCode"), QStringLiteral("Gamma")},
                      {QStringLiteral("RadDetectorKindCode"), QStringLiteral("Other")}});

    if (calibrated) {
        xml.writeStartElement(kNamespace, QStringLiteral("EnergyCalibration"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("EnergyCalibration-1"));
        QStringList words;
        for (const double c : s.coefficients)
            words << lumen::exactDoubleText(c);
        xml.writeTextElement(kNamespace, QStringLiteral("CoefficientValues"), words.join(u' '));
        if (!s.deviationPairs.empty()) {
            QStringList energies, deviations;
            for (const auto &[energy, deviation] : s.deviationPairs) {
                energies << lumen::exactDoubleText(energy);
                deviations << lumen::exactDoubleText(deviation);
            }
            xml.writeTextElement(kNamespace, QStringLiteral("EnergyValues"), energies.join(u' '));
            xml.writeTextElement(kNamespace, QStringLiteral("EnergyDeviationValues"),
                                 deviations.join(u' '));
        }
        xml.writeEndElement();
    }

    xml.writeStartElement(kNamespace, QStringLiteral("RadMeasurement"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("RadMeasurement-1"));
    xml.writeTextElement(kNamespace, QStringLiteral("MeasurementClassCode"),
                         QStringLiteral("Foreground"));
    if (s.start)
        xml.writeTextElement(kNamespace, QStringLiteral("StartDateTime"), startText(*s.start));
    if (s.realSeconds)
        xml.writeTextElement(kNamespace, QStringLiteral("RealTimeDuration"),
                             durationText(*s.realSeconds));

    xml.writeStartElement(kNamespace, QStringLiteral("Spectrum"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("Spectrum-1"));
    xml.writeAttribute(QStringLiteral("radDetectorInformationReference"),
                       QStringLiteral("RadDetectorInformation-1"));
    if (calibrated)
        xml.writeAttribute(QStringLiteral("energyCalibrationReference"),
                           QStringLiteral("EnergyCalibration-1"));
    for (const QString &line : s.descriptions)
        xml.writeTextElement(kNamespace, QStringLiteral("Remark"), line);
    if (s.liveSeconds)
        xml.writeTextElement(kNamespace, QStringLiteral("LiveTimeDuration"),
                             durationText(*s.liveSeconds));
    xml.writeStartElement(kNamespace, QStringLiteral("ChannelData"));
    xml.writeAttribute(QStringLiteral("compressionCode"), QStringLiteral("None"));
    QString counts;
    counts.reserve(qsizetype(s.counts.size()) * 6);
    for (std::size_t i = 0; i < s.counts.size(); ++i) {
        counts += i % kCountsPerLine == 0 ? QStringLiteral("\n") : QStringLiteral(" ");
        counts += QString::number(s.counts[i]);
    }
    xml.writeCharacters(counts + u'\n');
    xml.writeEndElement(); // ChannelData
    xml.writeEndElement(); // Spectrum
    xml.writeEndElement(); // RadMeasurement
    xml.writeEndElement(); // RadInstrumentData
    xml.writeEndDocument();
}

} // namespace

SpectrumImage N42Writer::image(const Spectrum &spectrum)
{
    SpectrumImage image;
    Spectrum &s = image.carried;
    s = spectrum;
    s.liveSeconds = carriedTime(spectrum.liveSeconds, "live time", image.losses);
    s.realSeconds = carriedTime(spectrum.realSeconds, "real time", image.losses);
    if (s.sampleTaken) {
        image.losses << QStringLiteral("the sample date has no place in an N42 file");
        s.sampleTaken.reset();
    }
    if (s.sampleSize || !s.sampleUnit.isEmpty()) {
        image.losses << QStringLiteral("the sample size has no place in an N42 file");
        s.sampleSize.reset();
        s.sampleUnit.clear();
    }
    if (!s.coefficients.empty()) {
        if (s.calibrationUnit.compare(u"MeV", Qt::CaseInsensitive) == 0) {
            for (double &c : s.coefficients)
                c *= 1000;
            for (auto &[energy, deviation] : s.deviationPairs) {
                energy *= 1000;
                deviation *= 1000;
            }
        } else if (s.calibrationUnit.compare(u"keV", Qt::CaseInsensitive) != 0) {
            image.losses << QStringLiteral(
                                "the energy calibration in \"%1\" cannot be written in keV")
                                .arg(s.calibrationUnit);
            s.coefficients.clear();
        }
    }
    const bool pairsFinite =
        std::all_of(s.deviationPairs.begin(), s.deviationPairs.end(), [](const auto &p) {
            return std::isfinite(p.first) && std::isfinite(p.second);
        });
    if (!s.coefficients.empty() && !pairsFinite)
        image.losses << QStringLiteral("deviation pairs beyond double range in keV are left out");
    if (s.coefficients.empty() || !pairsFinite)
        s.deviationPairs.clear();
    if (!s.start)
        image.losses << QStringLiteral("no acquisition start in the file, the N42 file has none");
    s.calibrationUnit = QStringLiteral("keV");
    for (QString &line : s.descriptions) {
        const QString clean = xmlText(line);
        if (clean != line)
            image.losses << QStringLiteral("characters XML cannot hold in \"%1\" written as blanks")
                                .arg(clean);
        line = clean;
    }

    QXmlStreamWriter xml(&image.bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    writeCarried(xml, s);
    return image;
}

} // namespace lumen
