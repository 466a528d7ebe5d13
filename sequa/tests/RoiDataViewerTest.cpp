#include "sequa/core/files/RoiDataRecord.h"
#include "sequa/core/files/RoiDataText.h"
#include "sequa/gui/RecorderPanel.h"
#include "sequa/gui/RoiDataWindow.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/tests/RecorderTestBench.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace lumen::sequa::test {
namespace {

class RoiDataViewer : public RecorderTestBench
{
protected:
    RoiDataViewer()
    {
        m_recording->roiReply = [](std::int16_t roi, const QString &key) {
            return QStringLiteral("OK%1-%2").arg(key).arg(roi);
        };
    }

    static QString expectedText(int roi)
    {
        QString text = QStringLiteral("Data for ROI #: %1\r\n\r\n").arg(roi);
        for (const auto &field : RoiDataRecord::fields())
            text += QString::fromLatin1(field.label) + QString::fromLatin1(field.key) +
                    QStringLiteral("-%1\r\n").arg(roi);
        return text;
    }
};

TEST_F(RoiDataViewer, ShowsTheFourteenFieldsOfTheRoiUnderAHeading)
{
    EXPECT_EQ(RoiDataText::load(model(), 3), expectedText(3));
    const auto calls = m_recording->callsOf("GetROIData");
    ASSERT_EQ(calls.size(), RoiDataRecord::kFieldCount);
    EXPECT_EQ(calls.first().args, QStringList({"3", "ID"}));
    EXPECT_EQ(calls.last().args, QStringList({"3", "YIELD"}));
    EXPECT_TRUE(RoiDataText::load(model(), -2).startsWith("Data for ROI #:-2\r\n\r\n"));
}

TEST_F(RoiDataViewer, ABareOkGivesTheLabelAlone)
{
    m_recording->roiReply = [](std::int16_t, const QString &) { return QStringLiteral("OK"); };
    const QStringList lines = RoiDataText::load(model(), 1).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.value(2), "      ID: ");
    EXPECT_EQ(lines.value(15), "   YIELD: ");
    EXPECT_EQ(lines.size(), 17); // the last line ended too
}

TEST_F(RoiDataViewer, AFailureEndsTheTextWithOneLineSayingWhat)
{
    m_recording->roiReply = [](std::int16_t roi, const QString &key) {
        return key == QStringLiteral("NET")
                   ? QStringLiteral("Error: ROI %1 is not defined").arg(roi)
                   : QStringLiteral("OK1");
    };
    QStringList lines = RoiDataText::load(model(), 2).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.size(), 2 + 5 + 1 + 1);
    EXPECT_EQ(lines.value(6), "    CONT: 1");
    EXPECT_EQ(lines.value(7), "GetROIData NET failed: Error: ROI 2 is not defined");

    m_recording->roiReply = nullptr;
    m_recording->onCall = [](const HostCall &call) {
        if (call.args.value(1) == QStringLiteral("BKG"))
            throw Failure(QStringLiteral("No reply within 10 seconds"));
    };
    lines = RoiDataText::load(model(), 2).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.value(5), "GetROIData BKG failed: No reply within 10 seconds");

    m_host->testconnect = [] { return QStringLiteral("Not ready"); };
    model().setHostFactory(
        [this](const QString &) { return lumen::test::sharingTestHost(m_host); });
    model().createHostAppObject();
    EXPECT_EQ(RoiDataText::load(model(), 2), "Data for ROI #: 2\r\n\r\nNo Connection\r\n");
}

TEST_F(RoiDataViewer, OnTheSimulatedHostTheTextIsTheRoiDumpFile)
{
    SimulatedHost &host = useSimulatedHost(8192);
    writeFile(QStringLiteral("rois.txt"), "200 240\r\n500 540\r\n");
    ASSERT_EQ(run(QStringLiteral("LoadROIs") + file(QStringLiteral("rois.txt"))), "OK");
    ASSERT_EQ(run(QStringLiteral("StartAcquire")), "OK");
    host.advanceClock(60);

    const QString text = RoiDataText::load(model(), 2);
    DataFiles(model()).DumpRoiData(2);
    EXPECT_EQ(text.toLatin1(), bytesOf(DataFiles::kRoiDumpFileName));
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 2 + RoiDataRecord::kFieldCount);

    // A ROI the host does not hold: the heading, then what the host said.
    const QStringList lines = RoiDataText::load(model(), 5).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[2].startsWith("GetROIData ID failed: ")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains("ROI 5")) << lines[2].toStdString();
}

class RoiDataViewerWindow : public RoiDataViewer
{
protected:
    RoiDataViewerWindow() : m_window(*m_program)
    {
        QObject::disconnect(&model(), nullptr, &m_buttons, nullptr);
        m_window.show();
    }

    void clickViewRoi()
    {
        auto *button = m_window.findChild<QPushButton *>(QStringLiteral("ROIdata"));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    RxMainWindow m_window;
};

TEST_F(RoiDataViewerWindow, ViewRoiOpensTheViewerOnceAndFetchesOnlyWhenOpenedAnew)
{
    model().setDoNow(false); // the viewer asks the host whatever the mode
    model().setRoiNumberText(QStringLiteral("3"));
    clickViewRoi();
    RoiDataWindow *viewer = m_window.recorderPanel()->roiViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->objectName(), "frmROIdata");
    EXPECT_EQ(viewer->windowTitle(), "ROI data");
    EXPECT_TRUE(viewer->isVisible());
    auto *text = viewer->findChild<QPlainTextEdit *>(QStringLiteral("ROItext"));
    ASSERT_NE(text, nullptr);
    const QFontMetrics metrics(text->font());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiiiii")),
              metrics.horizontalAdvance(QStringLiteral("WWWWWW")))
        << "the labels' columns line up only in a font of equal glyph widths";
    EXPECT_EQ(text->toPlainText(), expectedText(3).replace("\r\n", "\n"));
    EXPECT_TRUE(model().scriptText().isEmpty());

    model().setRoiNumberText(QStringLiteral("5"));
    clickViewRoi();
    EXPECT_EQ(m_window.recorderPanel()->roiViewer(), viewer);
    EXPECT_EQ(m_recording->callsOf("GetROIData").size(), RoiDataRecord::kFieldCount);

    viewer->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_window.recorderPanel()->roiViewer(), nullptr);
    model().setRoiNumberText(QStringLiteral("abc"));
    clickViewRoi();
    ASSERT_NE(m_window.recorderPanel()->roiViewer(), nullptr);
    EXPECT_EQ(m_recording->callsOf("GetROIData").last().args.value(0), "0");
}

TEST_F(RoiDataViewerWindow, ARoiNumberBeyondSixteenBitsOpensNothing)
{
    model().setRoiNumberText(QStringLiteral("40000"));
    clickViewRoi();
    EXPECT_EQ(m_window.recorderPanel()->roiViewer(), nullptr);
    EXPECT_EQ(
        m_operator.messages(),
        QStringList{"You entered 40000.\r\nPlease enter a whole number from -32768 to 32767."});
    EXPECT_TRUE(m_recording->calls.isEmpty());
}

TEST(RoiDataWindowAlone, ShowsNoDataUntilFilled)
{
    RoiDataWindow window;
    EXPECT_EQ(window.text(), "No Data");
    window.showData(QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(window.text(), "a\nb\n");
}

} // namespace
} // namespace lumen::sequa::test
