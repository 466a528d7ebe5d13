#include "sequa/core/commands/CommandTable.h"
#include "sequa/core/commands/CommandRegistry.h"

#include <QSet>
#include <gtest/gtest.h>
#include <stdexcept>

namespace lumen::sequa {
namespace {

QString matched(const QString &line)
{
    const CommandRow *row = CommandTable::match(line);
    return row ? row->keyword : QStringLiteral("<none>");
}

TEST(CommandTable, HoldsEveryKeywordOnceInMatchingOrder)
{
    const auto &rows = CommandTable::rows();
    ASSERT_EQ(rows.size(), 69u);
    EXPECT_EQ(rows.front().keyword, "Connect");
    EXPECT_EQ(rows[17].keyword, "Beep");
    EXPECT_EQ(rows[25].keyword, "SaveDT");
    EXPECT_EQ(rows.back().keyword, "GetRprtName");
    QSet<QString> seen;
    for (const CommandRow &row : rows) {
        EXPECT_FALSE(seen.contains(row.keyword)) << row.keyword.toStdString();
        seen.insert(row.keyword);
    }
}

TEST(CommandTable, ExactKeywordsMatchOnlyTheWholeLineInTheirCase)
{
    EXPECT_EQ(matched("Beep"), "Beep");
    EXPECT_EQ(matched("Beep now"), "<none>");
    EXPECT_EQ(matched("beep"), "<none>");
    EXPECT_EQ(matched("StartAcquire"), "StartAcquire");
    EXPECT_EQ(matched("StartAcquireX"), "<none>");
}

TEST(CommandTable, PrefixKeywordsIgnoreTheRestAndEarlierRowsWin)
{
    EXPECT_EQ(matched("GetCountsAndMore"), "GetCounts");
    EXPECT_EQ(matched("SetPrimary1"), "SetPrimary");
    // SaveDT comes before SaveSpectrum and SaveRprt, so these all run SaveDT.
    EXPECT_EQ(matched("SaveDTfile.txt"), "SaveDT");
    EXPECT_EQ(matched("SaveSpectrumX.spm"), "SaveSpectrum");
    EXPECT_EQ(matched("GetDTName x"), "GetDTName");
    // GetDate must not be taken by GetDTName and vice versa.
    EXPECT_EQ(matched("GetDate d.txt"), "GetDate");
    EXPECT_EQ(matched("setprimary1"), "<none>");
}

TEST(CommandTable, LogRoisMatchesInAnyCase)
{
    EXPECT_EQ(matched("LOGROIS 6"), "LOGROIS");
    EXPECT_EQ(matched("LogRois 6"), "LOGROIS");
    EXPECT_EQ(matched("logrois"), "LOGROIS");
    EXPECT_EQ(matched("logroi"), "<none>");
}

TEST(CommandTable, ConnectIsOnlyRecognisedBeforeTrimming)
{
    EXPECT_TRUE(CommandTable::isConnectLine("ConnectLMN"));
    EXPECT_TRUE(CommandTable::isConnectLine("Connect"));
    EXPECT_FALSE(CommandTable::isConnectLine(" Connect"));
    EXPECT_FALSE(CommandTable::isConnectLine("connect"));
    EXPECT_EQ(matched("Connect"), "<none>");
}

TEST(CommandRegistry, RefusesKeywordsOutsideTheTableAndDuplicates)
{
    CommandRegistry registry;
    const auto ok = [](CommandContext &) { return QStringLiteral("OK"); };
    EXPECT_THROW(registry.add("Teleport", ok), std::logic_error);
    registry.add("Beep", ok);
    EXPECT_THROW(registry.add("Beep", ok), std::logic_error);
    EXPECT_NE(registry.handler("Beep"), nullptr);
    EXPECT_EQ(registry.handler("WaitDlg"), nullptr);
}

} // namespace
} // namespace lumen::sequa
