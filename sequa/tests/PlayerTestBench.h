#pragma once

#include "sequa/core/play/ScriptPlayer.h"
#include "sequa/tests/CommandsTestBench.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

namespace lumen::sequa::test {

/**
 * The commands bench with the temporary folder moved to a scratch folder of
 * its own (so the play file and run log can be looked for), and the run log
 * echoed into a string.
 */
class PlayerTestBench : public CommandsTestBench
{
protected:
    PlayerTestBench() : m_oldTmp(qgetenv("TMPDIR")), m_echoStream(&m_echo)
    {
        qputenv("TMPDIR", m_tmp.path().toLocal8Bit());
        model().setRunLogEcho(&m_echoStream);
    }
    ~PlayerTestBench() override
    {
        model().setRunLogEcho(nullptr);
        if (m_oldTmp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_oldTmp);
    }

    /** Plays the lines (joined by CR LF, as the script box holds them). */
    bool play(const QStringList &lines)
    {
        return ScriptPlayer(model(), runner()).PlayScript(lines.join(QStringLiteral("\r\n")));
    }

    /** Files the player may have left in the temporary folder. */
    QStringList temporaryFiles() const
    {
        return QDir(m_tmp.path())
            .entryList({QStringLiteral("SDE*"), QStringLiteral("SLG*")}, QDir::Files);
    }

    /** The run-log lines echoed so far. */
    QStringList logLines()
    {
        m_echoStream.flush();
        return m_echo.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    /** The text of the newest journal in the program folder (empty when none). */
    QString journalText()
    {
        const QDir dir(file(QStringLiteral("journal")));
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        return names.isEmpty() ? QString()
                               : QString::fromLatin1(bytesOf("journal/" + names.last()));
    }

    /** The arguments of every call of one host method, in order. */
    QStringList argsOf(const QString &method) const
    {
        QStringList args;
        for (const HostCall &call : m_recording->callsOf(method))
            args.append(call.args.value(0));
        return args;
    }

    QTemporaryDir m_tmp;
    QByteArray m_oldTmp;
    QString m_echo;
    QTextStream m_echoStream;
};

} // namespace lumen::sequa::test
