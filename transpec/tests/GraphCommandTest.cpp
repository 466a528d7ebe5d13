#include "transpec/gui/GraphCommand.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/testsupport/SpectrumBuilders.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lumen::transpec::GraphCommand;

namespace {

struct GraphRun
{
    int status;
    QString out, err;
};

GraphRun graph(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = GraphCommand::run(args, o, e);
    return {status, out, err};
}

int redPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == qRgb(255, 0, 0);
    return n;
}

} // namespace

// One tall peak over a low floor: the linear graph shows the peak, the log
// graph lifts the floor into sight too.
TEST(GraphCommand, DrawsTheWindowsGraphLinearAndLog)
{
    QTemporaryDir dir;
    lumen::test::ChnImage chn;
    chn.counts.assign(1024, 10);
    chn.counts[500] = 100000;
    const QString input = dir.filePath(QStringLiteral("peak.chn"));
    ASSERT_TRUE(lumen::test::writeBytes(input, chn.bytes()));
    const QString linear = dir.filePath(QStringLiteral("linear.png"));
    const QString log = dir.filePath(QStringLiteral("log.png"));

    const GraphRun a = graph({"--graph", input, linear});
    EXPECT_EQ(a.status, 0) << a.err.toStdString();
    EXPECT_TRUE(a.out.contains(linear));
    EXPECT_EQ(graph({"--graph", input, log, "--log"}).status, 0);

    const QImage l(linear), g(log);
    ASSERT_EQ(l.size(), QSize(GraphCommand::kWidth, GraphCommand::kHeight));
    ASSERT_EQ(g.size(), l.size());
    const int linearRed = redPixels(l);
    EXPECT_GT(linearRed, GraphCommand::kHeight / 2) << "the peak fills the height";
    EXPECT_GT(redPixels(g), 5 * linearRed) << "the floor stands up on the log scale";
}

TEST(GraphCommand, StatusesOfAnEmptyGraphAFailureAndBadArguments)
{
    QTemporaryDir dir;
    lumen::test::ChnImage chn;
    chn.counts.assign(100, 10);
    const QString few = dir.filePath(QStringLiteral("few.chn"));
    ASSERT_TRUE(lumen::test::writeBytes(few, chn.bytes()));
    const QString png = dir.filePath(QStringLiteral("g.png"));

    const GraphRun empty = graph({"--graph", few, png});
    EXPECT_EQ(empty.status, 3);
    EXPECT_TRUE(empty.err.contains("the graph is empty")) << empty.err.toStdString();
    EXPECT_FALSE(QImage(png).isNull());

    const QString missing = dir.filePath(QStringLiteral("none.chn"));
    const QString other = dir.filePath(QStringLiteral("other.png"));
    const GraphRun failed = graph({"--graph", missing, other});
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.err.contains("Could not find file: " + missing)) << failed.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(other));

    // A calibration in ns is drawn in ns and said so, as --convert says it.
    const QString ns = dir.filePath(QStringLiteral("tof.spe"));
    QByteArray spe = "$DATE_MEA:\n06/22/2001 13:05:42\n$MEAS_TIM:\n1 1\n$MCA_CAL:\n2\n0 0.5 ns\n"
                     "$DATA:\n0 255\n";
    spe += QByteArray("7 ").repeated(256);
    ASSERT_TRUE(lumen::test::writeBytes(ns, spe));
    const GraphRun timed = graph({"--graph", ns, png});
    EXPECT_EQ(timed.status, 3);
    EXPECT_EQ(timed.err, "Transpec: " + ns +
                             ": warning: the calibration is in ns, not keV; the energy axis is "
                             "labelled ns\n");

    EXPECT_EQ(graph({"--graph", few}).status, 2);
    EXPECT_EQ(graph({"--graph", few, png, "--linear"}).status, 2);
}
