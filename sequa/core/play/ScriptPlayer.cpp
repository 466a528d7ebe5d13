#include "sequa/core/play/ScriptPlayer.h"

#include "common/core/Clock.h"
#include "common/core/Cp1252.h"
#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "common/core/TextFile.h"
#include "sequa/core/HostSettings.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandRunner.h"
#include "sequa/core/play/JournalOperator.h"
#include "sequa/core/play/RunFiles.h"
#include "sequa/core/resume/ScriptLoops.h"
#include "sequa/core/run/PlayFileReader.h"
#include "sequa/core/run/QualityGate.h"
#include "sequa/core/run/ResumeClaim.h"
#include "sequa/core/run/RunJournal.h"
#include "sequa/core/run/RunPause.h"
#include "sequa/core/run/ScriptLines.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <exception>
#include <limits>
#include <optional>

namespace lumen::sequa {

namespace {

/**
 * The lines, by number, whose text the Windows-1252 play file would change,
 * with their characters and code points: the journal, being Windows-1252
 * itself, keeps only the code points readable.
 */
QHash<qint16, QString> linesOutsideCodePage(const QString &script)
{
    QHash<qint16, QString> outside;
    const QStringList lines = textfile::splitLines(script);
    const qsizetype count = std::min<qsizetype>(lines.size(), std::numeric_limits<qint16>::max());
    for (qsizetype i = 0; i < count; ++i) {
        const QString characters = outsideCp1252(lines[i]);
        if (characters.isEmpty())
            continue;
        QStringList points;
        for (const char32_t c : characters.toUcs4())
            points.append(QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper());
        outside.insert(static_cast<qint16>(i + 1),
                       QStringLiteral("\"%1\" (%2)").arg(characters, points.join(u' ')));
    }
    return outside;
}

const QString kLoopsLeftOpen = QStringLiteral("Loopbeg without LoopEnd");

/**
 * The script's lines as the player reads them from the play file; the line
 * end the player adds after the script makes no line of its own.
 */
int countScriptLines(const QString &playFile)
{
    PlayFileReader reader;
    reader.open(playFile);
    int lines = 0;
    QString last;
    while (!reader.atEnd()) {
        last = reader.readLine();
        ++lines;
    }
    return lines > 0 && last.isEmpty() ? lines - 1 : lines;
}

/** The pass of every open loop, from the outermost in. */
QList<RunProgress::Loop> openLoops(MainModel &model)
{
    QList<RunProgress::Loop> loops;
    // An eleventh LoopBeg leaves the depth past the slots; it opened no loop.
    const int depth = std::min<int>(model.loopDepth(), MainModel::kLoopSlots);
    for (int d = 1; d <= depth; ++d)
        loops.append(
            {std::max<int>(model.loopCounter(d), 1), std::max<int>(model.loopPasses(d), 1)});
    return loops;
}

} // namespace

ScriptPlayer::ScriptPlayer(MainModel &model, CommandRunner &runner)
    : m_model(model), m_runner(runner)
{
}

ScriptPlayer::~ScriptPlayer()
{
    // A run left by an exception no failure handler takes must not leave the
    // model pointing at this player's journal.
    if (m_journal)
        m_model.runRecord().setJournal(nullptr);
}

void ScriptPlayer::setSource(const QString &path, const QByteArray &bytes)
{
    m_sourcePath = QFileInfo(path).absoluteFilePath();
    m_sourceBytes = bytes;
    m_hasSource = true;
}

void ScriptPlayer::openJournal(const QString &script)
{
    try {
        m_journal = std::make_unique<RunJournal>(m_model.programFolder(), currentClock().now());
    } catch (const Failure &failure) {
        m_journalFailure = failure.description();
        return;
    }
    m_model.runRecord().setJournal(m_journal.get());
    const QByteArray bytes = m_hasSource ? m_sourceBytes : toCp1252(script);
    m_journal->write(QStringLiteral("Run started ") +
                     currentClock().now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                     (m_model.runRecord().unattended() ? QStringLiteral(", unattended")
                                                       : QStringLiteral(", in the window")));
    m_journal->write(QStringLiteral("Script: ") +
                     (m_hasSource ? m_sourcePath : QStringLiteral("(the script box)")));
    m_journal->write(
        QStringLiteral("SHA-256: ") +
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    m_journal->write(ResumeClaim::kIdEntry + ResumeClaim::newIdentity());
    try {
        // Before the resumed journal is marked: a refused run continued nothing.
        m_hold.take(m_model, m_journal->path(), m_resume ? m_resume->journal : QString());
    } catch (const Failure &failure) {
        m_refusal = failure.description();
        return;
    }
    writeGateEntry();
    writeResumeEntries();
    m_journal->write(QStringLiteral("Host: ") + HostSettings::describe());
}

void ScriptPlayer::writeGateEntry()
{
    try {
        // A resume of the run keeps the gate it played under.
        if (const QualityGate gate = QualityGate::fromEnvironment(); gate.isSet())
            m_journal->write(QStringLiteral("Quality gate: ") + gate.text());
    } catch (const Failure &) {
        // An unattended start refuses an unreadable gate; in the window none is used.
    }
}

void ScriptPlayer::writeResumeEntries()
{
    if (!m_resume)
        return;
    m_journal->setChainFirst(m_resume->chainFirst);
    m_journal->write(QStringLiteral("Resumes: ") + m_resume->journal);
    m_journal->write(QStringLiteral("Chain: ") + m_resume->chainFirst);
    try {
        RunJournal::appendTo(m_resume->journal,
                             QStringLiteral("Continued by: ") + m_journal->path());
    } catch (const Failure &failure) {
        // The new journal's "Resumes:" entry still tells a second resume apart.
        m_journal->write(QStringLiteral("Cannot mark the journal resumed: ") +
                         failure.description());
    }
    if (!m_resume->gateStop.isEmpty())
        m_journal->write(QStringLiteral("Resumes a run stopped by the quality gate: ") +
                         m_resume->gateStop);
    // The failures of the runs before stay named, for a later --redo-failed.
    if (!m_resume->carried.isEmpty())
        m_journal->write(m_resume->carried);
    for (const QString &entry : m_resume->carried)
        m_failedPasses.carry(entry);
    if (m_resume->redo()) {
        QStringList passes{FailedPasses::kRedoHead + m_resume->journal};
        for (const JournalCheckpoint &pass : m_resume->passes)
            passes << FailedPasses::kRedoEntry + pass.text().mid(JournalCheckpoint::kEntry.size());
        m_journal->write(passes);
        return;
    }
    if (!m_resume->checkpoint) {
        m_journal->write(QStringLiteral("Continues at line 1: the run completed no line"));
        return;
    }
    m_journal->write(QStringLiteral("Continues at ") + EntryPhase::describe(*m_resume->checkpoint));
    // Until the run is back where it was, the checkpoint it continues stays
    // the last one: a kill meanwhile resumes from there again.
    m_journal->write(m_resume->checkpoint->text());
}

QStringList ScriptPlayer::checkpointAfterLine()
{
    // A line cut short (No Connection, a stop) is not done: a resume plays it again.
    if (m_entry.active() || m_model.runRecord().stopRequested() ||
        m_model.statusText() == kNoConnection)
        return {};
    return {JournalCheckpoint::of(m_model).text()};
}

void ScriptPlayer::closeJournal(const QString &outcome)
{
    if (!m_journal)
        return;
    m_journal->write(QStringLiteral("Outcome: ") + outcome);
    m_journal->write(QStringLiteral("Exit status: ") + QString::number(m_exitStatus));
    m_journal->write(QStringLiteral("Run ended ") +
                     currentClock().now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    m_model.runRecord().setJournal(nullptr);
    m_journalPath = m_journal->path();
    m_journal.reset();
    m_hold.release();
}

bool ScriptPlayer::isCommandLine(const QString &line)
{
    return scriptlines::isCommand(line);
}

bool ScriptPlayer::PlayScript(const QString &script)
{
    QString runLogPath;
    bool failed = true;
    m_model.setPlayFile(QString());
    RunRecord &record = m_model.runRecord();
    record.reset();
    m_failedPasses = FailedPasses();
    m_refusal.clear();
    // Runs killed outright left their files; no run of theirs will remove them.
    for (const QString &prefix : {kPlayFilePrefix, kRunLogPrefix}) {
        RunFiles::sweep(QDir::tempPath(), prefix);
        RunFiles::sweep(m_model.programFolder(), prefix);
    }
    openJournal(script);
    if (!m_journal) {
        // A run nobody could later account for is not played at all.
        standardError() << "Sequa: nothing was played: " << m_journalFailure << Qt::endl;
        currentOperator().messageBox(QStringLiteral("Error: ") + m_journalFailure, kProgramTitle,
                                     MessageButtons::Ok);
        m_exitStatus = RunRecord::kNotPlayed;
        return true;
    }
    if (m_refusal.isEmpty() && m_journal->broken())
        m_refusal = QStringLiteral("the run journal cannot be written");
    if (!m_refusal.isEmpty()) {
        m_journal->write(QStringLiteral("Error: ") + m_refusal);
        if (!record.unattended())
            currentOperator().messageBox(QStringLiteral("Error: ") + m_refusal, kProgramTitle,
                                         MessageButtons::Ok);
        m_exitStatus = RunRecord::kNotPlayed;
        closeJournal(QStringLiteral("nothing was played"));
        return true;
    }
    std::optional<JournalOperator> journalled;
    if (m_journal)
        journalled.emplace(*m_journal, &record);
    try {
        m_model.setPlayFile(RunFiles::create(
            kPlayFilePrefix, toCp1252(script + QStringLiteral("\r\n")), m_model.programFolder()));
        runLogPath = RunFiles::create(kRunLogPrefix, QByteArray(), m_model.programFolder());
        m_model.openRunLog(runLogPath);
        m_model.setCurrentLine(0);
        m_model.setLoopDepth(0);
        m_model.setPlaying(true);
        m_model.runProgress().runStarted(countScriptLines(m_model.playFile()));
        m_model.playFileReader().open(m_model.playFile());
        m_entry = m_resume && m_resume->checkpoint
                      ? EntryPhase(*m_resume->checkpoint, m_resume->carried)
                      : EntryPhase();
        m_runner.setLinesOutsideCodePage(linesOutsideCodePage(script));
        failed = m_resume && m_resume->redo() ? playFailedPasses() : playLines();
    } catch (const std::exception &error) {
        // A run that cannot go on (its files gone, the line count overflowing)
        // is told to the operator and counts as failed, never as success.
        const auto *failure = dynamic_cast<const Failure *>(&error);
        const QString description =
            failure ? failure->description() : QString::fromLocal8Bit(error.what());
        m_model.writeRunLogLine(QStringLiteral("ERROR:   ") + description);
        const bool played = m_model.currentLine() > 0;
        closeOut(runLogPath);
        currentOperator().messageBox(QStringLiteral("Error: ") + description, kProgramTitle,
                                     MessageButtons::Ok);
        m_exitStatus = played ? RunRecord::kStopped : RunRecord::kNotPlayed;
        journalled.reset();
        closeJournal(QStringLiteral("the run could not go on: ") + description);
        return true;
    }
    closeOut(runLogPath);
    m_exitStatus = record.exitStatus(failed);
    journalled.reset();
    closeJournal(record.outcomeText(failed));
    return failed;
}

bool ScriptPlayer::playLines()
{
    PlayFileReader &reader = m_model.playFileReader();
    while (!reader.atEnd()) {
        QString line = reader.readLine();
        if (m_model.currentLine() == std::numeric_limits<qint16>::max())
            throw Failure(QStringLiteral("Overflow: the script has more than 32767 lines"));
        m_model.setCurrentLine(static_cast<qint16>(m_model.currentLine() + 1));
        RunRecord &record = m_model.runRecord();
        const qint16 loopBegin = m_model.currentLine();
        const bool command = isCommandLine(line);
        if (command && m_entry.skipsCompletedLoop(line, m_model)) {
            if (RunJournal *journal = record.journal())
                journal->write(QStringLiteral("Line %1: %2 -> passed over to line %3: the loop "
                                              "completed before the resume")
                                   .arg(loopBegin)
                                   .arg(line)
                                   .arg(m_model.currentLine()));
            m_entry.lineDone(line, m_model);
        } else if (command && endsRedonePass(line)) {
            if (RunJournal *journal = record.journal())
                journal->write(QStringLiteral("Line %1: %2 -> the pass played again ends here")
                                   .arg(loopBegin)
                                   .arg(line));
            return false;
        } else if (command) {
            m_model.setLastCommandText(trimBlanks(line));
            const qint16 number = m_model.currentLine();
            m_model.runProgress().lineStarted(number, trimBlanks(line), openLoops(m_model));
            const PassTally before = record.tally();
            if (m_runner.ExecuteCommandLine(line, false))
                record.noteFailedLine();
            const PassTally after = record.tally();
            // A line cut short (a stop, No Connection) is played again by a resume.
            const bool cutShort = record.stopRequested() || m_model.statusText() == kNoConnection;
            const QString failedPass = !cutShort && after.failedLines + after.failedPrograms >
                                                        before.failedLines + before.failedPrograms
                                           ? m_failedPasses.note(m_model, number)
                                           : QString();
            m_entry.lineDone(line, m_model);
            // The line and the checkpoint after it in one append: a journal
            // never shows a line done without saying where the run then stood.
            if (RunJournal *journal = record.journal())
                journal->write(QStringList{QStringLiteral("Line %1: %2 -> %3")
                                               .arg(number)
                                               .arg(line, m_model.lastReply())} +
                               checkpointAfterLine() +
                               (failedPass.isEmpty() ? QStringList() : QStringList{failedPass}));
            if (m_model.statusText() == kNoConnection)
                return true;
            if (m_journal && m_journal->broken())
                record.requestStop(QStringLiteral("the journal cannot be written"));
        } else {
            m_entry.lineDone(line, m_model);
        }
        pumpEvents();
        // A pause holds here, between lines, so no line is cut short by it.
        RunPause(record, m_model.runProgress()).hold();
        if (record.stopRequested())
            return true;
    }
    if (m_model.loopDepth() >= 1) {
        currentOperator().messageBox(kLoopsLeftOpen, kProgramTitle, MessageButtons::Ok);
        return true;
    }
    return false;
}

bool ScriptPlayer::endsRedonePass(const QString &line)
{
    return m_redoneDepth > 0 && !m_entry.active() && m_model.loopDepth() == m_redoneDepth &&
           ScriptLoops::keywordOf(line) == QLatin1String("LoopEnd");
}

bool ScriptPlayer::playFailedPasses()
{
    RunRecord &record = m_model.runRecord();
    // Lines that failed outside any loop have no pass to play again: they still count.
    for (const QString &entry : m_resume->carried)
        if (entry.startsWith(FailedPasses::kLineEntry))
            record.noteFailedLine();
    for (JournalCheckpoint pass : m_resume->passes) {
        // The pass takes the answers of its start again; its failures are this run's own.
        const PassTally own = record.tally();
        for (JournalCheckpoint::OpenLoop &loop : pass.loops) {
            loop.atPassStart.failedLines = own.failedLines;
            loop.atPassStart.failedPrograms = own.failedPrograms;
        }
        pass.now = pass.loops.last().atPassStart;
        m_model.playFileReader().rewind();
        m_model.setCurrentLine(0);
        m_model.setLoopDepth(0);
        m_entry = EntryPhase(pass);
        m_redoneDepth = int(pass.loops.size());
        const bool stopped = playLines();
        m_redoneDepth = 0;
        if (stopped)
            return true;
    }
    return false;
}

void ScriptPlayer::closeOut(const QString &runLogPath)
{
    m_model.setPlaying(false);
    m_runner.setLinesOutsideCodePage({});
    m_model.runProgress().runEnded();
    m_model.playFileReader().close();
    if (!m_model.playFile().isEmpty())
        QFile::remove(m_model.playFile());
    m_model.closeRunLog();
    if (!runLogPath.isEmpty())
        QFile::remove(runLogPath);
}

} // namespace lumen::sequa
