#pragma once

#include <QList>
#include <QString>
#include <array>
#include <cstdint>

namespace lumen::ledgerly {

/** One peak row of a nuclide block; energies in keV, counts in counts. */
struct PeakRow
{
    float energy = 0.0f;
    float rowActivity = 0.0f;
    float netCounts = 0.0f;
    float grossCounts = 0.0f;
};

/** One nuclide block with its peak rows 1..kMaxRows (slot 0 is never used). */
struct NuclideBlock
{
    static constexpr int kMaxRows = 25;

    QString nuclideName; ///< exactly 6 characters as stored; trimmed when used
    std::int16_t rowCount = 0;
    std::array<PeakRow, kMaxRows + 1> rows{};
    /** Rows past kMaxRows, in report order: the long tables take them. */
    QList<PeakRow> moreRows;
};

/**
 * The last results report read. A read overwrites what it finds and leaves the
 * rest: header values survive a report that lacks their line, and rows of
 * blocks beyond `nuclideCount` stay in memory unused.
 */
struct ReportResult
{
    static constexpr int kMaxBlocks = 100;
    static constexpr int kSampleIdWidth = 72;
    static constexpr int kSpectrumFileWidth = 18;
    static constexpr int kReportDateWidth = 30;
    static constexpr int kActivityDateWidth = 24;

    ReportResult();

    QString sampleId;            ///< always 72 characters
    QString spectrumFile;        ///< always 18 characters
    QString reportDate;          ///< always 30 characters
    QString activityDate;        ///< always 24 characters
    float reportLiveTime = 0.0f; ///< seconds
    float reportDeadTime = 0.0f; ///< percent
    std::int16_t nuclideCount = 0;
    bool corrCoeffLayout = false;

    /** Blocks 1..kMaxBlocks; slot 0 is never used. */
    std::array<NuclideBlock, kMaxBlocks + 1> blocks{};
    /** Blocks past kMaxBlocks, in report order (not in `nuclideCount`): the long tables take them.
     */
    QList<NuclideBlock> moreBlocks;
};

} // namespace lumen::ledgerly
