#pragma once

#include "ledgerly/core/ReportResult.h"

#include <QString>
#include <QStringList>

namespace lumen::ledgerly {

/** Append modes: which value of a peak row goes into its result column. */
enum AppendMode : int
{
    ActivityMode = 0,
    NetMode = 1,
    GrossMode = 2,
    BackgroundMode = 3
};

/** Naming and values of the result columns, one per peak row of the report. */
class ResultColumns
{
public:
    /** "@LINE", "@NET", "@GROSS", "@BKG", indexed by AppendMode. */
    static QStringList defaultModeMarkers();

    /**
     * The column for row `row` of block `block`: nuclide and energy (activity
     * mode, alternative layout), the nuclide alone (activity mode, fewer than
     * two rows) or nuclide + marker + row number; the first "." becomes ":".
     */
    static QString resultColumnName(const ReportResult &result, int block, int row, int appendMode,
                                    const QStringList &modeMarkers);

    /** The same for any block and row, also those past the wide table's design. */
    static QString resultColumnName(const NuclideBlock &nuclide, const PeakRow &peak, int row,
                                    bool corrCoeffLayout, int appendMode,
                                    const QStringList &modeMarkers);

    /** What a result column's name says of its value: nuclide, row and (by energy) energy. */
    struct NameParts
    {
        QString nuclide;
        int line = 1;      ///< the row within its block; 0 when the name gives an energy
        double energy = 0; ///< keV, when the name gives it
    };
    /** The nuclide, row and energy a name made by resultColumnName() carries. */
    static NameParts partsOf(const QString &column);

    /** "ACTIVITY", "NET", "GROSS" or "BKG": the mode as "SamRecords" names it. */
    static QString modeName(int appendMode);

    /** The value the mode stores for a row; background is gross minus net in single precision. */
    static float modeValue(const PeakRow &row, int appendMode);

    /**
     * False for names the results table cannot hold: empty, a "." left after
     * the first was replaced, quotes, brackets, "!", "`" or control characters,
     * or longer than 64 characters.
     */
    static bool isAcceptableName(const QString &name);
};

} // namespace lumen::ledgerly
