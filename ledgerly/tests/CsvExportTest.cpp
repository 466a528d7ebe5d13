#include "ledgerly/core/CsvExport.h"

#include <gtest/gtest.h>

using lumen::ledgerly::CsvExport;

TEST(CsvExport, TextsASpreadsheetWouldRunAreMadeInertAndNumbersKept)
{
    const struct
    {
        const char *text;
        const char *exported;
    } cases[] = {{"=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"http://x\")"},
                 {"+41 77 123", "'+41 77 123"},
                 {"-2+3", "'-2+3"},
                 {"@SUM(A1)", "'@SUM(A1)"},
                 {"\tcmd", "'\tcmd"},
                 {"\rcmd", "'\rcmd"},
                 {"-1.234568E-05", "-1.234568E-05"},
                 {"+12", "+12"},
                 {"soil = 5 g", "soil = 5 g"},
                 {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(CsvExport::inert(QString::fromLatin1(c.text)), QString::fromLatin1(c.exported))
            << c.text;
}
