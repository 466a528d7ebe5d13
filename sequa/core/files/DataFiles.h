#pragma once

#include <QDate>
#include <QString>
#include <cstdint>

namespace lumen::sequa {

class MainModel;

/**
 * The data files Sequa writes for other programs and the operator: the
 * day's ROI log, the dump of one ROI, the channel counts and the dead time.
 * Each call opens, writes and closes its file; a failure (the host failing, a
 * file that cannot be written) ends the call with Failure and leaves what
 * was already written in the file.
 */
class DataFiles
{
public:
    /** Channels the counts buffer holds: the largest spectrum handled. */
    static constexpr int kMaxChannels = 16384;
    /** Width of every column of the ROI log, in characters. */
    static constexpr int kLogColumnWidth = 14;

    explicit DataFiles(MainModel &model);

    /** Appends rows for ROIs 1..count to the day's ROI log, with its header on a new file. */
    void LogRoiData(std::int16_t count);
    /** Rewrites "LroiDat.txt" with the fourteen fields of one ROI. */
    void DumpRoiData(std::int16_t roi);
    /**
     * Rewrites "LchanDat.txt" with one line per channel and shows
     * "Maximum count is " + the largest count in the status box.
     */
    void DumpChannelCounts();
    /**
     * Completes the name (program folder, ".txt" when no extension is seen),
     * hands it back and rewrites that file with the host's dead time.
     */
    void SaveDeadTime(QString &name);

    /** "ROI_Data_" + yymmdd + ".txt" for that day. */
    static QString roiLogFileName(const QDate &day);
    /** The name SaveDeadTime writes, for a given program folder. */
    static QString completeDeadTimeName(const QString &name, const QString &folder);

    static const QString kRoiDumpFileName;
    static const QString kChannelFileName;
    static const QString kRoiLogHeader;

private:
    QString pathOf(const QString &name) const;

    MainModel &m_model;
};

} // namespace lumen::sequa
