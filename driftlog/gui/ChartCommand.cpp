#include "driftlog/gui/ChartCommand.h"

#include "common/core/Failure.h"
#include "common/core/SafeFile.h"
#include "driftlog/core/DriftlogModel.h"
#include "driftlog/gui/DriftChartPainter.h"

#include <QBuffer>

namespace lumen::driftlog {

bool ChartCommand::asked(const QStringList &args)
{
    return !args.isEmpty() && args.first() == QLatin1String("--chart");
}

int ChartCommand::run(const QStringList &args, QTextStream &out, QTextStream &err,
                      const QString &folder)
{
    const auto finish = [&](int status) {
        out.flush();
        err.flush();
        return status;
    };
    if (args.size() != 2 || args[1].isEmpty()) {
        err << "Driftlog: --chart needs one file name, for example --chart drift.png\n";
        return finish(2);
    }
    const QString path = args[1];
    // The settings give the mode, and so the unit the log's drifts are in.
    DriftlogModel model(folder);
    model.startUp();
    if (!model.lastError().isEmpty())
        err << "Driftlog: " << model.lastError() << "; default settings used\n";
    try {
        const QcCharts charts = model.charts();
        int status = 0;
        if (model.toleranceUnread()) {
            err << "Driftlog: tolerance not drawn: " << model.lastError() << '\n';
            status = 1;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!DriftChartPainter::image(charts).save(&buffer, "PNG"))
            throw lumen::Failure(QStringLiteral("Cannot encode the chart as PNG"));
        lumen::safefile::replace(path, png);
        const auto &points = charts.drift.points();
        out << "Driftlog: chart of " << points.size() << " points written to " << path << '\n';
        if (!points.isEmpty())
            out << "Driftlog: last point: " << charts.verdictAt(points.last().minutes).headline()
                << '\n';
        return finish(status);
    } catch (const lumen::Failure &f) {
        err << "Driftlog: no chart written: " << f.description() << '\n';
        return finish(1);
    }
}

} // namespace lumen::driftlog
