#include "sequa/core/ScriptPlayer.h"

#include "common/core/Cp1252.h"
#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "common/core/Paths.h"
#include "sequa/core/CommandRunner.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/PlayFileReader.h"
#include "sequa/core/SequaTexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <exception>
#include <limits>

namespace lumen::sequa {

namespace {

const QString kLoopsLeftOpen = QStringLiteral("Loopbeg without LoopEnd");

/**
 * Creates a new, uniquely named empty-or-filled file from the prefix in the
 * temporary folder, or in the program's folder when the temporary one cannot
 * take it, and returns its path. The file stays after the call.
 */
QString createTemporaryFile(const QString &prefix, const QByteArray &content,
                            const QString &fallbackFolder)
{
    QString lastError;
    for (const QString &folder : {QDir::tempPath(), fallbackFolder}) {
        QTemporaryFile file(joinPath(folder, prefix + QStringLiteral("XXXXXX.tmp")));
        file.setAutoRemove(false);
        if (!file.open()) {
            lastError = file.errorString();
            continue;
        }
        if (file.write(content) != content.size() || !file.flush()) {
            lastError = file.errorString();
            file.remove();
            continue;
        }
        file.close();
        return file.fileName();
    }
    throw Failure(QStringLiteral("Cannot create a temporary file: %1").arg(lastError));
}

} // namespace

ScriptPlayer::ScriptPlayer(MainModel &model, CommandRunner &runner)
    : m_model(model), m_runner(runner)
{
}

bool ScriptPlayer::isCommandLine(const QString &line)
{
    if (line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
        return false;
    return !trimBlanks(line).isEmpty();
}

bool ScriptPlayer::PlayScript(const QString &script)
{
    QString runLogPath;
    bool failed = true;
    m_model.setPlayFile(QString());
    try {
        m_model.setPlayFile(createTemporaryFile(
            kPlayFilePrefix, toCp1252(script + QStringLiteral("\r\n")), m_model.programFolder()));
        runLogPath = createTemporaryFile(kRunLogPrefix, QByteArray(), m_model.programFolder());
        m_model.openRunLog(runLogPath);
        m_model.setCurrentLine(0);
        m_model.setLoopDepth(0);
        m_model.setPlaying(true);
        m_model.playFileReader().open(m_model.playFile());
        failed = playLines();
    } catch (const std::exception &error) {
        // A run that cannot go on (its files gone, the line count overflowing)
        // is told to the operator and counts as failed, never as success.
        const auto *failure = dynamic_cast<const Failure *>(&error);
        const QString description =
            failure ? failure->description() : QString::fromLocal8Bit(error.what());
        m_model.writeRunLogLine(QStringLiteral("ERROR:   ") + description);
        closeOut(runLogPath);
        currentOperator().messageBox(QStringLiteral("Error: ") + description, kProgramTitle,
                                     MessageButtons::Ok);
        return true;
    }
    closeOut(runLogPath);
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
        if (isCommandLine(line)) {
            m_model.setLastCommandText(trimBlanks(line));
            m_runner.ExecuteCommandLine(line, false);
            if (m_model.statusText() == kNoConnection)
                return true;
        }
        pumpEvents();
    }
    if (m_model.loopDepth() >= 1) {
        currentOperator().messageBox(kLoopsLeftOpen, kProgramTitle, MessageButtons::Ok);
        return true;
    }
    return false;
}

void ScriptPlayer::closeOut(const QString &runLogPath)
{
    m_model.setPlaying(false);
    m_model.playFileReader().close();
    if (!m_model.playFile().isEmpty())
        QFile::remove(m_model.playFile());
    m_model.closeRunLog();
    if (!runLogPath.isEmpty())
        QFile::remove(runLogPath);
}

} // namespace lumen::sequa
