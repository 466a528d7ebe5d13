#include "transpec/gui/ConvertWindow.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/SmallScreen.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/N42Reader.h"
#include "spectra/testsupport/SpectrumBuilders.h"
#include "transpec/core/BoxNames.h"
#include "transpec/core/ConvertModel.h"
#include "transpec/gui/GraphWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace lumen;
using namespace lumen::transpec;

namespace {

class ConvertWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lumen::setCurrentOperator(&m_op);
        m_model.startUp(QString(), m_dir.filePath(ConvertModel::kSettingsName));
        m_op.clear();
    }
    void TearDown() override { lumen::setCurrentOperator(nullptr); }

    QPushButton *button(const char *name) const
    {
        return m_window.findChild<QPushButton *>(QString::fromLatin1(name));
    }

    /** Opens a 4096-channel ramp and drags across its second quarter. */
    GraphWidget *openAndZoom()
    {
        test::ChnImage image;
        image.counts = test::rampCounts(4096);
        const QString path = m_dir.filePath("z.chn");
        EXPECT_TRUE(lumen::test::writeBytes(path, image.bytes()));
        m_op.queueFile(path);
        QTest::mouseClick(button("LoadSPM"), Qt::LeftButton);
        m_window.resize(1000, 600);
        m_window.show();
        GraphWidget *g = m_window.graph();
        const QRect plot = g->plotArea();
        const int y = plot.center().y();
        QTest::mousePress(g, Qt::LeftButton, {}, QPoint(plot.left() + plot.width() / 4, y));
        QTest::mouseMove(g, QPoint(plot.left() + plot.width() / 2, y));
        QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(plot.left() + plot.width() / 2, y));
        return g;
    }

    QTemporaryDir m_dir;
    lumen::ScriptedOperator m_op;
    ConvertModel m_model;
    ConvertWindow m_window{m_model};
};

} // namespace

TEST_F(ConvertWindowTest, HasItsControlsCaptionsAndFrames)
{
    EXPECT_EQ(m_window.objectName(), "Convert");
    EXPECT_EQ(m_window.windowTitle(), "Lmn Spectrum file import utility 010622");
    for (const QString &name : box::kSpectrumBoxes)
        EXPECT_NE(m_window.findChild<QLineEdit *>(name), nullptr) << name.toStdString();
    EXPECT_NE(m_window.findChild<QLineEdit *>(box::SpcToRead), nullptr);
    EXPECT_NE(m_window.findChild<QLineEdit *>(box::AnsToWrite), nullptr);
    EXPECT_NE(m_window.findChild<GraphWidget *>("GraphSpm"), nullptr);
    QStringList frames;
    for (QGroupBox *g : m_window.findChildren<QGroupBox *>())
        frames << g->title();
    EXPECT_TRUE(frames.contains("Incomming Spectral info"));
    EXPECT_TRUE(frames.contains("ANS Type 2 Converted Spectral info"));
    EXPECT_EQ(button("LoadSPM")->text(), "Open Spectrum file");
    EXPECT_EQ(button("ExitProg")->text(), "Exit");
    EXPECT_EQ(button("SaveANS")->text(), "Save Converted file");
    EXPECT_FALSE(button("SaveANS")->isEnabled());
    EXPECT_TRUE(button("SaveANS")->styleSheet().contains("#ff0000"));
}

TEST_F(ConvertWindowTest, OpenFillsTheBoxesAndDrawsTheGraph)
{
    test::ChnImage image;
    image.counts = test::rampCounts(2048);
    image.fileType = 7;
    const QString path = m_dir.filePath("g.chn");
    ASSERT_TRUE(lumen::test::writeBytes(path, image.bytes()));
    m_op.queueFile(path);
    QTest::mouseClick(button("LoadSPM"), Qt::LeftButton);

    EXPECT_EQ(m_window.box(box::SpcToRead)->text(), path);
    EXPECT_EQ(m_window.box(box::NumChan)->text(), "2048");
    EXPECT_EQ(m_window.box(box::fType)->text(), "Unknown [Type=7]");
    EXPECT_TRUE(m_window.box(box::fType)->styleSheet().contains("#ff0000"));
    EXPECT_TRUE(button("LoadSPM")->styleSheet().contains("#ffff00"));
    EXPECT_TRUE(button("SaveANS")->isEnabled());
    EXPECT_TRUE(button("SaveANS")->styleSheet().contains("#00ff00"));
    m_window.resize(900, 500);
    EXPECT_FALSE(m_window.grab().isNull());
    EXPECT_GT(m_window.graph()->lineCount(), 100);
}

TEST_F(ConvertWindowTest, EditsReachTheSaveAndExitEndsWithSettings)
{
    test::ChnImage image;
    image.counts.assign(256, 1);
    const QString path = m_dir.filePath("e.chn");
    ASSERT_TRUE(lumen::test::writeBytes(path, image.bytes()));
    m_op.queueFile(path);
    QTest::mouseClick(button("LoadSPM"), Qt::LeftButton);

    QLineEdit *grp = m_window.box(box::GrpSize);
    grp->selectAll();
    QTest::keyClicks(grp, "512");
    EXPECT_EQ(m_model.text(box::GrpSize), "512");

    const QString out = m_dir.filePath("e.ans");
    m_op.queueFile(out);
    QTest::mouseClick(button("SaveANS"), Qt::LeftButton);
    EXPECT_EQ(m_window.box(box::AnsToWrite)->text(), out);
    const QByteArray bytes = lumen::test::fileBytes(out);
    ASSERT_EQ(bytes.size(), 1536 + 1024);
    EXPECT_EQ(bytes[254], char(0x00));
    EXPECT_EQ(bytes[255], char(0x02)); // 512

    QSignalSpy exits(&m_model, &ConvertModel::exitWanted);
    QTest::mouseClick(button("ExitProg"), Qt::LeftButton);
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(lumen::test::fileBytes(m_dir.filePath(ConvertModel::kSettingsName)).size(), 290);
}

TEST_F(ConvertWindowTest, TheGraphZoomsByDragAndWheelAndShowsTheCursor)
{
    GraphWidget *g = openAndZoom();
    const QRect plot = g->plotArea();
    const int y = plot.center().y();
    EXPECT_NEAR(g->view().firstShown(), 1024, 16);
    EXPECT_NEAR(g->view().shownCount(), 1024, 16);

    QWheelEvent wheel(QPointF(plot.center()), g->mapToGlobal(QPointF(plot.center())), {},
                      QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g, &wheel);
    EXPECT_GT(g->view().shownCount(), 1100) << "wheel back widens the view";

    QString readout;
    QObject::connect(g, &GraphWidget::readoutChanged, g,
                     [&readout](const QString &t) { readout = t; });
    QTest::mouseMove(g, QPoint(plot.left() + 10, y));
    EXPECT_TRUE(readout.startsWith("Channel ")) << readout.toStdString();

    m_window.findChild<QCheckBox *>("LogScale")->setChecked(true);
    EXPECT_TRUE(g->view().logScale());
    QTest::mouseClick(button("ResetZoom"), Qt::LeftButton);
    EXPECT_FALSE(g->view().zoomed());
}

TEST_F(ConvertWindowTest, FitsASmallScreenWithEveryButtonInReach)
{
    test::expectFitsSmallScreen(m_window);
    // At 125 % the same screen holds a fifth fewer pixels of the window's own.
    const QSize least = m_window.minimumSizeHint();
    EXPECT_LE(least.width(), test::kSmallScreenClient.width() * 4 / 5);
    EXPECT_LE(least.height(), test::kSmallScreenClient.height() * 4 / 5);
}

// Widened or heightened, the window gives the graph the room; the panels
// keep their rows.
TEST_F(ConvertWindowTest, TheGraphTakesTheSpareRoom)
{
    m_window.show();
    m_window.resize(1280, 720);
    QApplication::processEvents();
    const QSize before = m_window.graph()->size();
    m_window.resize(1920, 1040);
    QApplication::processEvents();
    const QSize after = m_window.graph()->size();
    EXPECT_GE(after.width() - before.width(), 640 * 9 / 10);
    EXPECT_GE(after.height() - before.height(), 320 * 9 / 10);
}

TEST_F(ConvertWindowTest, TheReadoutNeverCoversTheCountsTitle)
{
    GraphWidget *g = openAndZoom();
    for (const bool log : {false, true}) {
        m_window.findChild<QCheckBox *>("LogScale")->setChecked(log);
        const int titleEnd =
            g->titleRow().left() + g->fontMetrics().horizontalAdvance(g->countsTitle());
        EXPECT_GT(g->readoutArea().left(), titleEnd) << "log " << log;
        EXPECT_LE(g->readoutArea().right(), g->rect().right());
    }
}

// The window saves ANS, N42 or CSV as the name chosen asks, beside the
// spectrum unless told otherwise, and says where the file went.
TEST_F(ConvertWindowTest, SavesAsTheNameAsksAndSaysWhere)
{
    test::ChnImage image;
    image.counts.assign(512, 5);
    image.liveTicks = 15000;
    image.realTicks = 15500;
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("in"));
    const QString source = m_dir.filePath("in/s.chn");
    ASSERT_TRUE(lumen::test::writeBytes(source, image.bytes()));
    m_op.queueFile(source);
    QTest::mouseClick(button("LoadSPM"), Qt::LeftButton);

    const struct
    {
        const char *name;
        QByteArray starts; // the file's first bytes
        bool warned;
    } cases[] = {{"s.Ans", "", false}, {"s.n42", "<?xml", false}, {"s.csv", "channel,", true}};
    for (const auto &c : cases) {
        const QString out = m_dir.filePath(QString::fromLatin1(c.name));
        m_op.clear();
        m_op.queueFile(out);
        QTest::mouseClick(button("SaveANS"), Qt::LeftButton);
        ASSERT_EQ(m_op.prompts().size(), 1) << c.name;
        EXPECT_EQ(m_op.prompts()[0].dialog.initialFolder, m_dir.filePath("in")) << c.name;
        const QByteArray bytes = lumen::test::fileBytes(out);
        EXPECT_TRUE(bytes.startsWith(c.starts)) << c.name;
        const QString said = m_window.savedLine()->text();
        EXPECT_TRUE(said.startsWith("Saved to " + out)) << said.toStdString();
        EXPECT_EQ(said.contains("warning"), c.warned) << said.toStdString();
        EXPECT_LE(m_window.minimumSizeHint().width(), test::kSmallScreenClient.width() * 4 / 5)
            << "a long line of warnings never widens the window";
    }
    const IncomingSpectrum n42 = N42Reader::readFile(m_dir.filePath("s.n42"));
    ASSERT_TRUE(n42.loaded);
    EXPECT_EQ(n42.spectrum.counts, image.counts);
}

TEST_F(ConvertWindowTest, CalibrationEditsKeepTheZoom)
{
    GraphWidget *g = openAndZoom();
    const double first = g->view().firstShown();
    ASSERT_TRUE(g->view().zoomed());

    for (const QString &name : {box::C0, box::C1}) {
        QLineEdit *edit = m_window.findChild<QLineEdit *>(name);
        edit->selectAll();
        QTest::keyClicks(edit, name == box::C0 ? "1.5" : "0.25");
    }
    EXPECT_TRUE(g->view().zoomed());
    EXPECT_DOUBLE_EQ(g->view().firstShown(), first);
    EXPECT_NEAR(g->view().energyAt(100), 1.5 + 0.25 * 100, 0.05) << "the axis follows the edit";
}
