#include "spectra/SpeReader.h"

#include "common/core/Cp1252.h"
#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "spectra/ChannelStore.h"
#include "spectra/SpectrumFile.h"
#include "spectra/SpectrumKind.h"
#include "spectra/SpectrumText.h"

#include <QMap>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace lumen {

namespace {

constexpr int kPumpEvery = 1024;
constexpr qsizetype kMostBytes = 8 * 1024 * 1024;
using spectrumtext::malformed;
using spectrumtext::numberOf;
using spectrumtext::wholeNumberOf;

// The file's sections: name (without "$" and ":") to its lines, in file order.
QList<QPair<QString, QStringList>> sectionsOf(const QString &text)
{
    QList<QPair<QString, QStringList>> sections;
    for (const QString &raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'$') && line.endsWith(u':')) {
            sections.append({line.mid(1, line.size() - 2).toUpper(), {}});
        } else if (!sections.isEmpty()) {
            sections.last().second << line;
        } else if (!line.isEmpty()) {
            malformed(QStringLiteral("text before the first section"));
        }
    }
    return sections;
}

QStringList wordsOf(const QStringList &lines)
{
    return spectrumtext::wordsOf(lines.join(u' '));
}

QString firstLine(const QStringList &lines)
{
    for (const QString &line : lines) {
        if (!line.isEmpty())
            return line;
    }
    return QString();
}

void readCounts(const QStringList &lines, Spectrum &spectrum, IncomingSpectrum &result,
                const std::function<void()> &pump)
{
    const QStringList words = wordsOf(lines);
    if (words.size() < 2)
        malformed(QStringLiteral("$DATA has no channel range"));
    const std::int32_t first = wholeNumberOf(words[0], QStringLiteral("the $DATA first channel"));
    const std::int32_t last = wholeNumberOf(words[1], QStringLiteral("the $DATA last channel"));
    if (first < 0 || last < first)
        malformed(QStringLiteral("$DATA range %1 to %2").arg(first).arg(last));
    if (last >= ChannelStore::kCapacity) {
        result.inform(QStringLiteral("<SpcRec1.NumChan> Spectra size greater than 16384..."));
        malformed(QStringLiteral("more channels than the store holds"));
    }
    const int wanted = last - first + 1;
    // Data cut short reads as a CHN or SPC file cut short does: the missing
    // channels are 0 and the file is written with a warning.
    const qsizetype held = std::min<qsizetype>(words.size() - 2, wanted);
    if (held < wanted)
        result.warnings << QStringLiteral("the data holds %1 of the %2 channels declared")
                               .arg(held)
                               .arg(wanted);
    if (words.size() - 2 > wanted)
        result.warnings << QStringLiteral("%1 values after the last channel ignored")
                               .arg(words.size() - 2 - wanted);
    spectrum.counts.assign(std::size_t(last) + 1, 0);
    for (int i = first; i < first + held; ++i) {
        if (pump && i % kPumpEvery == 0)
            pump();
        spectrum.counts[std::size_t(i)] =
            wholeNumberOf(words[2 + i - first], QStringLiteral("$DATA channel %1").arg(i));
    }
}

// The coefficients of $MCA_CAL (a count, then the coefficients and a unit);
// nothing when the section is empty or all its coefficients are 0, since
// such a section says nothing about the energy scale.
std::vector<double> calibrationOf(const QStringList &lines, QString &unit)
{
    const QStringList words = wordsOf(lines);
    if (words.isEmpty())
        return {};
    const double named = numberOf(words[0], "the $MCA_CAL coefficient count");
    // Checked before any arithmetic: a count beyond the words there are
    // cannot be met, however large it is.
    if (named != std::floor(named) || named < 0 || named > double(words.size() - 1))
        malformed(QStringLiteral("$MCA_CAL names %1 coefficients, %2 follow")
                      .arg(words[0])
                      .arg(words.size() - 1));
    const int count = int(named);
    std::vector<double> coefficients = spectrumtext::coefficientsOf(words.mid(1, count));
    unit = words.value(1 + count);
    if (std::all_of(coefficients.begin(), coefficients.end(), [](double c) { return c == 0.0; }))
        return {};
    return coefficients;
}

std::vector<double> fitOf(const QStringList &lines)
{
    const QStringList words = wordsOf(lines);
    if (words.size() < 2)
        return {};
    return {numberOf(words[0], "$ENER_FIT"), numberOf(words[1], "$ENER_FIT")};
}

// $DATE_MEA: a date, then a time that may carry AM or PM as a word of its own.
void readDate(const QStringList &lines, IncomingSpectrum &result)
{
    const QStringList words = wordsOf(lines);
    if (words.isEmpty())
        return;
    const QString time = words.size() > 1 ? words.mid(1).join(u' ') : QStringLiteral("00:00:00");
    result.spectrum.start =
        spectrumtext::momentOf(words[0], time, "acquisition start", result.warnings);
}

// Sections that hold nothing a spectrum value carries and that every
// analysis program writes: naming them would bury the warnings that matter.
bool isRoutine(const QString &name)
{
    static const QStringList kRoutine = {QStringLiteral("ROI"), QStringLiteral("PRESETS"),
                                         QStringLiteral("SHAPE_CAL")};
    return kRoutine.contains(name);
}

// The text with a leading UTF-8 byte-order mark dropped and every line end
// (CR LF, LF, CR alone) made LF.
QString textOf(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QString text = lumen::fromCp1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

IncomingSpectrum SpeReader::readFile(const QString &path, const std::function<void()> &pump)
{
    return SpectrumFile::readWith(path,
                                  [&](QByteArrayView bytes) { return read(bytes, path, pump); });
}

IncomingSpectrum SpeReader::read(QByteArrayView bytes, const QString &path,
                                 const std::function<void()> &pump)
{
    IncomingSpectrum result;
    Spectrum &spectrum = result.spectrum;
    spectrum.sourceFormat = QStringLiteral("SPE");
    try {
        // 16384 counts take well under a megabyte of text; a larger file is no
        // single SPE spectrum and would only cost memory word by word.
        if (bytes.size() > kMostBytes)
            malformed(
                QStringLiteral("larger than %1 bytes, no single SPE spectrum").arg(kMostBytes));
        if (bytes.contains('\0'))
            malformed(QStringLiteral("a binary file, not SPE text"));
        const auto sections = sectionsOf(textOf(bytes));
        QMap<QString, QStringList> byName;
        for (const auto &[name, lines] : sections) {
            if (byName.contains(name))
                spectrum.notes << QStringLiteral("a second $%1 section ignored").arg(name);
            else
                byName.insert(name, lines);
        }
        if (!byName.contains(QStringLiteral("DATA")))
            malformed(QStringLiteral("no $DATA section"));

        const QStringList idLines = byName.value(QStringLiteral("SPEC_ID"));
        spectrum.descriptions << firstLine(idLines);
        const qsizetype furtherIds = std::count_if(idLines.begin(), idLines.end(),
                                                   [](const QString &l) { return !l.isEmpty(); }) -
                                     (spectrum.descriptions.first().isEmpty() ? 0 : 1);
        if (furtherIds > 0)
            spectrum.notes
                << QStringLiteral("$SPEC_ID lines after the first not carried: %1").arg(furtherIds);
        for (const QString &remark : byName.value(QStringLiteral("SPEC_REM"))) {
            if (!remark.isEmpty())
                spectrum.descriptions << remark;
        }
        readDate(byName.value(QStringLiteral("DATE_MEA")), result);
        const QStringList times = wordsOf(byName.value(QStringLiteral("MEAS_TIM")));
        if (!times.isEmpty()) {
            spectrum.liveSeconds = numberOf(times[0], "the $MEAS_TIM live time");
            spectrum.realSeconds = numberOf(times.value(1, times[0]), "the $MEAS_TIM real time");
        }
        spectrum.coefficients =
            calibrationOf(byName.value(QStringLiteral("MCA_CAL")), spectrum.calibrationUnit);
        if (spectrum.coefficients.empty()) {
            spectrum.coefficients = fitOf(byName.value(QStringLiteral("ENER_FIT")));
            spectrum.calibrationUnit = QStringLiteral("keV");
        }
        if (spectrum.calibrationUnit.isEmpty())
            spectrum.calibrationUnit = QStringLiteral("keV");
        readCounts(byName.value(QStringLiteral("DATA")), spectrum, result, pump);

        static const QStringList kCarried = {QStringLiteral("SPEC_ID"),  QStringLiteral("SPEC_REM"),
                                             QStringLiteral("DATE_MEA"), QStringLiteral("MEAS_TIM"),
                                             QStringLiteral("DATA"),     QStringLiteral("MCA_CAL"),
                                             QStringLiteral("ENER_FIT"), QStringLiteral("END")};
        QStringList dropped;
        for (const QString &name : byName.keys()) {
            if (!kCarried.contains(name) && !isRoutine(name) &&
                !byName.value(name).join(QString()).isEmpty())
                dropped << u'$' + name;
        }
        if (!dropped.isEmpty())
            spectrum.notes << QStringLiteral("not carried: ") + dropped.join(QStringLiteral(", "));
        result.loaded = true;
    } catch (const lumen::Failure &failure) {
        result.messages << QStringLiteral("Error reading ") + path + QStringLiteral(": ") +
                               failure.description() +
                               spectrumkind::hintBeyond(bytes, QStringLiteral("SPE"));
    }
    return result;
}

} // namespace lumen
