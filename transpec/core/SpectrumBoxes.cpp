#include "transpec/core/SpectrumBoxes.h"

#include "common/core/DateText.h"
#include "common/core/NumberText.h"
#include "transpec/core/BoxNames.h"

namespace lumen::transpec {

namespace {
// The window shows a moment as the clock showed it where it runs.
QDateTime local(const QDateTime &moment)
{
    return moment.timeSpec() == Qt::LocalTime ? moment : moment.toLocalTime();
}

void putMoment(const std::optional<QDateTime> &moment, const QString &dateBox,
               const QString &timeBox, QMap<QString, QString> &boxes)
{
    if (!moment)
        return;
    boxes[dateBox] = lumen::formatDateTime(local(*moment), u"DD-MMM-YYYY");
    boxes[timeBox] = lumen::formatDateTime(local(*moment), u"HH:MM:SS");
}
} // namespace

QMap<QString, QString> SpectrumBoxes::of(const Spectrum &spectrum)
{
    QMap<QString, QString> boxes;
    boxes[box::fType] = spectrum.countKind;
    boxes[box::NumChan] = QString::number(spectrum.channelCount());
    boxes[box::SpcID] = spectrum.descriptions.value(0);
    boxes[box::SpcID_line2] = spectrum.descriptions.value(1);
    if (spectrum.liveSeconds)
        boxes[box::LiveTime] = lumen::shortDoubleText(*spectrum.liveSeconds);
    if (spectrum.realSeconds)
        boxes[box::RealTime] = lumen::shortDoubleText(*spectrum.realSeconds);
    putMoment(spectrum.start, box::AcqDate, box::AcqTime, boxes);
    putMoment(spectrum.sampleTaken, box::SpcSamDate, box::SpcSamTime, boxes);
    if (spectrum.sampleSize)
        boxes[box::SizTxt] = lumen::shortSingleText(float(*spectrum.sampleSize));
    boxes[box::UnitsTxt] = spectrum.sampleUnit;
    if (!spectrum.coefficients.empty()) {
        const QString *names[] = {&box::C0, &box::C1, &box::C2, &box::C3};
        for (std::size_t i = 0; i < 4; ++i) {
            const double c = i < spectrum.coefficients.size() ? spectrum.coefficients[i] : 0.0;
            boxes[*names[i]] = lumen::shortSingleText(float(c));
        }
    }
    return boxes;
}

} // namespace lumen::transpec
