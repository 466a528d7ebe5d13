#include "sequa/core/check/ScriptFlowCheck.h"

#include "common/core/FixedText.h"
#include "sequa/core/check/NearestKeyword.h"
#include "sequa/core/check/ScriptArgumentCheck.h"
#include "sequa/core/commands/CommandTable.h"
#include "sequa/core/play/ScriptPlayer.h"

#include <algorithm>
#include <vector>

namespace lumen::sequa {

namespace {

using Severity = ScriptFinding::Severity;

QString unknownLineText(const QString &trimmed)
{
    QString text = QStringLiteral("unknown command \"%1\"").arg(trimmed);
    if (CommandTable::isConnectLine(trimmed))
        return text + QStringLiteral(": Connect must be the line's first characters, blanks "
                                     "before it hide it");
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
        return text + QStringLiteral(": a comment's \"%1\" must be the line's first character")
                          .arg(trimmed.front());
    const QString alone = NearestKeyword::standAloneKeywordWithText(trimmed);
    if (!alone.isEmpty())
        return text + QStringLiteral(": %1 must stand alone on its line").arg(alone);
    const QString nearest = NearestKeyword::of(trimmed);
    if (!nearest.isEmpty())
        return text + QStringLiteral(" (did you mean %1?)").arg(nearest);
    return text;
}

} // namespace

ScriptFindings ScriptFlowCheck::check(const QStringList &lines,
                                      const ScriptArgumentCheck &arguments)
{
    ScriptFindings findings;
    if (std::none_of(lines.begin(), lines.end(), &ScriptPlayer::isCommandLine))
        findings.push_back({0, Severity::Error,
                            QStringLiteral("the script holds no command line: its run never "
                                           "reaches the host and ends as stopped")});
    bool connected = false;
    std::vector<int> openLoops; // line numbers of the LoopBeg lines still open
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i) + 1;
        const QString &untrimmed = lines[i];
        if (!ScriptPlayer::isCommandLine(untrimmed))
            continue;
        if (CommandTable::isConnectLine(untrimmed)) {
            connected = true;
            continue;
        }
        const QString line = trimBlanks(untrimmed);
        if (!connected)
            findings.push_back({number, Severity::Error,
                                QStringLiteral("\"%1\" comes before the first Connect line: an "
                                               "unattended start fails it (no host yet)")
                                    .arg(line)});
        const CommandRow *row = CommandTable::match(line);
        if (!row) {
            findings.push_back({number, Severity::Error, unknownLineText(line)});
            continue;
        }
        const QString &keyword = row->keyword;
        if (keyword == QStringLiteral("LoopBeg")) {
            openLoops.push_back(number);
            if (int(openLoops.size()) == kMostOpenLoops + 1)
                findings.push_back({number, Severity::Error,
                                    QStringLiteral("an eleventh open loop: at most %1 loops can "
                                                   "be open")
                                        .arg(kMostOpenLoops)});
        } else if (keyword == QStringLiteral("LoopEnd")) {
            if (openLoops.empty())
                findings.push_back(
                    {number, Severity::Error, QStringLiteral("LoopEnd without LoopBeg")});
            else
                openLoops.pop_back();
        } else if ((keyword == QStringLiteral("AutoID") ||
                    keyword == QStringLiteral("AutoSaveSpc")) &&
                   openLoops.empty()) {
            findings.push_back({number, Severity::Error,
                                QStringLiteral("Cannot use %1 outside loop").arg(keyword)});
        }
        arguments.check(*row, line, number, findings);
    }
    for (const int loopBeg : openLoops)
        findings.push_back({loopBeg, Severity::Error, QStringLiteral("LoopBeg without LoopEnd")});
    return findings;
}

} // namespace lumen::sequa
