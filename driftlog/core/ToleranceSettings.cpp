#include "driftlog/core/ToleranceSettings.h"

#include "common/core/Cp1252.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/OutsideFile.h"
#include "common/core/TextFile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace lumen::driftlog {

std::optional<double> ToleranceSettings::halfLifeOf(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*([0-9]+(?:\\.[0-9]*)?(?:[eE][-+]?[0-9]+)?)\\s*([a-zA-Z]+)\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString unit = m.captured(2).toLower();
    double seconds = 0.0;
    if (unit == QLatin1String("s"))
        seconds = 1.0;
    else if (unit == QLatin1String("min"))
        seconds = 60.0;
    else if (unit == QLatin1String("h"))
        seconds = 3600.0;
    else if (unit == QLatin1String("d"))
        seconds = 86400.0;
    else if (unit == QLatin1String("y") || unit == QLatin1String("a"))
        seconds = 365.25 * 86400.0; // the Julian year of the nuclear data tables
    else
        return std::nullopt;
    const double value = lumen::numericValue(m.captured(1)) * seconds;
    if (!(value > 0.0) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

ToleranceSettings ToleranceSettings::parse(QByteArrayView bytes)
{
    ToleranceSettings settings;
    const QStringList lines = lumen::textfile::splitLines(lumen::fromCp1252(bytes));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lumen::trimBlanks(lines[n].section(QLatin1Char('#'), 0, 0));
        if (line.isEmpty())
            continue;
        const auto bad = [&](const QString &why) {
            return lumen::Failure(QStringLiteral("%1 line %2: %3: %4")
                                      .arg(QLatin1String(kFileName))
                                      .arg(n + 1)
                                      .arg(why, lines[n]));
        };
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            throw bad(QStringLiteral("no \"key = value\""));
        const QString key = lumen::trimBlanks(QStringView(line).left(eq)).toLower();
        const QString value = lumen::trimBlanks(QStringView(line).mid(eq + 1));
        if (key == QLatin1String("rules")) {
            try {
                settings.rules = RuleSet::parse(value);
            } catch (const lumen::Failure &f) {
                throw bad(f.description());
            }
            continue;
        }
        if (key == QLatin1String("halflife")) {
            settings.halfLifeSeconds = halfLifeOf(value);
            if (!settings.halfLifeSeconds)
                throw bad(QStringLiteral("the half-life is no positive number with a unit "
                                         "(s, min, h, d or y)"));
            continue;
        }
        std::optional<double> *target = nullptr;
        if (key == QLatin1String("gain"))
            target = &settings.gain;
        else if (key == QLatin1String("kev"))
            target = &settings.keV;
        else if (key == QLatin1String("fwhm"))
            target = &settings.fwhm;
        else if (key == QLatin1String("rate"))
            target = &settings.rate;
        else
            throw bad(
                QStringLiteral("the key is none of gain, kev, fwhm, rate, halflife and rules"));
        if (!lumen::isNumberText(value) || !(lumen::numericValue(value) > 0.0))
            throw bad(QStringLiteral("the tolerance is no positive number"));
        *target = lumen::numericValue(value);
    }
    return settings;
}

ToleranceSettings ToleranceSettings::load(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    return parse(lumen::outsidefile::read(path, lumen::outsidefile::kSettingsCap));
}

} // namespace lumen::driftlog
