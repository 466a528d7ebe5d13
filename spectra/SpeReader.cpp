#include "spectra/SpeReader.h"

#include "common/core/Cp1252.h"
#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "spectra/BoxNames.h"
#include "spectra/SpectrumFile.h"
#include "spectra/SpectrumText.h"

#include <QMap>
#include <QStringList>

namespace lumen {

namespace {

constexpr int kPumpEvery = 1024;
constexpr qsizetype kMostBytes = 8 * 1024 * 1024;
using spectrumtext::malformed;
using spectrumtext::numberOf;

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

void readCounts(const QStringList &lines, ChannelStore &store, IncomingSpectrum &result,
                const std::function<void()> &pump)
{
    const QStringList words = wordsOf(lines);
    if (words.size() < 2)
        malformed(QStringLiteral("$DATA has no channel range"));
    const std::int32_t first = lumen::strictInt32(words[0]);
    const std::int32_t last = lumen::strictInt32(words[1]);
    if (first < 0 || last < first)
        malformed(QStringLiteral("$DATA range %1 to %2").arg(first).arg(last));
    if (last >= ChannelStore::kCapacity) {
        result.messages << QStringLiteral("<SpcRec1.NumChan> Spectra size greater than 16384...");
        malformed(QStringLiteral("more channels than the store holds"));
    }
    const int wanted = last - first + 1;
    if (words.size() - 2 < wanted)
        malformed(QStringLiteral("the data holds %1 of the %2 channels declared")
                      .arg(words.size() - 2)
                      .arg(wanted));
    if (words.size() - 2 > wanted)
        result.warnings << QStringLiteral("%1 values after the last channel ignored")
                               .arg(words.size() - 2 - wanted);
    for (int i = 0; i <= last; ++i) {
        if (pump && i % kPumpEvery == 0)
            pump();
        store.set(i, i < first ? 0 : lumen::strictInt32(words[2 + i - first]));
    }
    result.boxes[box::NumChan] = QString::number(last + 1);
}

// $MCA_CAL: the number of coefficients, then the coefficients and a unit.
void readCalibration(const QStringList &lines, IncomingSpectrum &result)
{
    const QStringList words = wordsOf(lines);
    if (words.isEmpty())
        return;
    const int count = int(numberOf(words[0], "the $MCA_CAL coefficient count"));
    if (count < 0 || words.size() < 1 + count)
        malformed(QStringLiteral("$MCA_CAL names %1 coefficients").arg(words[0]));
    const QString unit = words.value(1 + count);
    if (!unit.isEmpty() && unit.compare(u"keV", Qt::CaseInsensitive) != 0)
        result.warnings
            << QStringLiteral("the calibration is in %1, the ANS file takes keV").arg(unit);
    spectrumtext::putCoefficients(words.mid(1, count), result.boxes, result.warnings);
}

void readFit(const QStringList &lines, IncomingSpectrum &result)
{
    const QStringList words = wordsOf(lines);
    if (words.size() < 2)
        return;
    result.boxes[box::C0] = lumen::shortSingleText(float(numberOf(words[0], "$ENER_FIT")));
    result.boxes[box::C1] = lumen::shortSingleText(float(numberOf(words[1], "$ENER_FIT")));
    result.boxes[box::C2] = QStringLiteral("0");
    result.boxes[box::C3] = QStringLiteral("0");
}

void readDate(const QStringList &lines, IncomingSpectrum &result)
{
    const QStringList words = wordsOf(lines);
    if (words.isEmpty())
        return;
    const std::optional<QDate> date = lumen::parseDate(words[0]);
    const std::optional<QTime> time = lumen::parseTime(words.value(1, QStringLiteral("00:00:00")));
    if (!date || !time) {
        // Shown as it stands; the converted fields then say it cannot be read.
        result.boxes[box::AcqDate] = words[0];
        result.boxes[box::AcqTime] = words.value(1);
        return;
    }
    result.boxes[box::AcqDate] = lumen::formatDateTime(QDateTime(*date, *time), u"DD-MMM-YYYY");
    result.boxes[box::AcqTime] = lumen::formatDateTime(QDateTime(*date, *time), u"HH:MM:SS");
}

} // namespace

IncomingSpectrum SpeReader::readFile(const QString &path, ChannelStore &store,
                                     const std::function<void()> &pump)
{
    return SpectrumFile::readWith(
        path, [&](QByteArrayView bytes) { return read(bytes, path, store, pump); });
}

IncomingSpectrum SpeReader::read(QByteArrayView bytes, const QString &path, ChannelStore &store,
                                 const std::function<void()> &pump)
{
    IncomingSpectrum result;
    try {
        // 16384 counts take well under a megabyte of text; a larger file is no
        // single SPE spectrum and would only cost memory word by word.
        if (bytes.size() > kMostBytes)
            malformed(
                QStringLiteral("larger than %1 bytes, no single SPE spectrum").arg(kMostBytes));
        if (bytes.contains('\0'))
            malformed(QStringLiteral("a binary file, not SPE text"));
        const auto sections = sectionsOf(lumen::fromCp1252(bytes));
        QMap<QString, QStringList> byName;
        for (const auto &[name, lines] : sections) {
            if (byName.contains(name))
                result.warnings << QStringLiteral("a second $%1 section ignored").arg(name);
            else
                byName.insert(name, lines);
        }
        if (!byName.contains(QStringLiteral("DATA")))
            malformed(QStringLiteral("no $DATA section"));

        result.boxes[box::SpcID] = firstLine(byName.value(QStringLiteral("SPEC_ID")));
        const QStringList remarks = byName.value(QStringLiteral("SPEC_REM"));
        result.boxes[box::SpcID_line2] = firstLine(remarks);
        if (wordsOf(remarks).size() > wordsOf({result.boxes[box::SpcID_line2]}).size())
            result.warnings << QStringLiteral("remarks beyond the first line are not carried");
        readDate(byName.value(QStringLiteral("DATE_MEA")), result);
        const QStringList times = wordsOf(byName.value(QStringLiteral("MEAS_TIM")));
        if (!times.isEmpty()) {
            result.boxes[box::LiveTime] = lumen::shortDoubleText(numberOf(times[0], "live time"));
            result.boxes[box::RealTime] =
                lumen::shortDoubleText(numberOf(times.value(1, times[0]), "real time"));
        }
        if (byName.contains(QStringLiteral("MCA_CAL")))
            readCalibration(byName.value(QStringLiteral("MCA_CAL")), result);
        else if (byName.contains(QStringLiteral("ENER_FIT")))
            readFit(byName.value(QStringLiteral("ENER_FIT")), result);
        readCounts(byName.value(QStringLiteral("DATA")), store, result, pump);
        result.boxes[box::fType] = QStringLiteral("Integer");

        static const QStringList kCarried = {QStringLiteral("SPEC_ID"),  QStringLiteral("SPEC_REM"),
                                             QStringLiteral("DATE_MEA"), QStringLiteral("MEAS_TIM"),
                                             QStringLiteral("DATA"),     QStringLiteral("MCA_CAL"),
                                             QStringLiteral("ENER_FIT"), QStringLiteral("END")};
        QStringList dropped;
        for (const QString &name : byName.keys()) {
            if (!kCarried.contains(name) && !byName.value(name).join(QString()).isEmpty())
                dropped << u'$' + name;
        }
        if (!dropped.isEmpty())
            result.warnings << QStringLiteral("not carried into the ANS file: ") +
                                   dropped.join(QStringLiteral(", "));
        result.loaded = true;
    } catch (const lumen::Failure &failure) {
        result.messages << QStringLiteral("Error reading ") + path + QStringLiteral(": ") +
                               failure.description();
    }
    return result;
}

} // namespace lumen
