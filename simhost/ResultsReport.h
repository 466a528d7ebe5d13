#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lumen {

/**
 * The results report the host's analysis writes, in the layout that the
 * archiver and the drift logger read: ID, File/Date, LT/RT/DT, activity
 * date, one block per identified nuclide with its peak table, and the peak
 * search table whose last row is the highest-energy peak.
 */
class ResultsReport
{
public:
    struct PeakRow
    {
        double energy = 0.0;      ///< keV
        double fwhm = 0.0;        ///< keV
        qint64 background = 0;    ///< counts
        qint64 gross = 0;         ///< counts
        qint64 continuum = 0;     ///< counts
        qint64 net = 0;           ///< counts
        double activity = 0.0;    ///< in the block's units
        double uncertainty = 0.0; ///< percent
    };
    struct NuclideBlock
    {
        QString name;
        double activity = 0.0;    ///< in `units`
        double uncertainty = 0.0; ///< percent
        std::vector<PeakRow> rows;
    };
    struct SearchRow
    {
        double channel = 0.0;
        double energy = 0.0; ///< keV
        double fwhm = 0.0;   ///< keV
        qint64 net = 0;      ///< counts
    };

    QString spectrumId;
    QString spectrumName;
    QDateTime start;                       ///< acquisition start, host clock
    double liveTime = 0.0;                 ///< seconds
    double realTime = 0.0;                 ///< seconds
    double deadTime = 0.0;                 ///< percent
    std::optional<QDateTime> activityDate; ///< nothing: "Measurement Date"
    QString analysisType;
    QString libraryName;
    QString units; ///< "Bq" or "Bq/" + sample units
    std::vector<NuclideBlock> blocks;
    std::vector<SearchRow> peaks; ///< ascending energy

    /** The report's lines, without line ends. */
    QStringList lines() const;

    /** 12644 -> "12,644"; negative numbers keep their sign. */
    static QString withThousands(qint64 value);
};

} // namespace lumen
