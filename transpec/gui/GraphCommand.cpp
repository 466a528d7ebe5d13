#include "transpec/gui/GraphCommand.h"

#include "common/core/Failure.h"
#include "common/core/SafeFile.h"
#include "transpec/core/ConvertModel.h"
#include "transpec/core/SpectrumView.h"
#include "transpec/gui/GraphWidget.h"

#include <QBuffer>
#include <QImage>

namespace lumen::transpec {

namespace {
const QString kGraph = QStringLiteral("--graph");
const QString kLog = QStringLiteral("--log");

int finish(QTextStream &out, QTextStream &err, int status)
{
    out.flush();
    err.flush();
    return status;
}
} // namespace

bool GraphCommand::asked(const QStringList &args)
{
    return args.contains(kGraph);
}

int GraphCommand::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList files;
    bool log = false;
    for (const QString &a : args) {
        if (a == kLog)
            log = true;
        else if (a != kGraph && a.startsWith(QStringLiteral("--")))
            files << QString(); // marks the unknown option below
        else if (a != kGraph)
            files << a;
    }
    if (files.size() != 2 || files.contains(QString())) {
        err << "Transpec: usage: Transpec --graph SPECTRUM PNG [--log]\n";
        return finish(out, err, 2);
    }
    const QString &spectrum = files[0];
    const QString &png = files[1];

    ConvertModel model;
    QStringList notes;
    model.setMessageSink([&notes](const QString &m) { notes << m; });
    model.loadChosenFile(spectrum);
    for (const QString &notice : model.notices())
        notes.removeOne(notice);
    if (!model.loaded()) {
        err << "Transpec: no graph drawn: "
            << (notes.isEmpty() ? ConvertModel::nothingRead(spectrum) : notes.takeLast()) << '\n';
        for (const QString &note : notes)
            err << note << '\n';
        return finish(out, err, 1);
    }
    for (const QString &note : notes)
        err << note << '\n';

    GraphWidget graph(model);
    graph.resize(kWidth, kHeight);
    graph.setLogScale(log);
    graph.refresh();
    QImage image(graph.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    graph.render(&image);
    try {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            throw lumen::Failure(QStringLiteral("Cannot encode the graph as PNG"));
        lumen::safefile::replace(png, bytes);
    } catch (const lumen::Failure &f) {
        err << "Transpec: no graph written: " << f.description() << '\n';
        return finish(out, err, 1);
    }
    out << "Transpec: graph of " << graph.view().channelCount() << " channels written to " << png
        << '\n';
    int status = 0;
    if (!graph.view().drawable()) {
        err << "Transpec: " << spectrum << ": warning: fewer than "
            << SpectrumView::kMinimumChannels << " channels, the graph is empty\n";
        status = 3;
    }
    // A calibration in another unit is drawn in that unit, and said so as
    // --convert says it: an axis read as keV would misplace every peak.
    const QString &unit = graph.view().energyUnit();
    if (graph.view().hasEnergyAxis() && unit.compare(u"keV", Qt::CaseInsensitive) != 0) {
        err << "Transpec: " << spectrum << ": warning: the calibration is in " << unit
            << ", not keV; the energy axis is labelled " << unit << "\n";
        status = 3;
    }
    return finish(out, err, status);
}

} // namespace lumen::transpec
