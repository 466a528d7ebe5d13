#include "sequa/core/check/ScriptTextCheck.h"

#include "common/core/Cp1252.h"
#include "common/core/TextFile.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/play/ScriptPlayer.h"
#include "sequa/core/recorder/ScriptButtons.h"
#include "sequa/core/recorder/ScriptFile.h"

#include <QStringDecoder>

namespace lumen::sequa {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

/** The five bytes Windows-1252 leaves unassigned, and control characters other than the tab. */
bool isNoCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D ||
           (u < 0x20 && u != u'\t');
}

bool isUtf8WithNonAscii(const QByteArray &bytes)
{
    bool nonAscii = false;
    for (const char b : bytes)
        nonAscii = nonAscii || static_cast<unsigned char>(b) >= 0x80;
    if (!nonAscii)
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

ScriptTextCheck::Result ScriptTextCheck::check(const QByteArray &bytes)
{
    Result result;
    using Severity = ScriptFinding::Severity;
    const bool marked = bytes.startsWith(kUtf8Mark);
    const QByteArray body = marked ? bytes.mid(kUtf8Mark.size()) : bytes;

    const QStringList all = ScriptFile::lines(bytes);
    const qsizetype kept = textfile::splitLines(ScriptButtons::scriptFromLines(all)).size();
    if (kept < all.size())
        result.findings.push_back(
            {int(kept) + 1, Severity::Error,
             QStringLiteral("the script box holds %1 characters: this line and the %2 after it are "
                            "dropped and never run")
                 .arg(MainModel::kScriptCapacity)
                 .arg(all.size() - kept - 1)});

    result.lines = all.mid(0, kept);
    // After the mark the text is UTF-8 already: nothing to warn about.
    bool utf8Told = marked || !isUtf8WithNonAscii(body);
    for (qsizetype i = 0; i < result.lines.size(); ++i) {
        const QString &line = result.lines[i];
        if (const QString outside = outsideCp1252(line);
            !outside.isEmpty() && ScriptPlayer::isCommandLine(line))
            result.findings.push_back(
                {int(i) + 1, Severity::Error,
                 QStringLiteral("\"%1\" cannot go into Windows-1252 files and fields: the line "
                                "will fail")
                     .arg(outside)});
        for (qsizetype col = 0; col < line.size(); ++col) {
            if (isNoCharacter(line[col])) {
                result.findings.push_back(
                    {int(i) + 1, Severity::Warning,
                     QStringLiteral("byte 0x%1 at column %2 is no Windows-1252 character")
                         .arg(line[col].unicode(), 2, 16, QLatin1Char('0'))
                         .arg(col + 1)});
                break;
            }
        }
        if (!utf8Told) {
            bool nonAscii = false;
            for (const QChar c : line)
                nonAscii = nonAscii || c.unicode() >= 0x80;
            if (nonAscii) {
                result.findings.push_back(
                    {int(i) + 1, Severity::Warning,
                     QStringLiteral("the file is written in UTF-8: \"%1\" reaches the host as "
                                    "\"%2\"")
                         .arg(QString::fromUtf8(toCp1252(line)), line)});
                utf8Told = true;
            }
        }
    }
    return result;
}

} // namespace lumen::sequa
