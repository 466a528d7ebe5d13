#include "sequa/core/files/DataFiles.h"

#include "common/core/Clock.h"
#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/Paths.h"
#include "hostlink/HostApp.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/files/LineWriter.h"
#include "sequa/core/files/LocalFiles.h"
#include "sequa/core/files/RoiDataRecord.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace lumen::sequa {

const QString DataFiles::kRoiDumpFileName = QStringLiteral("LroiDat.txt");
const QString DataFiles::kChannelFileName = QStringLiteral("LchanDat.txt");
const QString DataFiles::kRoiLogHeader =
    QStringLiteral("ROI           TOD           ID            Energy        Gross         Net");

DataFiles::DataFiles(MainModel &model) : m_model(model) {}

QString DataFiles::pathOf(const QString &name) const
{
    return LocalFiles::resolve(m_model.programFolder(), name);
}

QString DataFiles::roiLogFileName(const QDate &day)
{
    return QStringLiteral("ROI_Data_") + formatDate(day, u"yymmdd") + QStringLiteral(".txt");
}

void DataFiles::LogRoiData(std::int16_t count)
{
    // The date is read once, so a call that runs over midnight stays in one file.
    const QDate today = currentClock().today();
    const QString path = pathOf(roiLogFileName(today));
    const QFileInfo info(path);
    const qint64 length = info.exists() ? info.size() : 0;

    LineWriter log(path, LineWriter::Mode::Append);
    if (length == 0) {
        log.writeLine(formatDate(today, u"MM-DD-YYYY"));
        log.writeLine(QString());
        log.writeLine(kRoiLogHeader);
        log.writeLine(QString());
    }
    HostApp &host = m_model.hostAppObject();
    for (int i = 1; i <= count; ++i) {
        const auto roi = static_cast<std::int16_t>(i);
        const QString timeOfDay = formatTime(currentClock().now().time(), u"HH:MM:SS");
        const QString nuclide = RoiDataRecord::fetch(host, roi, QStringLiteral("NUCLIDE"));
        const QString centroid = RoiDataRecord::fetch(host, roi, QStringLiteral("CENTROID"));
        const QString gross = RoiDataRecord::fetch(host, roi, QStringLiteral("GROSS"));
        const QString net = RoiDataRecord::fetch(host, roi, QStringLiteral("NET"));
        QString row;
        for (const QString &field : {numberToText(i), timeOfDay, nuclide, centroid, gross, net})
            row += fixedWidth(field, kLogColumnWidth);
        log.writeLine(row);
    }
    log.writeLine(QString());
    log.close();
}

void DataFiles::DumpRoiData(std::int16_t roi)
{
    LineWriter dump(pathOf(kRoiDumpFileName), LineWriter::Mode::Replace);
    dump.writeLine(QStringLiteral("Data for ROI #:") + numberToText(roi));
    dump.writeLine(QString());
    HostApp &host = m_model.hostAppObject();
    for (const RoiDataRecord::Field &field : RoiDataRecord::fields()) {
        const QString value = RoiDataRecord::fetch(host, roi, QString::fromLatin1(field.key));
        dump.writeLine(QString::fromLatin1(field.label) + value);
    }
    dump.close();
}

void DataFiles::DumpChannelCounts()
{
    HostApp &host = m_model.hostAppObject();
    const std::int16_t channels = toInt16(host.NumberOfCounts());
    if (channels > kMaxChannels)
        throw Failure(QStringLiteral("Subscript out of range: the host reports %1 channels, at "
                                     "most %2 are handled")
                          .arg(channels)
                          .arg(kMaxChannels));

    std::vector<std::int32_t> counts(kMaxChannels, 0);
    host.GetCounts(counts);
    std::int32_t maximum = 0;
    for (int i = 0; i < channels; ++i)
        maximum = std::max(maximum, counts[std::size_t(i)]);

    LineWriter file(pathOf(kChannelFileName), LineWriter::Mode::Replace);
    // Written in blocks: one write per line made the file cost most of the command.
    constexpr int kLinesPerBlock = 1024;
    QStringList block;
    block.reserve(kLinesPerBlock);
    for (int i = 0; i < channels; ++i) {
        block.append(numberToText(i) + QLatin1Char(' ') + numberToText(counts[std::size_t(i)]));
        if (block.size() == kLinesPerBlock || i == channels - 1) {
            file.writeLines(block);
            block.clear();
        }
    }
    file.close();
    m_model.setStatusText(QStringLiteral("Maximum count is ") + QString::number(maximum));
}

QString DataFiles::completeDeadTimeName(const QString &name, const QString &folder)
{
    QString full = LocalFiles::hasFolder(name) ? name : joinPath(folder, name);
    // Only the last four characters are searched, so a longer extension is not seen.
    const QString tail = full.right(4);
    const qsizetype dotInTail = tail.indexOf(u'.');
    QString base = full;
    QString extension = QStringLiteral("txt");
    if (dotInTail >= 0) {
        const qsizetype dot = full.size() - tail.size() + dotInTail;
        base = full.left(dot);
        extension = full.mid(dot + 1);
    }
    return trimBlanks(base) + QLatin1Char('.') + extension;
}

void DataFiles::SaveDeadTime(QString &name)
{
    name = completeDeadTimeName(name, m_model.programFolder());
    const double deadTime = m_model.hostAppObject().GetDeadtime();
    LineWriter file(LocalFiles::nativeName(trimBlanks(name)), LineWriter::Mode::Replace);
    file.writeLine(printDoubleText(deadTime));
    file.close();
}

} // namespace lumen::sequa
