#include "transpec/core/ConvertModel.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/AnsReader.h"
#include "spectra/testsupport/SpectrumBuilders.h"
#include "transpec/core/BoxNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumen;
using namespace lumen::transpec;

namespace {

class ConvertModelTest : public ::testing::Test
{
protected:
    void SetUp() override { lumen::setCurrentOperator(&m_op); }
    void TearDown() override { lumen::setCurrentOperator(nullptr); }

    QString settingsPath() const { return m_dir.filePath(ConvertModel::kSettingsName); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QString put(const QString &name, const QByteArray &bytes) const
    {
        const QString path = file(name);
        EXPECT_TRUE(lumen::test::writeBytes(path, bytes));
        return path;
    }
    AnsReader::Spectrum ans(const QString &path) const
    {
        return AnsReader::read(lumen::test::fileBytes(path));
    }

    QTemporaryDir m_dir;
    lumen::ScriptedOperator m_op;
};

} // namespace

TEST_F(ConvertModelTest, FirstStartWarnsAndExitWritesA290ByteRecord)
{
    ConvertModel model;
    model.startUp(QString(), settingsPath());
    EXPECT_EQ(m_op.messages(), QStringList{"Config file [" + settingsPath() + "] not found"});
    EXPECT_EQ(model.openDialog().title, "Import Stored Spectrum");
    EXPECT_EQ(model.openDialog().defaultExtension, "spc");
    EXPECT_EQ(model.openDialog().initialName, "*.spc");
    EXPECT_EQ(model.openDialog().filter, "Ortec SPC Files (*.spc)|*.spc|Ortec CHN Files "
                                         "(*.chn)|*.chn|All Files (*.*)|*.*|IAEA SPE Files "
                                         "(*.spe)|*.spe|N42 Files (*.n42;*.xml)|*.n42;*.xml");
    EXPECT_TRUE(model.openDialog().mustExist);
    EXPECT_TRUE(model.openDialog().hideReadOnly);
    EXPECT_FALSE(model.saveEnabled());
    EXPECT_EQ(model.saveColour(), ConvertModel::kRed);
    EXPECT_EQ(model.loadColour(), ConvertModel::kGreen);

    model.exitProgram();
    EXPECT_TRUE(model.exitRequested());
    EXPECT_EQ(model.exitStatus(), 0);
    EXPECT_EQ(lumen::test::fileBytes(settingsPath()).size(), 290);
}

TEST_F(ConvertModelTest, SettingsComeBackAtTheNextStart)
{
    test::ChnImage image;
    image.counts.assign(512, 1);
    const QString source = put(QStringLiteral("S1.CHN"), image.bytes());
    {
        ConvertModel model;
        model.startUp(QString(), settingsPath());
        m_op.queueFile(source);
        model.openSpectrum();
        const QString out = file(QStringLiteral("S1.Ans"));
        m_op.queueFile(out);
        EXPECT_TRUE(model.saveConverted());
        model.exitProgram();
    }
    m_op.clear();
    ConvertModel model;
    model.startUp(QString(), settingsPath());
    EXPECT_TRUE(m_op.messages().isEmpty());
    EXPECT_EQ(model.text(box::SpcToRead), source);
    EXPECT_EQ(model.openDialog().initialName, source);
    EXPECT_EQ(model.openDialog().initialFolder, source) << "the last file name restores the folder";
    EXPECT_EQ(model.openDialog().defaultExtension, "spc");

    m_op.queueFile(std::nullopt);
    m_op.clear();
    model.saveConverted(); // no answer queued: cancelled, but the request is recorded
    ASSERT_EQ(m_op.prompts().size(), 1);
    const lumen::FileDialogRequest &save = m_op.prompts()[0].dialog;
    EXPECT_EQ(save.title, "Save Converted Spectrum");
    EXPECT_EQ(save.defaultExtension, "ans");
    EXPECT_EQ(save.filter, "Korlund ANS Files (*.ans)|*.ans|All Files (*.*)|*.*|"
                           "N42 Files (*.n42)|*.n42|CSV Files (*.csv)|*.csv");
    EXPECT_EQ(save.initialFolder, m_dir.path());
    EXPECT_FALSE(save.overwritePrompt);
}

TEST_F(ConvertModelTest, ChoosingAFileSetsFolderAndDefaultOutputName)
{
    ConvertModel model;
    model.startUp(QString(), settingsPath());
    m_op.clear();
    m_op.queueFile(QStringLiteral("C:\\DATA\\SPEC01.SPC"));
    model.openSpectrum();
    EXPECT_EQ(model.openDialog().initialFolder, "C:\\DATA");
    EXPECT_EQ(m_op.messages(), QStringList{"Could not find file: C:\\DATA\\SPEC01.SPC"});
    EXPECT_FALSE(model.loaded());
    EXPECT_EQ(model.loadColour(), ConvertModel::kYellow);
    EXPECT_TRUE(model.saveEnabled());

    test::SpcImage image;
    image.counts.assign(1024, 3);
    const QString source = put(QStringLiteral("SPEC01.SPC"), image.bytes());
    m_op.queueFile(source);
    model.openSpectrum();
    EXPECT_TRUE(model.loaded());
    EXPECT_EQ(model.text(box::AnsToWrite), "SPEC01.Ans");
    EXPECT_EQ(model.openDialog().initialFolder, m_dir.path());
}

TEST_F(ConvertModelTest, CancelledOpenLeavesEverythingEmpty)
{
    test::ChnImage image;
    image.counts.assign(512, 1);
    const QString source = put(QStringLiteral("A.CHN"), image.bytes());
    {
        ConvertModel model;
        model.startUp(QString(), settingsPath());
        m_op.queueFile(source);
        model.openSpectrum();
        model.exitProgram();
    }
    ConvertModel model;
    model.startUp(QString(), settingsPath());
    m_op.clear();
    model.openSpectrum(); // cancelled
    for (const QString &name : box::kSpectrumBoxes)
        EXPECT_EQ(model.text(name), "") << name.toStdString();
    EXPECT_EQ(model.text(box::SpcToRead), "");
    EXPECT_FALSE(model.saveEnabled());
    EXPECT_TRUE(m_op.messages().isEmpty());
    model.exitProgram();
    const auto settings = TranspecSettings::load(settingsPath());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->lastSpectrum.trimmed(), source) << "an empty box does not overwrite slot 1";
}

TEST_F(ConvertModelTest, FileTypesThatAreNotSpectra)
{
    ConvertModel model;
    model.startUp(QString(), settingsPath());
    m_op.clear();
    m_op.queueFile(put(QStringLiteral("notes.TXT"), "hello"));
    model.openSpectrum();
    EXPECT_TRUE(m_op.messages().isEmpty());
    EXPECT_FALSE(model.loaded());
    EXPECT_TRUE(model.saveEnabled());

    m_op.queueFile(put(QStringLiteral("X.DAT"), QByteArray(600, 'a')));
    model.openSpectrum();
    EXPECT_EQ(m_op.messages(), QStringList{"File type DAT is not supported"});
}

TEST_F(ConvertModelTest, ConvertedFieldsAreFilledFromACalibratedChn)
{
    test::ChnImage image;
    image.counts = test::rampCounts(100);
    image.liveTicks = 15000;
    image.realTicks = 15100;
    ConvertModel model;
    model.startUp(QString(), settingsPath());
    model.setText(box::GrpSize, QStringLiteral("512")); // typed before the open: emptied
    m_op.queueFile(put(QStringLiteral("small.chn"), image.bytes()));
    model.openSpectrum();
    ASSERT_TRUE(model.loaded());
    EXPECT_EQ(model.graphChannels(), 100);
    EXPECT_EQ(model.text(box::AnsID), QStringLiteral("Soil sample 7 Field B").leftJustified(72));
    EXPECT_EQ(model.text(box::AnsLT), "300");
    EXPECT_EQ(model.text(box::AnsRT), "302");
    EXPECT_EQ(model.text(box::AnsType), "2");
    EXPECT_EQ(model.text(box::AnsNumChan), "100");
    EXPECT_EQ(model.text(box::GrpSize), "100");
    EXPECT_EQ(model.text(box::AnsMcaDate), "Jun 22, 2001");
    EXPECT_EQ(model.text(box::AnsMcaTime), "13:05:00");
    EXPECT_EQ(model.text(box::AnsSamDate), "Dec 30, 1899");
    EXPECT_EQ(model.text(box::AnsSamTime), "00:00:00");
    EXPECT_EQ(model.text(box::AnsToWrite), "small.Ans");

    model.setText(box::AnsToWrite, file(QStringLiteral("small.ans")));
    ASSERT_TRUE(model.writeAns());
    const AnsReader::Spectrum s = ans(file(QStringLiteral("small.ans")));
    EXPECT_NEAR(s.header.mcaStart(), 37064.5451388, 1e-6);
    EXPECT_DOUBLE_EQ(s.header.liveTime(), 300.0);
    EXPECT_DOUBLE_EQ(s.header.realTime(), 302.0);
    EXPECT_FLOAT_EQ(s.header.coefficient(1), 0.25f);
    EXPECT_EQ(s.header.calibrationFlag(), -1);
    EXPECT_EQ(s.channels, image.counts);
}

TEST_F(ConvertModelTest, SaveReadsTheBoxesAsEdited)
{
    test::SpcImage image;
    image.counts = test::rampCounts(1024);
    ConvertModel model;
    model.startUp(QString(), settingsPath());
    m_op.queueFile(put(QStringLiteral("e.spc"), image.bytes()));
    model.openSpectrum();
    ASSERT_TRUE(model.loaded());
    // The century character of the acquisition date: 17-SEP-121 is 2012.
    EXPECT_EQ(model.text(box::AnsMcaDate), "Sep 17, 2012");
    EXPECT_EQ(model.text(box::AnsSamDate), "Sep 01, 2012");
    EXPECT_EQ(model.text(box::AnsSamTime), "08:30:00");
    EXPECT_EQ(model.text(box::AnsUnits), "kg  ");

    model.setText(box::GrpSize, QStringLiteral("4096"));
    model.setText(box::AnsMcaDate, QStringLiteral("22-jun-2001"));
    model.setText(box::AnsMcaTime, QStringLiteral("13:05"));
    model.setText(box::C1, QStringLiteral("0"));
    model.setText(box::AnsID, QStringLiteral("   edited id   "));
    model.setText(box::AnsSize, QStringLiteral("not a number"));
    model.setText(box::C2, QStringLiteral("1e300")); // too big for single precision: kept
    const QString out = file(QStringLiteral("e.ans"));
    m_op.queueFile(out);
    ASSERT_TRUE(model.saveConverted());
    EXPECT_EQ(model.text(box::AnsMcaDate), "Jun 22, 2001");
    EXPECT_EQ(model.text(box::AnsMcaTime), "13:05:00");
    EXPECT_EQ(model.text(box::AnsToWrite), out);
    EXPECT_EQ(model.saveDialogFolder(), m_dir.path());

    const QByteArray bytes = lumen::test::fileBytes(out);
    ASSERT_EQ(bytes.size(), 1536 + 4 * 1024) << "the data keeps the source's channel count";
    const AnsReader::Spectrum s = AnsReader::read(bytes);
    EXPECT_EQ(s.header.groupSize(), 4096);
    EXPECT_EQ(s.header.calibrationFlag(), 0);
    EXPECT_EQ(s.header.spectrumId(), QStringLiteral("edited id").leftJustified(72));
    EXPECT_FLOAT_EQ(s.header.sampleSize(), 0.0f);
    EXPECT_FLOAT_EQ(s.header.coefficient(2), 0.0f) << "kept: no C(2) was stored before";
    EXPECT_NEAR(s.header.mcaStart(), 37064.5451388, 1e-6);
}

TEST_F(ConvertModelTest, RoundTripKeepsChannelsAndHeaderValues)
{
    test::SpcImage spc;
    spc.dataType = 5;
    for (int i = 0; i < 16384; ++i)
        spc.reals.push_back(float(i % 500) + 0.75f);
    test::ChnImage chn;
    chn.counts = test::rampCounts(16384);
    chn.liveTicks = 123456;
    chn.realTicks = 130000;

    ConvertModel model;
    model.startUp(QString(), settingsPath());
    for (const auto &[name, bytes] : {std::pair{QStringLiteral("r.spc"), spc.bytes()},
                                      {QStringLiteral("r.chn"), chn.bytes()}}) {
        m_op.queueFile(put(name, bytes));
        model.openSpectrum();
        ASSERT_TRUE(model.loaded()) << name.toStdString();
        m_op.queueFile(file(name + QStringLiteral(".ans")));
        ASSERT_TRUE(model.saveConverted());
        const AnsReader::Spectrum s = ans(file(name + QStringLiteral(".ans")));
        ASSERT_EQ(s.channels.size(), 16384u);
        for (int i = 0; i < 16384; ++i)
            ASSERT_EQ(s.channels[std::size_t(i)], model.channels().at(i));
        EXPECT_EQ(s.header.groupSize(), 16384);
        if (name.endsWith(u"spc")) {
            EXPECT_EQ(s.channels[3], 3);
            EXPECT_DOUBLE_EQ(s.header.liveTime(), 300.0);
            EXPECT_DOUBLE_EQ(s.header.realTime(), 310.5);
            EXPECT_FLOAT_EQ(s.header.sampleSize(), 1.5f);
            EXPECT_FLOAT_EQ(s.header.coefficient(0), 0.5f);
            EXPECT_FLOAT_EQ(s.header.coefficient(2), 1e-6f);
            EXPECT_EQ(s.header.sampleUnits(), "kg  ");
        } else {
            EXPECT_EQ(s.channels[5], chn.counts[5]);
            EXPECT_DOUBLE_EQ(s.header.liveTime(), 2469.12);
            EXPECT_DOUBLE_EQ(s.header.realTime(), 2600.0);
        }
    }
}

TEST_F(ConvertModelTest, CommandLineModeSavesWithoutDialogAndEnds)
{
    const QString out = file(QStringLiteral("Out/MixedCase.ans"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Out")));
    ConvertModel model;
    model.startUp(QStringLiteral("  ") + out + QStringLiteral(" "), settingsPath());
    EXPECT_TRUE(model.commandLineMode());
#ifdef Q_OS_WIN
    EXPECT_EQ(model.commandLineOutputPath(), out.toUpper());
#else
    EXPECT_EQ(model.commandLineOutputPath(), out) << "case-sensitive names keep their case";
#endif
    EXPECT_EQ(model.saveCaption(), "Import Converted Spectrum");
    EXPECT_EQ(model.exitCaption(), "Abort");

    test::ChnImage image;
    image.counts.assign(1024, 2);
    m_op.clear();
    m_op.queueFile(put(QStringLiteral("cl.chn"), image.bytes()));
    model.openSpectrum();
    EXPECT_EQ(model.text(box::AnsToWrite), model.commandLineOutputPath());
    EXPECT_TRUE(model.saveConverted());
    EXPECT_EQ(m_op.prompts().size(), 1) << "only the open dialog was shown";
    EXPECT_TRUE(model.exitRequested());
    EXPECT_EQ(model.exitStatus(), 0);
    EXPECT_EQ(lumen::test::fileBytes(model.commandLineOutputPath()).size(), 1536 + 4096);
    EXPECT_EQ(lumen::test::fileBytes(settingsPath()).size(), 290);
}

TEST_F(ConvertModelTest, CommandLineAbortAndFailedWriteEndNonZero)
{
    ConvertModel aborted;
    aborted.startUp(file(QStringLiteral("x.ans")), settingsPath());
    aborted.exitProgram();
    EXPECT_EQ(aborted.exitStatus(), 1);

    ConvertModel model;
    model.startUp(m_dir.path(), settingsPath()); // a folder cannot be written as a file
    test::ChnImage image;
    image.counts.assign(256, 2);
    m_op.clear();
    m_op.queueFile(put(QStringLiteral("f.chn"), image.bytes()));
    model.openSpectrum();
    EXPECT_FALSE(model.saveConverted());
    EXPECT_EQ(m_op.messages(),
              QStringList{"Could not write file: " + m_dir.path() + " (is a folder)"});
    EXPECT_TRUE(model.exitRequested());
    EXPECT_EQ(model.exitStatus(), 1);
}

TEST_F(ConvertModelTest, SaveAfterAFailedOpenWritesNoChannels)
{
    ConvertModel model;
    model.startUp(QString(), settingsPath());
    m_op.queueFile(put(QStringLiteral("bad.chn"), QByteArray(20, '\x01')));
    model.openSpectrum();
    EXPECT_FALSE(model.loaded());
    m_op.queueFile(file(QStringLiteral("bad.ans")));
    EXPECT_TRUE(model.saveConverted());
    EXPECT_EQ(lumen::test::fileBytes(file(QStringLiteral("bad.ans"))).size(), 1536);
}

TEST_F(ConvertModelTest, EachOpenStartsFromAFreshHeader)
{
    test::SpcImage spc; // a sample date, a size and a calibration
    spc.counts.assign(512, 3);
    test::ChnImage chn; // none of them
    chn.counts.assign(512, 4);
    chn.trailerType = 0;
    chn.seconds = "42";
    ConvertModel model;
    model.setMessageSink([](const QString &) {});
    model.loadChosenFile(put(QStringLiteral("a.spc"), spc.bytes()));
    model.setText(box::AnsToWrite, file(QStringLiteral("a.ans")));
    ASSERT_TRUE(model.writeAns());
    model.loadChosenFile(put(QStringLiteral("b.chn"), chn.bytes()));
    EXPECT_EQ(model.text(box::AnsSamDate), "Dec 30, 1899");
    EXPECT_EQ(model.text(box::AnsMcaTime), "13:05:42");
    model.setText(box::AnsToWrite, file(QStringLiteral("b.ans")));
    ASSERT_TRUE(model.writeAns());
    const AnsReader::Spectrum s = ans(file(QStringLiteral("b.ans")));
    EXPECT_EQ(s.header.sampleDateTime(), 0.0);
    EXPECT_EQ(s.header.sampleSize(), 0.0f);
    EXPECT_EQ(s.header.coefficient(1), 0.0f);
    EXPECT_EQ(s.header.calibrationFlag(), 0);
}

TEST_F(ConvertModelTest, ASettingsPathThatIsNoFileIsRefusedWithoutBlocking)
{
    const QString fifo = file(QStringLiteral("fifo.DAT"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {QStringLiteral("/dev/zero"), fifo, m_dir.path()}) {
        const qsizetype before = m_op.messages().size();
        ConvertModel model;
        model.startUp(QString(), path);
        EXPECT_EQ(
            m_op.messages().mid(before),
            QStringList{"Config file [" + path + "] not found (Not a regular file: " + path + ")"});
    }
}

TEST_F(ConvertModelTest, ForACallerAMissingOrShortSpcGoesUnmentioned)
{
    const QString shortFile = put(QStringLiteral("short.spc"), QByteArray(128, '\x01'));
    const QString missing = file(QStringLiteral("none.spc"));
    for (const bool caller : {false, true}) {
        ConvertModel model;
        model.startUp(caller ? file(QStringLiteral("x.ans")) : QString(), settingsPath());
        QStringList shown;
        model.setMessageSink([&shown](const QString &m) { shown << m; });
        model.loadChosenFile(shortFile);
        model.loadChosenFile(missing);
        EXPECT_FALSE(model.loaded());
        EXPECT_EQ(shown, caller ? QStringList()
                                : QStringList({"File size not large enough: " + shortFile,
                                               "Could not find file: " + missing}));
    }
}
