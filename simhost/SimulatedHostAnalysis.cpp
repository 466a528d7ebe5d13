// The simulated host's analysis and report: the library, the peaks and
// their activities, the results report and its ROI fields.
#include "simhost/SimulatedHost.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"
#include "common/core/Paths.h"
#include "common/core/SafeFile.h"
#include "common/core/TextFile.h"
#include "simhost/PeakAnalysis.h"
#include "simhost/ResultsReport.h"

#include <QFileInfo>
#include <cmath>
#include <map>

namespace lumen {

namespace {

const QStringList kRoiKeys = {"ID",     "NUCLIDE", "GROSS", "BKG",      "CONT",   "NET", "CENTROID",
                              "CENTER", "PEAK",    "FWHM",  "ACTIVITY", "DETEFF", "MDA", "YIELD"};

QString canonicalType(const QString &type)
{
    const QString t = type.trimmed().toLower();
    for (const char *name : {"PeakFind", "PeakIdent", "RapidScan", "ROIDirected"}) {
        if (t == QString::fromLatin1(name).toLower())
            return QString::fromLatin1(name);
    }
    return QString();
}

} // namespace

QString SimulatedHost::SetUseLibEff()
{
    if (const auto e = enter("SetUseLibEff"))
        return *e;
    m_useLibEff = true;
    return QStringLiteral("OK");
}

QString SimulatedHost::ClearUseLibEff()
{
    if (const auto e = enter("ClearUseLibEff"))
        return *e;
    m_useLibEff = false;
    return QStringLiteral("OK");
}

QString SimulatedHost::GetLibrary()
{
    if (const auto e = enter("GetLibrary"))
        return *e;
    return QStringLiteral("OK") + (m_library ? m_library->name : QStringLiteral("Not Valid"));
}

QString SimulatedHost::GetUseLibEff()
{
    if (const auto e = enter("GetUseLibEff"))
        return *e;
    return m_useLibEff ? QStringLiteral("OK1") : QStringLiteral("OK0");
}

QString SimulatedHost::GetROIData(std::int16_t &roi, const QString &key)
{
    if (const auto e = enter("GetROIData"))
        return *e;
    const SpectrumMemory &m = current();
    if (roi < 1 || roi > int(m.rois.size()))
        return errorReply(QStringLiteral("ROI %1 is not defined").arg(roi));
    const QString field = key.trimmed().toUpper();
    if (!kRoiKeys.contains(field))
        return errorReply(QStringLiteral("Unknown ROI field: ") + key.trimmed());
    return QStringLiteral("OK") + roiField(m, m.rois[std::size_t(roi - 1)], field);
}

QString SimulatedHost::Analyze(QString &analysisType)
{
    if (const auto e = enter("Analyze"))
        return *e;
    return analyse(analysisType);
}

QString SimulatedHost::PrintRprt(QString &analysisType)
{
    if (const auto e = enter("PrintRprt"))
        return *e;
    const QString made = ensureReport(analysisType);
    if (made != QLatin1String("OK"))
        return made;
    const QString folder =
        m_settings.printFolder.isEmpty()
            ? designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\Print"))
            : m_settings.printFolder;
    QString target;
    try {
        makeFolder(folder);
        do {
            target = joinPath(folder,
                              QStringLiteral("REPORT%1.TXT").arg(++m_printed, 4, 10, QChar(u'0')));
        } while (QFileInfo::exists(target));
        safefile::replace(target, outsidefile::read(reportPath(), outsidefile::kReportCap));
    } catch (const Failure &failure) {
        return errorReply(QStringLiteral("Could not print the report to ") +
                          (target.isEmpty() ? folder : target) + u' ' + failure.description());
    }
    return QStringLiteral("OK");
}

QString SimulatedHost::SaveRprt(QString &analysisType, QString &fileName)
{
    if (const auto e = enter("SaveRprt"))
        return *e;
    try {
        const QString target = saveTarget(fileName, QStringLiteral(".Rpt"));
        const QString made = ensureReport(analysisType);
        if (made != QLatin1String("OK"))
            return made;
        makeFolder(QFileInfo(target).absolutePath());
        textfile::writeAll(target, textfile::readAll(reportPath()));
        return QStringLiteral("OK");
    } catch (const Failure &failure) {
        return errorReply(failure.description());
    }
}

QString SimulatedHost::selectlibrary(QString &library)
{
    if (const auto e = enter("selectlibrary"))
        return *e;
    const QString name = library.trimmed();
    if (name.isEmpty()) {
        m_library.reset();
        return QStringLiteral("OK");
    }
    auto found = NuclideLibrary::builtIn(name);
    if (!found)
        return errorReply(QStringLiteral("Library not found: ") + name);
    m_library = std::move(found);
    return QStringLiteral("OK");
}

std::optional<QDateTime> SimulatedHost::activityReference(const SpectrumMemory &memory) const
{
    if (memory.sampleDate.isEmpty())
        return std::nullopt;
    const auto date = parseDate(memory.sampleDate);
    if (!date)
        return std::nullopt;
    const auto time = memory.sampleTime.isEmpty() ? std::optional<QTime>(QTime(0, 0))
                                                  : parseTime(memory.sampleTime);
    return localDateTime(*date, time ? *time : QTime(0, 0));
}

double SimulatedHost::efficiencyOf(const NuclideLine &line) const
{
    return m_useLibEff ? line.efficiency : SourceModel::detectorEfficiency(line.energy);
}

QString SimulatedHost::ensureReport(const QString &analysisType)
{
    const QString type = canonicalType(analysisType);
    if (!type.isEmpty() && type == m_lastReportType && QFileInfo::exists(reportPath()))
        return QStringLiteral("OK");
    return analyse(analysisType);
}

QString SimulatedHost::analyse(const QString &analysisType)
{
    const QString type = canonicalType(analysisType);
    if (type.isEmpty())
        return errorReply(QStringLiteral("Unknown analysis type: ") + analysisType.trimmed());
    try {
        const ResultsReport report = buildReport(current(), type);
        const QString path = reportPath();
        makeFolder(QFileInfo(path).absolutePath());
        textfile::writeLines(path, report.lines());
        m_lastReportType = type;
        return QStringLiteral("OK");
    } catch (const Failure &failure) {
        return errorReply(failure.description());
    }
}

ResultsReport SimulatedHost::buildReport(SpectrumMemory &memory, const QString &type)
{
    const auto fwhmChannelsAt = [this](double channel) {
        return m_model.fwhm(m_model.energyOfChannel(channel)) / m_model.slope();
    };
    std::vector<PeakArea> peaks;
    if (type == QLatin1String("ROIDirected")) {
        for (const RegionOfInterest &roi : memory.rois)
            peaks.push_back(PeakAnalysis::measure(memory.counts, roi.first, roi.last));
    } else {
        peaks = PeakAnalysis::search(
            memory.counts, fwhmChannelsAt,
            int(std::ceil(m_model.channelOfEnergy(SourceModel::kSearchStart))));
    }

    ResultsReport report;
    report.spectrumId = memory.spectrumId;
    report.spectrumName = memory.name;
    report.start = memory.startTime.isValid() ? memory.startTime : m_clock.now();
    report.liveTime = memory.liveTime;
    report.realTime = memory.realTime;
    report.deadTime =
        memory.realTime > 0.0 ? (memory.realTime - memory.liveTime) / memory.realTime * 100.0 : 0.0;
    report.activityDate = activityReference(memory);
    report.analysisType = type;
    report.libraryName = m_library ? m_library->name : QStringLiteral("Not Valid");
    const bool perQuantity = memory.quantity > 0.0f;
    report.units = perQuantity && !memory.units.isEmpty() ? QStringLiteral("Bq/") + memory.units
                                                          : QStringLiteral("Bq");

    const bool identify = type != QLatin1String("PeakFind") && m_library;
    std::vector<RegionOfInterest> rois;
    // Blocks in the order their first peak appears, by nuclide index.
    std::vector<int> order;
    std::map<int, ResultsReport::NuclideBlock> blocks;
    std::map<int, std::pair<double, double>> sums; // nuclide -> (sum w*A, sum w)
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const PeakArea &p = peaks[i];
        const double energy = m_model.energyOfChannel(p.centroidChannel);
        const double fwhm = p.fwhmChannels * m_model.slope();
        report.peaks.push_back({p.centroidChannel, energy, fwhm, p.net});
        RegionOfInterest roi{p.first, p.last, QString()};
        if (type == QLatin1String("ROIDirected"))
            roi = memory.rois[i];
        const auto match = identify ? m_library->match(energy, std::max(1.5, fwhm)) : std::nullopt;
        if (match && p.net > 0 && memory.liveTime > 0.0) {
            const Nuclide &nuclide = m_library->nuclides[std::size_t(match->first)];
            const NuclideLine &line = nuclide.lines[std::size_t(match->second)];
            double activity = double(p.net) / (memory.liveTime * line.yield * efficiencyOf(line));
            if (report.activityDate && nuclide.halfLifeDays > 0.0) {
                const double days = double(report.activityDate->secsTo(report.start)) / 86400.0;
                activity *= std::exp(M_LN2 * days / nuclide.halfLifeDays);
            }
            if (perQuantity)
                activity /= memory.quantity;
            const double uncertainty =
                100.0 * std::sqrt(double(p.gross + std::max<qint64>(p.background, 0))) /
                double(p.net);
            if (!blocks.count(match->first)) {
                order.push_back(match->first);
                blocks[match->first].name = nuclide.name;
            }
            blocks[match->first].rows.push_back(
                {energy, fwhm, p.background, p.gross, p.continuum, p.net, activity, uncertainty});
            const double sigma = std::max(activity * uncertainty / 100.0, 1e-30);
            sums[match->first].first += activity / (sigma * sigma);
            sums[match->first].second += 1.0 / (sigma * sigma);
            if (roi.label.isEmpty())
                roi.label = nuclide.name;
        }
        rois.push_back(roi);
    }
    for (int index : order) {
        ResultsReport::NuclideBlock block = blocks[index];
        const auto [weighted, weight] = sums[index];
        block.activity = weighted / weight;
        block.uncertainty =
            block.activity > 0.0 ? 100.0 * std::sqrt(1.0 / weight) / block.activity : 0.0;
        report.blocks.push_back(block);
    }
    memory.rois = std::move(rois);
    return report;
}

QString SimulatedHost::roiField(const SpectrumMemory &memory, const RegionOfInterest &roi,
                                const QString &key)
{
    if (key == QLatin1String("ID")) {
        for (std::size_t i = 0; i < memory.rois.size(); ++i) {
            if (&memory.rois[i] == &roi)
                return QString::number(i + 1);
        }
    }
    const PeakArea p = PeakAnalysis::measure(memory.counts, roi.first, roi.last);
    const double energy = m_model.energyOfChannel(p.centroidChannel);
    const double fwhm = p.fwhmChannels * m_model.slope();
    const Nuclide *nuclide = nullptr;
    const NuclideLine *line = nullptr;
    if (m_library) {
        const auto match = m_library->match(energy, std::max(1.5, fwhm));
        if (match) {
            nuclide = &m_library->nuclides[std::size_t(match->first)];
            line = &nuclide->lines[std::size_t(match->second)];
        }
    }
    const double efficiency = line ? efficiencyOf(*line) : SourceModel::detectorEfficiency(energy);
    const double perBq =
        line && memory.liveTime > 0.0 ? memory.liveTime * line->yield * efficiency : 0.0;
    const auto sci = [](double v) { return QString::asprintf("%.3E", v); };

    if (key == QLatin1String("NUCLIDE"))
        return !roi.label.isEmpty() ? roi.label : (nuclide ? nuclide->name : QString());
    if (key == QLatin1String("GROSS"))
        return QString::number(p.gross);
    if (key == QLatin1String("BKG"))
        return QString::number(p.background);
    if (key == QLatin1String("CONT"))
        return QString::number(p.continuum);
    if (key == QLatin1String("NET"))
        return QString::number(p.net);
    if (key == QLatin1String("CENTROID"))
        return QString::asprintf("%.2f", energy);
    if (key == QLatin1String("CENTER"))
        return QString::asprintf("%.2f", p.centroidChannel);
    if (key == QLatin1String("PEAK"))
        return QString::number(p.peakCounts);
    if (key == QLatin1String("FWHM"))
        return QString::asprintf("%.2f", fwhm);
    if (key == QLatin1String("ACTIVITY"))
        return sci(perBq > 0.0 ? double(std::max<qint64>(p.net, 0)) / perBq : 0.0);
    if (key == QLatin1String("DETEFF"))
        return sci(efficiency);
    if (key == QLatin1String("MDA")) {
        const double counts = 2.71 + 4.65 * std::sqrt(double(std::max<qint64>(p.background, 0)));
        return sci(perBq > 0.0 ? counts / perBq : 0.0);
    }
    if (key == QLatin1String("YIELD"))
        return QString::asprintf("%.4f", line ? line->yield : 0.0);
    return QString();
}

} // namespace lumen
