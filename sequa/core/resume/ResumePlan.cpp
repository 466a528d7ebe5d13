#include "sequa/core/resume/ResumePlan.h"

#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"
#include "sequa/core/resume/FailedPasses.h"
#include "sequa/core/resume/JournalReading.h"
#include "sequa/core/run/JournalLock.h"
#include "sequa/core/run/RunRecord.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace lumen::sequa {

namespace {

[[noreturn]] void refuse(const QString &journal, const QString &why)
{
    throw Failure(QStringLiteral("cannot resume %1: %2").arg(journal, why));
}

/** A redo that was cut short plays its passes again; any other run must have ended with 3. */
bool redoCutShort(const JournalReading &reading)
{
    return reading.redo && reading.exitStatus != RunRecord::kCompleted &&
           reading.exitStatus != RunRecord::kLinesFailed;
}

void refuseRedo(const JournalReading &reading, const QString &journal)
{
    if (redoCutShort(reading) || reading.exitStatus == RunRecord::kLinesFailed)
        return;
    refuse(journal, QStringLiteral("--redo-failed plays again the failed passes of a run that "
                                   "ended with status 3, and its run %1")
                        .arg(reading.exitStatus
                                 ? QStringLiteral("ended with status %1").arg(*reading.exitStatus)
                                 : QStringLiteral("did not end")));
}

void takeFailedPasses(ResumePlan &plan, const JournalReading &reading, const QString &journal)
{
    QStringList passes = redoCutShort(reading) ? reading.redoPasses : QStringList();
    for (const QString &entry : reading.failures) {
        if (entry.startsWith(FailedPasses::kLineEntry))
            plan.carried << entry;
        else if (!redoCutShort(reading))
            passes << entry.mid(FailedPasses::kPassEntry.size());
    }
    for (const QString &pass : passes) {
        const auto start = JournalCheckpoint::parse(JournalCheckpoint::kEntry + pass);
        if (!start || start->loops.isEmpty())
            refuse(journal, QStringLiteral("its failed pass cannot be read: ") + pass);
        plan.passes << *start;
    }
    if (plan.passes.isEmpty())
        refuse(journal, plan.carried.isEmpty()
                            ? QStringLiteral("it names no failed pass to play again")
                            : QStringLiteral("its failed lines are outside any loop, in no pass "
                                             "to play again"));
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo left(a);
    const QFileInfo right(b);
    const QString l = left.canonicalFilePath();
    return !l.isEmpty() ? l == right.canonicalFilePath()
                        : left.absoluteFilePath() == right.absoluteFilePath();
}

} // namespace

QString ResumePlan::resumedBy(const QString &journal, const QString &journalFolder)
{
    const QDir folder(journalFolder);
    for (const QFileInfo &other : folder.entryInfoList({QStringLiteral("*.txt")}, QDir::Files)) {
        if (sameFile(other.filePath(), journal))
            continue;
        try {
            const JournalReading reading = JournalReading::read(other.filePath());
            if (reading.kind == JournalReading::Kind::Run && !reading.resumes.isEmpty() &&
                sameFile(reading.resumes, journal))
                return other.absoluteFilePath();
        } catch (const Failure &) {
            // A journal nobody can read resumed nothing this run can know of.
        }
    }
    return QString();
}

ResumePlan ResumePlan::prepare(const QString &journalPath, const QString &journalFolder,
                               bool redoFailed)
{
    JournalReading reading;
    try {
        reading = JournalReading::read(journalPath);
    } catch (const Failure &failure) {
        refuse(journalPath, failure.description());
    }
    // A refused run's journal names no SHA-256: it is still a run's journal.
    if (reading.kind == JournalReading::Kind::Refused ||
        (reading.kind == JournalReading::Kind::Run && reading.exitStatus == RunRecord::kNotPlayed))
        refuse(journalPath,
               QStringLiteral("its run was refused and played nothing; play the script itself"));
    if (reading.kind == JournalReading::Kind::NoJournal || reading.script.isEmpty() ||
        reading.sha256.isEmpty())
        refuse(journalPath, QStringLiteral("it is no journal of a Sequa run"));
    if (redoFailed)
        refuseRedo(reading, journalPath);
    else if (reading.exitStatus == RunRecord::kCompleted ||
             reading.exitStatus == RunRecord::kLinesFailed)
        refuse(journalPath, QStringLiteral("its run played to the end of the script (status %1)")
                                .arg(*reading.exitStatus));
    else if (reading.redo)
        refuse(journalPath, QStringLiteral("its run played failed passes again; give it to "
                                           "--redo-failed"));
    if (!reading.badCheckpoint.isEmpty())
        refuse(journalPath,
               QStringLiteral("its last checkpoint cannot be read: ") + reading.badCheckpoint);
    // Two runs of one night would both drive the host.
    if (!reading.exitStatus && JournalLock::held(journalPath))
        refuse(journalPath, QStringLiteral("its run is still playing"));
    if (!reading.resumedBy.isEmpty())
        refuse(journalPath, QStringLiteral("it was resumed already by ") + reading.resumedBy);
    if (const QString other = resumedBy(journalPath, journalFolder); !other.isEmpty())
        refuse(journalPath, QStringLiteral("it was resumed already by ") + other);
    if (reading.script.startsWith(u'('))
        refuse(journalPath, QStringLiteral("its run played the script box, which is no file"));

    ResumePlan plan;
    plan.journal = QFileInfo(journalPath).absoluteFilePath();
    plan.chainFirst = reading.chain.isEmpty() ? plan.journal : reading.chain;
    plan.script = reading.script;
    plan.checkpoint = reading.checkpoint;
    plan.qualityGate = reading.qualityGate;
    if (reading.exitStatus == RunRecord::kQualityStop)
        plan.gateStop = reading.outcome;
    if (redoFailed)
        takeFailedPasses(plan, reading, journalPath);
    else
        plan.carried = reading.failures;
    try {
        // Read as an unattended start reads it, so the hash compares like with like.
        plan.scriptBytes = outsidefile::read(plan.script, outsidefile::kTextCap);
    } catch (const Failure &failure) {
        refuse(journalPath, QStringLiteral("its script cannot be read: ") + failure.description());
    }
    const QString sha = QString::fromLatin1(
        QCryptographicHash::hash(plan.scriptBytes, QCryptographicHash::Sha256).toHex());
    if (sha != reading.sha256)
        refuse(journalPath, QStringLiteral("the script %1 changed since the run (SHA-256 %2, "
                                           "the journal says %3)")
                                .arg(plan.script, sha, reading.sha256));
    return plan;
}

} // namespace lumen::sequa
