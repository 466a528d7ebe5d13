#include "ledgerly/core/ReportReader.h"

#include "common/core/Cp1252.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"

#include <QRegularExpression>

namespace lumen::ledgerly {

namespace {

// Sequential reads over the report as the design's file reads see it: whole
// lines and comma-delimited fields taken from one shared position, so a field
// read may stop in the middle of a line and the next read goes on from there.
// A lone LF also ends a line, so a report saved by a Unix editor still reads.
class ReportCursor
{
public:
    explicit ReportCursor(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    QString readLine()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != u'\r' && m_text[m_pos] != u'\n')
            ++m_pos;
        QString line = m_text.mid(start, m_pos - start);
        skipLineEnd();
        return line;
    }

    QString readField()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t'))
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
            const qsizetype start = ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != u'"')
                ++m_pos;
            QString field = m_text.mid(start, m_pos - start);
            if (m_pos < m_text.size())
                ++m_pos;
            // What follows the closing quote up to the delimiter belongs to no field.
            while (m_pos < m_text.size() && !isDelimiter(m_text[m_pos]))
                ++m_pos;
            consumeDelimiter();
            return field;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && !isDelimiter(m_text[m_pos]))
            ++m_pos;
        QString field = m_text.mid(start, m_pos - start);
        consumeDelimiter();
        return field;
    }

private:
    static bool isDelimiter(QChar c) { return c == u',' || c == u'\r' || c == u'\n'; }

    void skipLineEnd()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == u'\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
    }

    void consumeDelimiter()
    {
        if (m_pos >= m_text.size())
            return;
        if (m_text[m_pos] == u',')
            ++m_pos;
        else
            skipLineEnd();
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

// 1-based position of `what` in `text`, 0 when absent.
int positionOf(const QString &text, QStringView what)
{
    return int(text.indexOf(what)) + 1;
}

float windowNumber(const QString &line, int start, int count)
{
    if (start < 1)
        return 0.0f;
    QString window = lumen::midText(line, start, count);
    window.remove(u',');
    return lumen::reportNumber(window);
}

// A peak row starts with its energy in columns 1-8.
bool isPeakRow(const QString &line)
{
    static const QRegularExpression energy(QStringLiteral("^ *-?[0-9]+(\\.[0-9]*)? *$"));
    return energy.match(lumen::midText(line, 1, 8)).hasMatch();
}

void readBlock(ReportCursor &cursor, const QString &nuclideLine, ReportResult &result,
               QString &unrecognisedLine)
{
    // Blocks past the wide table's design are kept apart, uncounted, for the
    // long tables.
    NuclideBlock *block = nullptr;
    if (result.nuclideCount < ReportResult::kMaxBlocks) {
        if (!result.corrCoeffLayout && nuclideLine.contains(u"Corr. Coeff."))
            result.corrCoeffLayout = true;
        ++result.nuclideCount;
        block = &result.blocks[result.nuclideCount];
    } else {
        result.moreBlocks.append(NuclideBlock());
        block = &result.moreBlocks.last();
    }
    block->rowCount = 0;
    block->moreRows.clear();
    block->nuclideName = lumen::fixedWidth(lumen::trimBlanks(lumen::midText(nuclideLine, 1, 6)), 6);

    if (cursor.atEnd())
        return;

    int activityColumn = 0;
    QString field;
    do {
        field = cursor.readField();
        if (cursor.atEnd())
            break;
        activityColumn = positionOf(field, u"Activity");
    } while (positionOf(field, u"Activity =") > 1);

    cursor.readField();
    if (cursor.atEnd())
        return;

    const bool alternative = result.corrCoeffLayout;
    const int activityWidth = alternative ? 9 : 10;
    const int netStart = alternative ? 42 : 47;
    const int grossStart = alternative ? 24 : 29;
    while (!cursor.atEnd()) {
        const QString line = cursor.readLine();
        if (cursor.atEnd() || line.isEmpty())
            break;
        if (unrecognisedLine.isEmpty() && !isPeakRow(line))
            unrecognisedLine = line;
        PeakRow spare;
        PeakRow &row =
            block->rowCount < NuclideBlock::kMaxRows ? block->rows[++block->rowCount] : spare;
        row.energy = lumen::reportNumber(lumen::midText(line, 1, 8));
        row.rowActivity = windowNumber(line, activityColumn, activityWidth);
        row.netCounts = windowNumber(line, netStart, 9);
        row.grossCounts = windowNumber(line, grossStart, 9);
        if (&row == &spare)
            block->moreRows.append(spare);
    }
}

} // namespace

ReportReader::Outcome ReportReader::read(QByteArrayView bytes, ReportResult &result)
{
    return readText(lumen::fromCp1252(bytes), result);
}

ReportReader::Outcome ReportReader::readText(const QString &text, ReportResult &result)
{
    Outcome outcome;
    result.nuclideCount = 0;
    result.corrCoeffLayout = false;
    result.moreBlocks.clear();
    bool sawFile = false, sawDate = false, sawLiveTime = false, sawDeadTime = false,
         sawActivityDate = false;

    ReportCursor cursor(text);
    while (!cursor.atEnd()) {
        const QString line = cursor.readLine();

        if (line.startsWith(u"ID:")) {
            result.sampleId =
                lumen::fixedWidth(lumen::midText(line, 4, ReportResult::kSampleIdWidth),
                                  ReportResult::kSampleIdWidth);
            outcome.sawIdLine = true;
            outcome.tookAnyLine = true;
            continue;
        }
        if (line.startsWith(u"File:")) {
            result.spectrumFile =
                lumen::fixedWidth(lumen::midText(line, 6, ReportResult::kSpectrumFileWidth),
                                  ReportResult::kSpectrumFileWidth);
            outcome.tookAnyLine = true;
            sawFile = true;
            sawDate = line.contains(u"Date:");
        }
        if (const int p = positionOf(line, u"Date:"); p > 0) {
            outcome.tookAnyLine = true;
            result.reportDate = lumen::fixedWidth(
                lumen::trimBlanks(lumen::midText(line, p + 6, 30)), ReportResult::kReportDateWidth);
            continue;
        }
        if (line.startsWith(u"LT:")) {
            result.reportLiveTime = lumen::reportNumber(lumen::midText(line, 4, 18));
            outcome.tookAnyLine = true;
            sawLiveTime = true;
            sawDeadTime = line.contains(u"DT:");
        }
        if (const int p = positionOf(line, u"DT:"); p > 0) {
            outcome.tookAnyLine = true;
            const QString shortened = line.left(line.size() - 1);
            result.reportDeadTime = lumen::reportNumber(lumen::midText(shortened, p + 3, 18));
            continue;
        }
        if (line.startsWith(u"Activities reported as of")) {
            outcome.tookAnyLine = true;
            sawActivityDate = true;
            QString date = lumen::trimBlanks(lumen::midText(line, 26, 24));
            if (date.contains(u"Measurement Date"))
                date = result.reportDate.left(ReportResult::kActivityDateWidth);
            result.activityDate = lumen::fixedWidth(date, ReportResult::kActivityDateWidth);
        }
        if (line.contains(u"Activity =")) {
            outcome.tookAnyLine = true;
            readBlock(cursor, line, result, outcome.unrecognisedLine);
        }
    }
    outcome.hasReportStructure =
        outcome.sawIdLine && sawFile && sawDate && sawLiveTime && sawDeadTime && sawActivityDate;
    return outcome;
}

ReportResult ReportReader::parse(QByteArrayView bytes)
{
    ReportResult result;
    read(bytes, result);
    return result;
}

} // namespace lumen::ledgerly
