// The lab's day on the simulated host, as the demo plays it: a check-source
// run takes the drift reference, a batch of three samples is counted,
// analysed, saved, ROI-logged and archived one by one, a second check-source
// run logs the drift, and a stored spectrum is imported.
#include "road/tests/LabFolder.h"

#include <QDate>

namespace {

int nonEmptyLines(const QStringList &lines)
{
    int count = 0;
    for (const QString &line : lines)
        count += line.trimmed().isEmpty() ? 0 : 1;
    return count;
}

} // namespace

TEST(RoadOfOneMeasurement, ExampleScriptsArchiveEverySampleAndLogTheDrift)
{
    LabFolder lab;
    QProcessEnvironment env = lab.environment();
    // The programs date the ROI log by the simulated host's clock, which the
    // runs below set to this day.
    const QDate firstDay(2026, 12, 7);

    // Each run gets its own simulated host; their clocks are set to the hours
    // of a lab's day, so that the drift is measured hours after its reference.
    env.insert(QStringLiteral("LUMEN_HOST_START"), QStringLiteral("2026-12-07 08:00:00"));
    const ProgramRun reference =
        lab.run(QStringLiteral("Sequa"), {QStringLiteral("check_source.lsf")}, env);
    ASSERT_TRUE(reference.finished);
    ASSERT_EQ(reference.exitCode, 0) << qPrintable(reference.err);

    env.insert(QStringLiteral("LUMEN_HOST_START"), QStringLiteral("2026-12-07 09:00:00"));
    env.insert(QStringLiteral("LUMEN_ANSWERS"), lab.example(QStringLiteral("demo_answers.txt")));
    const ProgramRun batch =
        lab.run(QStringLiteral("Sequa"), {QStringLiteral("sample_batch.lsf")}, env);
    ASSERT_TRUE(batch.finished);
    ASSERT_EQ(batch.exitCode, 0) << qPrintable(batch.err);
    env.remove(QStringLiteral("LUMEN_ANSWERS"));

    env.insert(QStringLiteral("LUMEN_HOST_START"), QStringLiteral("2026-12-07 16:00:00"));
    const ProgramRun drift =
        lab.run(QStringLiteral("Sequa"), {QStringLiteral("check_source.lsf")}, env);
    ASSERT_EQ(drift.exitCode, 0) << qPrintable(drift.err);
    const ProgramRun import =
        lab.run(QStringLiteral("Sequa"), {QStringLiteral("import_spectrum.lsf")}, env);
    ASSERT_EQ(import.exitCode, 0) << qPrintable(import.err);
    // The example spectrum is a sound one: the demo shows no warning.
    EXPECT_FALSE(import.err.contains(QStringLiteral("warning"))) << qPrintable(import.err);

    // One record per sample, with a column for every nuclide of the source.
    EXPECT_EQ(lab.recordCount(), 3);
    const QString columns = lab.columnNames().join(u'|');
    for (const char *nuclide : {"AM-241", "CS-137", "CO-60", "K-40"})
        EXPECT_TRUE(columns.contains(QLatin1String(nuclide)))
            << nuclide << " in " << qPrintable(columns);

    // One stability line per check-source run, the first being the reference.
    const QStringList stability = lab.textLines(lab.lab(QStringLiteral("StabData.txt")));
    ASSERT_EQ(stability.size(), 2) << qPrintable(drift.out + drift.err);
    EXPECT_EQ(stability[0].simplified(), QStringLiteral("0 0"));
    // Eight host hours after the reference; at 600x a loaded machine adds a
    // host minute or two before the second run's report is written.
    const int minutes = stability[1].simplified().section(u' ', 0, 0).toInt();
    EXPECT_TRUE(minutes >= 480 && minutes <= 485) << qPrintable(stability[1]);

    // Six ROI rows per sample under the day's date line and header.
    const QString roiLog = lab.lab(LabFolder::roiLogName(firstDay));
    EXPECT_EQ(nonEmptyLines(lab.textLines(roiLog)) - 2, 3 * 6);

    // Reports and spectra under the names the operator gave, the last ID in
    // its value file, the imported spectrum beside its source.
    for (const char *name : {"SOIL001", "SOIL002", "SOIL003"}) {
        for (const char *kind : {".Rpt", ".Ans"}) {
            const QString saved =
                lab.lumen(QStringLiteral("Data/") + QLatin1String(name) + QLatin1String(kind));
            EXPECT_TRUE(QFile::exists(saved)) << qPrintable(saved);
        }
        // The spectrum is saved before the analysis, so the report, and the
        // record archived from it, name the sample's own spectrum file.
        const QString report = lab.textLines(lab.lumen(QStringLiteral("Data/") +
                                                       QLatin1String(name) + QLatin1String(".Rpt")))
                                   .join(u'\n');
        EXPECT_TRUE(
            report.contains(QStringLiteral("File: ") + QLatin1String(name) + QLatin1String(".Ans")))
            << qPrintable(report);
    }
    EXPECT_EQ(lab.textLines(lab.lab(QStringLiteral("Id.txt"))),
              QStringList{QStringLiteral("SOIL-003")});
    EXPECT_EQ(QFileInfo(lab.lab(QStringLiteral("spectra/CHECK01.Ans"))).size(), 1536 + 4 * 1024);

    EXPECT_TRUE(lab.temporaryFilesLeft().isEmpty())
        << qPrintable(lab.temporaryFilesLeft().join(u' '));

    // Every run left its journal, and each says it ran to its end.
    const QStringList journals = lab.journals();
    ASSERT_EQ(journals.size(), 4) << qPrintable(journals.join(u' '));
    for (const QString &journal : journals)
        EXPECT_TRUE(lab.text(journal).contains(QStringLiteral("Exit status: 0")))
            << qPrintable(journal);
}
