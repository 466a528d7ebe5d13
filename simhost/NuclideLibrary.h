#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lumen {

/** One gamma line of a library nuclide. */
struct NuclideLine
{
    double energy = 0.0;     ///< keV
    double yield = 0.0;      ///< photons per decay
    double efficiency = 0.0; ///< full-energy efficiency the library carries for this line
};

struct Nuclide
{
    QString name; ///< "CS-137"; at most 6 characters, the report's name column
    double halfLifeDays = 0.0;
    std::vector<NuclideLine> lines;
};

/** A nuclide library the simulated host can select by name. */
class NuclideLibrary
{
public:
    QString name;
    std::vector<Nuclide> nuclides;

    /**
     * The built-in library of that name ("STANDARD.LIB", "QC.LIB"); a folder
     * before the name and the letter case are ignored. Nothing when unknown.
     */
    static std::optional<NuclideLibrary> builtIn(const QString &name);
    static QStringList builtInNames();

    /**
     * The nuclide and line nearest to `energy` within `tolerance` keV, as
     * indexes into nuclides and its lines; nothing when no line is that close.
     */
    std::optional<std::pair<int, int>> match(double energy, double tolerance) const;
};

} // namespace lumen
