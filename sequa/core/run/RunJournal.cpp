#include "sequa/core/run/RunJournal.h"

#include "common/core/Clock.h"
#include "common/core/Cp1252.h"
#include "common/core/Failure.h"
#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "common/core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace lumen::sequa {

namespace {
constexpr int kMaxNamesPerSecond = 999;
constexpr int kStemLength = 17; // "YYYY-MM-DD_HHMMSS"

/**
 * Control characters as "\xNN": a NUL or a line end in a script's name or
 * line must never split an entry, nor forge one ("Exit status: 0").
 */
QString oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f)
            line += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

/** "HH:MM:SS text" by the clock, as one CR LF line of Windows-1252. */
QByteArray entryBytes(const QString &text)
{
    const QString time = currentClock().now().toString(QStringLiteral("HH:mm:ss"));
    return toCp1252(time + QLatin1Char(' ') + oneLine(text) + QStringLiteral("\r\n"));
}
/** The last journal name of the folder in name order ("" for none). */
QString newestJournalName(const QString &folder)
{
    static const QRegularExpression journalName(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d{6}([-_]\\d+)?\\.txt$"));
    QString newest;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files))
        if (journalName.match(name).hasMatch() && name > newest)
            newest = name;
    return newest;
}
} // namespace

RunJournal::RunJournal(const QString &programFolder, const QDateTime &started)
{
    const QString folder = joinPath(programFolder, kFolderName);
    // The system's reason, not a later open's "No such file or directory",
    // tells a read-only or mistyped program folder apart.
    makeFolder(folder);
    // Names sort in the order runs began, whatever the clock: a simulated
    // host's clock starts again at its set time in every process.
    const QString newest = newestJournalName(folder);
    const QString stem =
        std::max(started.toString(QStringLiteral("yyyy-MM-dd_HHmmss")), newest.left(kStemLength));
    QString lastError;
    for (int n = 1; n <= kMaxNamesPerSecond; ++n) {
        const QString name =
            stem + (n == 1 ? QString() : QStringLiteral("_%1").arg(n, 3, 10, QChar(u'0'))) +
            QStringLiteral(".txt");
        if (name <= newest)
            continue;
        QFile file(joinPath(folder, name));
        // NewOnly: two runs starting in one second, even in two processes, get two names.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_path = file.fileName();
            m_lock = std::make_unique<JournalLock>(m_path);
            return;
        }
        lastError = file.errorString();
        if (!file.exists())
            break;
    }
    throw Failure(QStringLiteral("Cannot create a journal in %1: %2").arg(folder, lastError));
}

void RunJournal::writeRefusal(const QString &programFolder, const QString &script,
                              const QString &reason, int exitStatus)
{
    try {
        const QDateTime now = currentClock().now();
        RunJournal journal(programFolder, now);
        journal.write(QStringLiteral("Run refused ") +
                      now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        journal.write(QStringLiteral("Script: ") + script);
        journal.write(QStringLiteral("Outcome: nothing was played: ") + reason);
        journal.write(QStringLiteral("Exit status: ") + QString::number(exitStatus));
    } catch (const Failure &failure) {
        standardError() << "Sequa: no journal: " << failure.description() << Qt::endl;
    }
}

void RunJournal::appendTo(const QString &path, const QString &text)
{
    QByteArray bytes = entryBytes(text);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.size() > 0 && file.seek(file.size() - 1) &&
        file.read(1) != "\n")
        bytes.prepend("\r\n");
    file.close();
    safefile::append(path, bytes);
}

void RunJournal::write(const QString &text)
{
    write(QStringList{text});
}

void RunJournal::write(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &text : texts)
        bytes += entryBytes(text);
    try {
        safefile::append(m_path, bytes);
    } catch (const Failure &failure) {
        if (!m_broken)
            standardError() << "Sequa: the run journal cannot be written: " << failure.description()
                            << Qt::endl;
        m_broken = true;
    }
}

} // namespace lumen::sequa
