#include "sequa/core/run/QualityGate.h"

#include "common/core/Failure.h"
#include "common/core/ProcessLauncher.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace lumen::sequa {

QualityGate QualityGate::fromEnvironment()
{
    QualityGate gate;
    const QString text = qEnvironmentVariable(kVariable);
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    for (const QString &word : text.split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        const int status = word.toInt(&ok);
        if (!ok || status < 0 || status > 255)
            throw Failure(QStringLiteral("%1=%2 is no list of exit statuses (0 to 255, separated "
                                         "by blanks or commas)")
                              .arg(QLatin1String(kVariable), text));
        if (!gate.m_statuses.contains(status))
            gate.m_statuses.append(status);
    }
    return gate;
}

QString QualityGate::text() const
{
    QStringList words;
    for (const int status : m_statuses)
        words << QString::number(status);
    return words.join(u' ');
}

QString QualityGate::reason(const QString &commandLine, int status)
{
    const QString program = ProcessLauncher::splitCommandLine(commandLine).value(0);
    return QStringLiteral("stopped by a quality check: %1 ended with status %2")
        .arg(QFileInfo(program).fileName(), QString::number(status));
}

} // namespace lumen::sequa
