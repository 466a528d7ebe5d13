#include "spectra/N42Reader.h"

#include "common/core/DateText.h"

#include "common/core/Failure.h"
#include "spectra/ChannelStore.h"
#include "spectra/SpectrumFile.h"
#include "spectra/SpectrumKind.h"
#include "spectra/SpectrumText.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <vector>

namespace lumen {

namespace {

constexpr qsizetype kMostBytes = 16 * 1024 * 1024;

using spectrumtext::malformed;
using spectrumtext::numberOf;
using spectrumtext::wordsOf;

// The counts of a ChannelData text; "CountedZeroes" writes a run of zeros as
// 0 and its length, a whole number.
std::vector<std::int32_t> countsOf(const QString &text, const QString &compression)
{
    const QStringList words = wordsOf(text);
    const bool countedZeroes = compression.compare(u"CountedZeroes", Qt::CaseInsensitive) == 0;
    if (!countedZeroes && !compression.isEmpty() &&
        compression.compare(u"None", Qt::CaseInsensitive) != 0)
        malformed(QStringLiteral("compression \"%1\" is not supported").arg(compression));
    std::vector<std::int32_t> counts;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const std::int32_t count = spectrumtext::wholeNumberOf(
            words[i], QStringLiteral("the ChannelData count at channel %1").arg(counts.size()));
        if (countedZeroes && count == 0) {
            if (i + 1 >= words.size())
                malformed(QStringLiteral("a run of zeros without its length"));
            const double run = numberOf(words[++i], "a run of zeros");
            if (run != std::floor(run) || run < 1 ||
                run > ChannelStore::kCapacity - double(counts.size()))
                malformed(QStringLiteral("a run of %1 zeros at channel %2")
                              .arg(words[i])
                              .arg(counts.size()));
            counts.insert(counts.end(), std::size_t(run), 0);
        } else {
            counts.push_back(count);
        }
        if (counts.size() > std::size_t(ChannelStore::kCapacity))
            malformed(QStringLiteral("more channels than the store holds"));
    }
    return counts;
}

struct Calibration
{
    QString id;
    QString coefficients;
    QString unit;
    // Deviation pairs: energies and the deviation at each. Energies beside
    // channel values are a table of points instead, not pairs.
    QString energies, deviations;
    bool channelTable = false;
};

// What one measurement (2011 RadMeasurement, 2006 Measurement) says for its spectra.
struct Measurement
{
    QString start, live, real;
};

struct SpectrumFound
{
    QString id;
    int measurement = -1;
    QStringList remarks;
    QString start, live, real, data, compression;
    QStringList calibrationRefs;
    std::optional<Calibration> own;
};

// A remark outside every spectrum, with the measurement it stands in (-1: none).
struct Remark
{
    int measurement = -1;
    QString text;
};

struct Document
{
    QList<Remark> remarks;
    QList<Calibration> calibrations;
    QList<Measurement> measurements;
    QList<SpectrumFound> spectra;
};

bool isMeasurement(QStringView name)
{
    return name == u"RadMeasurement" || name == u"Measurement";
}

// An energy calibration: 2011's EnergyCalibration, or a 2006 Calibration of
// type Energy (the type may be left out).
bool isEnergyCalibration(QStringView name, const QXmlStreamAttributes &attributes)
{
    if (name == u"EnergyCalibration")
        return true;
    if (name != u"Calibration")
        return false;
    const QStringView type = attributes.value(QLatin1String("Type"));
    return type.isEmpty() || type.compare(u"Energy", Qt::CaseInsensitive) == 0;
}

QString attribute(const QXmlStreamAttributes &attributes, const char *a, const char *b)
{
    const QStringView first = attributes.value(QLatin1String(a));
    return (first.isEmpty() ? attributes.value(QLatin1String(b)) : first).toString();
}

// Reads one calibration element up to its end.
Calibration calibrationOf(QXmlStreamReader &xml)
{
    Calibration c;
    c.id = attribute(xml.attributes(), "id", "ID");
    c.unit = xml.attributes().value(QLatin1String("EnergyUnits")).toString();
    const int depth = 1;
    int level = depth;
    while (level > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --level;
        } else if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            QString *into = name == u"CoefficientValues" || name == u"Coefficients"
                                ? &c.coefficients
                            : name == u"EnergyValues"          ? &c.energies
                            : name == u"EnergyDeviationValues" ? &c.deviations
                                                               : nullptr;
            c.channelTable = c.channelTable || name == u"ChannelValues";
            if (into && into->isEmpty())
                *into = xml.readElementText(QXmlStreamReader::SkipChildElements);
            else
                ++level;
        }
    }
    return c;
}

// A prefix the file uses without declaring it: bound to a namespace of its
// own, so that its elements are read like any others.
QXmlStreamNamespaceDeclaration undeclared(const QString &prefix)
{
    return QXmlStreamNamespaceDeclaration(prefix,
                                          QStringLiteral("urn:undeclared-prefix:") + prefix);
}

// The prefix an XML error complains of as never declared; empty for any other error.
QString undeclaredPrefixOf(const QXmlStreamReader &xml)
{
    static const QRegularExpression re(QStringLiteral("^Namespace prefix '([^']+)' not declared$"));
    if (xml.error() != QXmlStreamReader::NotWellFormedError)
        return QString();
    return re.match(xml.errorString()).captured(1);
}

struct UndeclaredPrefix
{
    QString prefix;
};

Document scan(const QByteArray &bytes, const QStringList &prefixes)
{
    Document doc;
    QXmlStreamReader xml(bytes);
    for (const QString &prefix : prefixes)
        xml.addExtraNamespaceDeclaration(undeclared(prefix));
    QList<QString> path;
    int measurement = -1;
    int spectrum = -1;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            const QString name = path.isEmpty() ? QString() : path.takeLast();
            if (name == u"Spectrum")
                spectrum = -1;
            else if (isMeasurement(name))
                measurement = -1;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        SpectrumFound *in = spectrum >= 0 ? &doc.spectra[spectrum] : nullptr;
        Measurement *within = measurement >= 0 ? &doc.measurements[measurement] : nullptr;
        const auto text = [&xml] {
            return xml.readElementText(QXmlStreamReader::SkipChildElements);
        };
        if (name == u"Spectrum") {
            SpectrumFound found;
            found.id = attribute(xml.attributes(), "id", "ID");
            found.measurement = measurement;
            found.calibrationRefs = wordsOf(
                attribute(xml.attributes(), "energyCalibrationReference", "CalibrationIDs"));
            doc.spectra.append(found);
            spectrum = int(doc.spectra.size()) - 1;
            path.append(name);
        } else if (isMeasurement(name)) {
            doc.measurements.append(Measurement());
            measurement = int(doc.measurements.size()) - 1;
            path.append(name);
        } else if (isEnergyCalibration(name, xml.attributes())) {
            const Calibration c = calibrationOf(xml);
            if (in && !in->own)
                in->own = c;
            else
                doc.calibrations.append(c);
        } else if (name == u"Calibration") {
            xml.skipCurrentElement(); // of another kind (FWHM, efficiency)
        } else if (name == u"Remark") {
            const QString remark = text().simplified();
            if (in)
                in->remarks << remark;
            else
                doc.remarks.append({measurement, remark});
        } else if (name == u"StartDateTime" || name == u"StartTime") {
            QString scratch;
            QString &start = in ? in->start : within ? within->start : scratch;
            const QString read = text();
            if (start.isEmpty())
                start = read;
        } else if (name == u"RealTimeDuration" || name == u"RealTime" ||
                   name == u"LiveTimeDuration" || name == u"LiveTime") {
            const bool live = name.startsWith(u"Live");
            QString scratch;
            QString &duration = in       ? (live ? in->live : in->real)
                                : within ? (live ? within->live : within->real)
                                         : scratch;
            const QString read = text();
            if (duration.isEmpty())
                duration = read;
        } else if (name == u"ChannelData" && in && in->data.isEmpty()) {
            in->compression = attribute(xml.attributes(), "compressionCode", "Compression");
            in->data = text();
            if (in->data.trimmed().isEmpty())
                malformed(QStringLiteral("empty ChannelData in spectrum %1").arg(spectrum + 1));
        } else {
            path.append(name);
        }
    }
    if (const QString prefix = undeclaredPrefixOf(xml); !prefix.isEmpty())
        throw UndeclaredPrefix{prefix};
    if (xml.hasError())
        malformed(QStringLiteral("XML error at line %1: %2")
                      .arg(xml.lineNumber())
                      .arg(xml.errorString()));
    return doc;
}

// The start as written: with its own UTC offset when it names one, else local.
std::optional<QDateTime> startOf(const QString &text, QStringList &warnings)
{
    // The suite's one date rule first: a local start in the hour that a
    // change of daylight saving time skips is still a moment.
    if (const std::optional<QDateTime> read = lumen::parseDateTime(text.trimmed()))
        return *read;
    QDateTime start = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!start.isValid())
        start = QDateTime::fromString(text.trimmed(), Qt::ISODate);
    if (start.isValid())
        return start;
    warnings << QStringLiteral("the acquisition start \"%1\" cannot be read").arg(text.trimmed());
    return std::nullopt;
}

// The calibration the spectrum names, else its own, else the file's first.
const Calibration *calibrationFor(const SpectrumFound &chosen, const Document &doc,
                                  Spectrum &spectrum)
{
    if (chosen.own)
        return &*chosen.own;
    for (const QString &ref : chosen.calibrationRefs) {
        for (const Calibration &c : doc.calibrations) {
            if (c.id == ref)
                return &c;
        }
    }
    if (!chosen.calibrationRefs.isEmpty()) {
        spectrum.notes << QStringLiteral("the energy calibration \"%1\" the spectrum names is "
                                         "not in the file")
                              .arg(chosen.calibrationRefs.join(u' '));
        return nullptr;
    }
    if (doc.calibrations.size() > 1)
        spectrum.notes << QStringLiteral("%1 energy calibrations, only the first converted")
                              .arg(doc.calibrations.size());
    return doc.calibrations.isEmpty() ? nullptr : &doc.calibrations.first();
}

void fillTimes(const SpectrumFound &chosen, const Document &doc, IncomingSpectrum &result)
{
    Spectrum &spectrum = result.spectrum;
    const Measurement *m =
        chosen.measurement >= 0 ? &doc.measurements[chosen.measurement] : nullptr;
    const QString live = chosen.live.isEmpty() && m ? m->live : chosen.live;
    const QString real = chosen.real.isEmpty() && m ? m->real : chosen.real;
    const QString start = chosen.start.isEmpty() && m ? m->start : chosen.start;
    for (const auto &[text, seconds, what] :
         {std::tuple{&live, &spectrum.liveSeconds, "live time"},
          std::tuple{&real, &spectrum.realSeconds, "real time"}}) {
        if (text->trimmed().isEmpty())
            continue;
        *seconds = N42Reader::durationSeconds(*text);
        if (!*seconds)
            malformed(QStringLiteral("the %1 \"%2\" cannot be read")
                          .arg(QLatin1String(what), text->trimmed()));
    }
    if (!start.trimmed().isEmpty())
        spectrum.start = startOf(start, result.warnings);
}

// Descriptions: the spectrum's own remarks first, then those of the file and
// of its measurement in file order.
QStringList descriptionsFor(const SpectrumFound &chosen, const Document &doc)
{
    QStringList descriptions = chosen.remarks;
    for (const Remark &r : doc.remarks) {
        if (r.measurement < 0 || r.measurement == chosen.measurement)
            descriptions << r.text;
    }
    return descriptions;
}

// The file's document; each prefix it uses but never declares is bound to a
// namespace of its own and named in `warnings`. Nothing else is forgiven.
Document scanLeniently(QByteArrayView bytes, QStringList &warnings)
{
    constexpr int kMostPrefixes = 16;
    const QByteArray xmlBytes = bytes.toByteArray();
    QStringList prefixes;
    for (;;) {
        try {
            const Document doc = scan(xmlBytes, prefixes);
            for (const QString &prefix : prefixes)
                warnings << QStringLiteral("the namespace prefix \"%1\" is used but never "
                                           "declared; read as a namespace of its own")
                                .arg(prefix);
            return doc;
        } catch (const UndeclaredPrefix &u) {
            if (prefixes.contains(u.prefix))
                malformed(
                    QStringLiteral("the namespace prefix \"%1\" cannot be bound").arg(u.prefix));
            if (prefixes.size() >= kMostPrefixes)
                malformed(QStringLiteral("more than %1 namespace prefixes never declared")
                              .arg(kMostPrefixes));
            prefixes << u.prefix;
        }
    }
}

// Deviation pairs: each energy with the deviation the polynomial has there.
std::vector<std::pair<double, double>> deviationPairsOf(const Calibration &c, Spectrum &spectrum)
{
    if (c.channelTable || c.deviations.trimmed().isEmpty())
        return {};
    const auto numbers = [](const QString &text) {
        std::vector<double> values;
        for (const QString &word : wordsOf(text))
            values.push_back(numberOf(word, "a deviation pair value"));
        return values;
    };
    const std::vector<double> energies = numbers(c.energies);
    const std::vector<double> deviations = numbers(c.deviations);
    if (energies.size() != deviations.size()) {
        spectrum.notes << QStringLiteral("%1 deviation values for %2 energies, none applied")
                              .arg(deviations.size())
                              .arg(energies.size());
        return {};
    }
    std::vector<std::pair<double, double>> pairs;
    for (std::size_t i = 0; i < energies.size(); ++i) {
        if (!std::isfinite(energies[i]) || !std::isfinite(deviations[i])) {
            spectrum.notes << QStringLiteral("a deviation pair beyond double range, none applied");
            return {};
        }
        pairs.emplace_back(energies[i], deviations[i]);
    }
    if (!std::is_sorted(pairs.begin(), pairs.end())) {
        spectrum.notes << QStringLiteral("deviation pairs not in rising energy, none applied");
        return {};
    }
    return pairs;
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

IncomingSpectrum N42Reader::readFile(const QString &path, const std::function<void()> &pump)
{
    return SpectrumFile::readWith(path,
                                  [&](QByteArrayView bytes) { return read(bytes, path, pump); });
}

IncomingSpectrum N42Reader::read(QByteArrayView bytes, const QString &path,
                                 const std::function<void()> &pump)
{
    IncomingSpectrum result;
    Spectrum &spectrum = result.spectrum;
    spectrum.sourceFormat = QStringLiteral("N42");
    try {
        // A spectrum's counts take well under a megabyte of XML; the rest of a
        // larger file (other spectra, images) would only cost memory.
        if (bytes.size() > kMostBytes)
            malformed(
                QStringLiteral("larger than %1 bytes, more than one spectrum").arg(kMostBytes));
        const Document doc = scanLeniently(bytes, result.warnings);
        const auto chosen = std::find_if(doc.spectra.cbegin(), doc.spectra.cend(),
                                         [](const SpectrumFound &s) { return !s.data.isEmpty(); });
        if (chosen == doc.spectra.cend())
            malformed(QStringLiteral("no spectrum with channel data"));
        if (pump)
            pump();
        spectrum.counts = countsOf(chosen->data, chosen->compression);
        fillTimes(*chosen, doc, result);
        if (const Calibration *c = calibrationFor(*chosen, doc, spectrum)) {
            spectrum.coefficients = spectrumtext::coefficientsOf(wordsOf(c->coefficients));
            if (!c->unit.isEmpty())
                spectrum.calibrationUnit = c->unit;
            spectrum.deviationPairs = deviationPairsOf(*c, spectrum);
        }
        spectrum.descriptions = descriptionsFor(*chosen, doc);
        if (doc.spectra.size() > 1) {
            const qsizetype index = chosen - doc.spectra.cbegin();
            spectrum.notes << QStringLiteral("%1 spectra in the file, only spectrum %2%3 converted")
                                  .arg(doc.spectra.size())
                                  .arg(index + 1)
                                  .arg(chosen->id.isEmpty()
                                           ? QString()
                                           : QStringLiteral(" (") + chosen->id + u')');
        }
        result.loaded = true;
    } catch (const lumen::Failure &failure) {
        result.messages << QStringLiteral("Error reading ") + path + QStringLiteral(": ") +
                               failure.description() +
                               spectrumkind::hintBeyond(bytes, QStringLiteral("N42"));
    }
    return result;
}

} // namespace lumen
