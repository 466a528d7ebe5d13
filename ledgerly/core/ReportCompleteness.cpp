#include "ledgerly/core/ReportCompleteness.h"

#include "common/core/Cp1252.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>

namespace lumen::ledgerly {

namespace {

ReportCompleteness::Pause &installedPause()
{
    static ReportCompleteness::Pause pause;
    return pause;
}

} // namespace

QString ReportCompleteness::missingFrom(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QStringLiteral("it is empty");
    const QString text = lumen::fromCp1252(bytes);
    // The section's title, then its column line: a report cut between the two
    // has not reached the peak rows yet.
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    bool closing = false;
    for (qsizetype i = 0; i + 1 < lines.size() && !closing; ++i)
        closing = lines.at(i).trimmed() == u"PEAK SEARCH RESULTS" &&
                  lines.at(i + 1).trimmed().startsWith(u"Pk");
    if (!closing)
        return QStringLiteral("it lacks its closing section (PEAK SEARCH RESULTS and its "
                              "column line)");
    const char last = bytes.back();
    if (last != '\n' && last != '\r')
        return QStringLiteral("its last line has no line end (cut short)");
    return QString();
}

bool ReportCompleteness::hasSettled(const QString &path, qint64 *settledSize)
{
    QFileInfo info(path);
    const qint64 size = info.size();
    const QDateTime time = info.lastModified();
    if (installedPause())
        installedPause()(path);
    else
        QThread::msleep(kSettleMs);
    info.refresh();
    *settledSize = info.size();
    return info.size() == size && info.lastModified() == time;
}

void ReportCompleteness::setPause(Pause pause)
{
    installedPause() = std::move(pause);
}

} // namespace lumen::ledgerly
