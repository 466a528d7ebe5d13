#include "simhost/NuclideLibrary.h"

#include "simhost/SourceModel.h"

#include <cmath>

namespace lumen {

namespace {

constexpr double kDaysPerYear = 365.25;

Nuclide nuclide(const QString &name, double halfLifeYears,
                std::initializer_list<std::pair<double, double>> lines)
{
    Nuclide n;
    n.name = name;
    n.halfLifeDays = halfLifeYears * kDaysPerYear;
    for (const auto &[energy, yield] : lines) {
        // The library's efficiencies come from a calibration made a while ago:
        // close to the detector's present curve, but not identical to it.
        const double efficiency = SourceModel::detectorEfficiency(energy) * 1.03;
        n.lines.push_back({energy, yield, efficiency});
    }
    return n;
}

QString baseName(const QString &name)
{
    QString s = name.trimmed();
    const qsizetype cut = std::max(s.lastIndexOf(u'\\'), s.lastIndexOf(u'/'));
    if (cut >= 0)
        s = s.mid(cut + 1);
    return s.toUpper();
}

} // namespace

QStringList NuclideLibrary::builtInNames()
{
    return {QStringLiteral("STANDARD.LIB"), QStringLiteral("QC.LIB")};
}

std::optional<NuclideLibrary> NuclideLibrary::builtIn(const QString &name)
{
    const QString wanted = baseName(name);
    NuclideLibrary lib;
    const Nuclide cs = nuclide(QStringLiteral("CS-137"), 30.08, {{661.66, 0.851}});
    const Nuclide co =
        nuclide(QStringLiteral("CO-60"), 5.2714, {{1173.23, 0.9985}, {1332.49, 0.9998}});
    if (wanted == QLatin1String("STANDARD.LIB")) {
        lib.name = wanted;
        lib.nuclides = {nuclide(QStringLiteral("AM-241"), 432.6, {{59.54, 0.359}}),
                        nuclide(QStringLiteral("BA-133"), 10.51, {{81.0, 0.329}, {356.01, 0.621}}),
                        cs, co, nuclide(QStringLiteral("K-40"), 1.248e9, {{1460.82, 0.1066}})};
        return lib;
    }
    if (wanted == QLatin1String("QC.LIB")) {
        lib.name = wanted;
        lib.nuclides = {cs, co};
        return lib;
    }
    return std::nullopt;
}

std::optional<std::pair<int, int>> NuclideLibrary::match(double energy, double tolerance) const
{
    std::optional<std::pair<int, int>> best;
    double bestDistance = tolerance;
    for (int n = 0; n < int(nuclides.size()); ++n) {
        for (int l = 0; l < int(nuclides[n].lines.size()); ++l) {
            const double distance = std::abs(nuclides[n].lines[l].energy - energy);
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = std::make_pair(n, l);
            }
        }
    }
    return best;
}

} // namespace lumen
