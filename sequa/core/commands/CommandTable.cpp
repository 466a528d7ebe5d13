#include "sequa/core/commands/CommandTable.h"

namespace lumen::sequa {

namespace {

CommandRow exact(const char *keyword)
{
    return {QString::fromLatin1(keyword), MatchKind::Exact, 0, {}};
}

CommandRow prefix(const char *keyword, int argumentStart)
{
    return {QString::fromLatin1(keyword), MatchKind::Prefix, argumentStart, {}};
}

std::vector<CommandRow> buildRows()
{
    return {
        {QStringLiteral("Connect"), MatchKind::ConnectPrefix, 0, {}},
        exact("Minimize"),
        exact("Maximize"),
        exact("StartAcquire"),
        exact("StopAcquire"),
        exact("EraseSpectrum"),
        exact("GetAcqStatus"),
        exact("PresetsOff"),
        exact("PresetsOn"),
        exact("GetElapsedReal"),
        exact("GetElapsedLive"),
        exact("GetNumberChannels"),
        exact("GetLibrary"),
        exact("SetUseLibEff"),
        exact("ClearUseLibEff"),
        exact("GetUseLibEff"),
        exact("WaitPreset"),
        exact("Beep"),
        exact("LoopBeg"),
        exact("LoopEnd"),
        exact("AutoID"),
        prefix("SetRealPreset", 14),
        prefix("SetLivePreset", 14),
        prefix("GetLivePreset", 14),
        prefix("AskLivePreset", 0),
        prefix("SaveDT", 7),
        prefix("SaveSpectrum", 13),
        prefix("CopySpectrum", 13),
        prefix("SetSpectrumID", 14),
        prefix("GetCounts", 0),
        {QStringLiteral("LOGROIS"), MatchKind::PrefixAnyCase, 8, {}},
        prefix("SampleQuantity", 15),
        prefix("SampleDate", 11),
        prefix("SampleTime", 11),
        prefix("SampleUnits", 12),
        prefix("GetROIData", 11),
        prefix("SetPrimary", 11),
        prefix("LoadROIs", 9),
        prefix("LoadConfig", 11),
        prefix("Analyze", 8),
        prefix("PrintRprt", 10),
        prefix("SaveRprt", 9),
        prefix("SelectLib", 10),
        prefix("WaitSeconds", 12),
        prefix("WaitInput", 10),
        prefix("WaitDlg", 8),
        prefix("GetExtIn", 9),
        prefix("SetExtOut", 10),
        prefix("DoNumPass", 10),
        prefix("AutoSaveSpc", 12),
        prefix("ShowMsg", 8),
        prefix("CallExtProg", 12),
        prefix("WaitExtProg", 12),
        prefix("KillFile", 9),
        // The value-file commands take their argument behind one separating character.
        prefix("GetID", 7),
        prefix("AskID", 0),
        prefix("GetQuantity", 13),
        prefix("AskQuantity", 0),
        prefix("GetDate", 9),
        prefix("AskDate", 0),
        prefix("GetTime", 9),
        prefix("AskTime", 0),
        prefix("GetUnits", 10),
        prefix("AskUnits", 0),
        prefix("GetName", 8),
        prefix("AskName", 0),
        prefix("GetDTName", 11),
        prefix("StoreDT", 9),
        prefix("GetRprtName", 13),
    };
}

bool matches(const CommandRow &row, const QString &line)
{
    switch (row.match) {
    case MatchKind::ConnectPrefix:
        return false; // only ever tried on the untrimmed line, before the table
    case MatchKind::Exact:
        return line == row.keyword;
    case MatchKind::Prefix:
        return line.startsWith(row.keyword, Qt::CaseSensitive);
    case MatchKind::PrefixAnyCase:
        return line.left(row.keyword.size()).toUpper() == row.keyword;
    }
    return false;
}

} // namespace

const std::vector<CommandRow> &CommandTable::rows()
{
    static const std::vector<CommandRow> table = buildRows();
    return table;
}

const CommandRow *CommandTable::find(const QString &keyword)
{
    for (const CommandRow &row : rows()) {
        if (row.keyword == keyword)
            return &row;
    }
    return nullptr;
}

bool CommandTable::isConnectLine(const QString &untrimmedLine)
{
    return untrimmedLine.startsWith(rows().front().keyword, Qt::CaseSensitive);
}

const CommandRow *CommandTable::match(const QString &trimmedLine)
{
    for (const CommandRow &row : rows()) {
        if (matches(row, trimmedLine))
            return &row;
    }
    return nullptr;
}

} // namespace lumen::sequa
