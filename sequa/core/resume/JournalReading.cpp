#include "sequa/core/resume/JournalReading.h"

#include "common/core/Cp1252.h"
#include "common/core/OutsideFile.h"
#include "sequa/core/resume/FailedPasses.h"

#include <QRegularExpression>

namespace lumen::sequa {

namespace {

/** The text of an entry without its "HH:MM:SS " time; empty when the line has no time. */
QString entryText(const QString &line)
{
    static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d "));
    return time.match(line).hasMatch() ? line.mid(9) : QString();
}

bool takeField(const QString &entry, const QString &name, QString &field)
{
    if (!entry.startsWith(name))
        return false;
    field = entry.mid(name.size());
    return true;
}

} // namespace

JournalReading JournalReading::parse(const QByteArray &bytes)
{
    JournalReading reading;
    QStringList lines = fromCp1252(bytes).split(QStringLiteral("\r\n"));
    // The part after the last line end is a torn entry, or nothing.
    lines.removeLast();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString entry = entryText(lines[i]);
        if (i == 0) {
            if (entry.startsWith(QStringLiteral("Run started ")))
                reading.kind = Kind::Run;
            else if (entry.startsWith(QStringLiteral("Run refused ")))
                reading.kind = Kind::Refused;
            else
                return reading;
            continue;
        }
        QString field;
        if (entry.startsWith(JournalCheckpoint::kEntry)) {
            if (const auto checkpoint = JournalCheckpoint::parse(entry)) {
                reading.checkpoint = checkpoint;
                reading.badCheckpoint.clear();
            } else {
                reading.badCheckpoint = entry;
            }
        } else if (takeField(entry, QStringLiteral("Exit status: "), field)) {
            bool ok = false;
            const int status = field.toInt(&ok);
            if (ok)
                reading.exitStatus = status;
        } else if (reading.script.isNull() && takeField(entry, QStringLiteral("Script: "), field)) {
            reading.script = field;
        } else if (reading.sha256.isNull() &&
                   takeField(entry, QStringLiteral("SHA-256: "), field)) {
            reading.sha256 = field;
        } else if (reading.resumes.isNull() &&
                   takeField(entry, QStringLiteral("Resumes: "), field)) {
            reading.resumes = field;
        } else if (reading.chain.isNull() && takeField(entry, QStringLiteral("Chain: "), field)) {
            reading.chain = field;
        } else if (takeField(entry, QStringLiteral("Continued by: "), field)) {
            reading.resumedBy = field;
        } else if (takeField(entry, QStringLiteral("Outcome: "), field)) {
            reading.outcome = field;
        } else if (takeField(entry, QStringLiteral("Quality gate: "), field)) {
            reading.qualityGate = field;
        } else if (entry.startsWith(FailedPasses::kPassEntry) ||
                   entry.startsWith(FailedPasses::kLineEntry)) {
            if (!reading.failures.contains(entry))
                reading.failures << entry;
        } else if (entry.startsWith(FailedPasses::kRedoHead)) {
            reading.redo = true;
        } else if (takeField(entry, FailedPasses::kRedoEntry, field)) {
            reading.redoPasses << field;
        }
    }
    return reading;
}

JournalReading JournalReading::read(const QString &path)
{
    return parse(outsidefile::read(path, kCap));
}

} // namespace lumen::sequa
