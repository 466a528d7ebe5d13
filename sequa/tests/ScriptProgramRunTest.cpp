// The built program playing a script file unattended, without a display, on
// the simulated host in its own process.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

class ScriptProgramRun : public ::testing::Test
{
protected:
    ScriptProgramRun()
    {
        const QString copy = m_folder.filePath(QStringLiteral("Sequa"));
        EXPECT_TRUE(QFile::copy(QStringLiteral(SEQUA_EXE), copy));
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner);
        QDir(m_folder.path()).mkpath(QStringLiteral("tmp"));
        QDir(m_folder.path()).mkpath(QStringLiteral("root"));
    }

    QString path(const QString &name) const { return m_folder.filePath(name); }

    void writeScript(const QString &name, const QStringList &lines)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    }

    /** Runs the copy with the script, without a display; fills m_exitCode and m_err. */
    void runScript(const QString &name, const QString &faults = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("LUMEN_HOST"));
        env.insert(QStringLiteral("LUMEN_ROOT"), path(QStringLiteral("root")));
        env.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("tmp")));
        env.insert(QStringLiteral("LUMEN_HOST_SPEED"), QStringLiteral("1000"));
        env.insert(QStringLiteral("LUMEN_HOST_SEED"), QStringLiteral("11"));
        env.insert(QStringLiteral("LUMEN_HOST_CHANNELS"), QStringLiteral("2048"));
        if (!faults.isEmpty())
            env.insert(QStringLiteral("LUMEN_HOST_FAULTS"), faults);
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(path(QStringLiteral("tmp")));
        process.start(path(QStringLiteral("Sequa")), {path(name)});
        ASSERT_TRUE(process.waitForFinished(120000));
        m_exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        m_err = QString::fromLocal8Bit(process.readAllStandardError());
    }

    QStringList leftInTmp() const
    {
        return QDir(path(QStringLiteral("tmp"))).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_folder;
    int m_exitCode = -2;
    QString m_err;
};

TEST_F(ScriptProgramRun, MeasuresThreeSamplesInALoopAndEndsWithStatusZero)
{
    writeScript(QStringLiteral("measure.lsf"),
                {"; three samples, each to a 20 s live-time preset", "ConnectLMN",
                 "SelectLibSTANDARD.LIB", "PresetsOn", "SetLivePreset 20", "DoNumPass 3", "LoopBeg",
                 "EraseSpectrum", "AutoID", "StartAcquire", "WaitPreset", "AnalyzePeakIdent",
                 "SaveRprtPeakIdent,REPORT.TXT", "AutoSaveSpcSPEC", "LOGROIS 2", "LoopEnd"});
    runScript(QStringLiteral("measure.lsf"));
    EXPECT_EQ(m_exitCode, 0) << m_err.toStdString();
    EXPECT_FALSE(m_err.contains(QStringLiteral("ERROR:"))) << m_err.toStdString();

    const QDir data(path(QStringLiteral("root/Data")));
    const QStringList spectra = data.entryList({QStringLiteral("SPEC*")}, QDir::Files);
    EXPECT_EQ(spectra.size(), 3) << data.entryList().join(' ').toStdString();
    EXPECT_TRUE(data.exists(QStringLiteral("REPORT.TXT")));

    const QStringList roiLogs =
        QDir(m_folder.path()).entryList({QStringLiteral("ROI_Data_*.txt")}, QDir::Files);
    ASSERT_EQ(roiLogs.size(), 1) << QDir(m_folder.path()).entryList().join(' ').toStdString();
    QFile log(path(roiLogs[0]));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    int filled = 0;
    for (const QByteArray &line : lines)
        filled += line.trimmed().isEmpty() ? 0 : 1;
    EXPECT_GE(filled, 6) << "two ROIs on each of three passes";
    EXPECT_TRUE(leftInTmp().isEmpty()) << leftInTmp().join(' ').toStdString();
}

TEST_F(ScriptProgramRun, AHostThatGoesAwayMidRunEndsWithNonZeroStatusAndNoTemporaryFile)
{
    writeScript(QStringLiteral("gone.lsf"),
                {"ConnectLMN", "DoNumPass 50", "LoopBeg", "EraseSpectrum", "StartAcquire",
                 "StopAcquire", "LoopEnd"});
    runScript(QStringLiteral("gone.lsf"), QStringLiteral("gone-after=19"));
    EXPECT_NE(m_exitCode, 0);
    EXPECT_TRUE(m_err.contains(QStringLiteral("No Connection"))) << m_err.toStdString();
    EXPECT_TRUE(leftInTmp().isEmpty()) << leftInTmp().join(' ').toStdString();
}

TEST_F(ScriptProgramRun, AnUnreadableScriptWithoutADisplayEndsWithNonZeroStatus)
{
    runScript(QStringLiteral("missing.lsf"));
    EXPECT_NE(m_exitCode, 0);
    EXPECT_TRUE(m_err.contains(QStringLiteral("missing.lsf"))) << m_err.toStdString();
}

} // namespace

#endif
