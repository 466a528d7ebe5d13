// The simulated host's files: spectra saved and ROIs and configurations
// loaded, every name resolved within the host's folders.
#include "simhost/SimulatedHost.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/Paths.h"
#include "common/core/SafeFile.h"
#include "common/core/TextFile.h"
#include "spectra/AnsHeader.h"
#include "spectra/AnsWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumen {

QString SimulatedHost::SaveSpt(QString &fileName)
{
    if (const auto e = enter("SaveSpt"))
        return *e;
    try {
        const QString path = saveTarget(fileName, QStringLiteral(".Ans"));
        SpectrumMemory &m = current();
        lumen::AnsHeader header;
        header.setSpectrumId(m.spectrumId);
        if (m.startTime.isValid())
            header.setMcaStart(toOleDate(m.startTime));
        header.setRealTime(m.realTime);
        header.setLiveTime(m.liveTime);
        header.setGroupSize(std::int16_t(m.counts.size()));
        header.setCoefficient(0, float(m_model.energyOfChannel(0.0)));
        header.setCoefficient(1, float(m_model.slope()));
        header.setSampleSize(m.quantity);
        header.setSampleUnits(m.units);
        if (const auto reference = activityReference(m))
            header.setSampleDateTime(toOleDate(*reference));
        makeFolder(QFileInfo(path).absolutePath());
        safefile::replace(path, lumen::AnsWriter::toBytes(header, m.counts));
        m.name = QFileInfo(path).fileName();
        return QStringLiteral("OK");
    } catch (const Failure &failure) {
        return errorReply(failure.description());
    }
}

QString SimulatedHost::ClsLoadROis(QString &fileName)
{
    if (const auto e = enter("ClsLoadROis"))
        return *e;
    try {
        const QString path = resolveFile(fileName);
        if (!QFileInfo::exists(path))
            return errorReply(QStringLiteral("ROI file not found: ") + path);
        const QStringList lines = textfile::readLines(path);
        std::vector<RegionOfInterest> rois;
        const int channels = int(current().counts.size());
        static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = lines[i].trimmed();
            if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
                continue;
            const QStringList parts = line.split(separators, Qt::SkipEmptyParts);
            bool okFirst = false, okLast = false;
            RegionOfInterest roi;
            if (parts.size() >= 2) {
                roi.first = parts[0].toInt(&okFirst);
                roi.last = parts[1].toInt(&okLast);
            }
            if (!okFirst || !okLast || roi.first < 0 || roi.last < roi.first ||
                roi.last >= channels)
                return errorReply(QStringLiteral("Bad ROI at line %1 of %2").arg(i + 1).arg(path));
            roi.label = parts.mid(2).join(u' ');
            rois.push_back(roi);
        }
        current().rois = std::move(rois);
        return QStringLiteral("OK");
    } catch (const Failure &failure) {
        return errorReply(failure.description());
    }
}

QString SimulatedHost::LoadConfig(QString &configuration, QString &second)
{
    Q_UNUSED(second);
    if (const auto e = enter("LoadConfig"))
        return *e;
    const QString name = configuration.trimmed();
    if (name.isEmpty())
        return errorReply(QStringLiteral("No configuration named"));
    m_configuration = name;
    return QStringLiteral("OK");
}

QString SimulatedHost::reportPath() const
{
    return m_settings.reportPath.isEmpty() ? defaultReportPath() : m_settings.reportPath;
}

QString SimulatedHost::resolveFile(const QString &name, const QString &defaultSuffix) const
{
    QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw Failure(QStringLiteral("No file name given"));
    // AskName saves the report and the spectrum under one name: the kind of
    // file is told by its extension, so neither overwrites the other.
    if (!defaultSuffix.isEmpty() && QFileInfo(trimmed).suffix().isEmpty())
        trimmed += defaultSuffix;
    if (hasFolder(trimmed) && !m_settings.confineToDataFolder)
        return designPath(trimmed);
    if (hasFolder(trimmed))
        trimmed = QFileInfo(designPath(trimmed)).fileName();
    return joinPath(dataFolder(), trimmed);
}

QString SimulatedHost::dataFolder() const
{
    return m_settings.dataFolder.isEmpty()
               ? designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\Data"))
               : m_settings.dataFolder;
}

QString SimulatedHost::saveTarget(const QString &name, const QString &defaultSuffix) const
{
    const QString path =
        QDir::cleanPath(QFileInfo(resolveFile(name, defaultSuffix)).absoluteFilePath());
    // The host writes only into its own folders: a name climbing out with ".."
    // or naming a folder elsewhere must not overwrite another program's file.
    for (const QString &root : {dataFolder(), m_settings.printFolder, lumenRoot()}) {
        if (root.isEmpty())
            continue;
        const QString folder = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
        if (path.startsWith(folder + u'/'))
            return path;
    }
    throw Failure(QStringLiteral("Cannot save outside the host's folders: ") + name.trimmed());
}

} // namespace lumen
