#include "driftlog/core/ToleranceSettings.h"

#include "common/core/Cp1252.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/OutsideFile.h"
#include "common/core/TextFile.h"

#include <QFileInfo>

namespace lumen::driftlog {

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
        if (!lumen::isNumberText(value) || !(lumen::numericValue(value) > 0.0))
            throw bad(QStringLiteral("the tolerance is no positive number"));
        if (key == QLatin1String("gain"))
            settings.gain = lumen::numericValue(value);
        else if (key == QLatin1String("kev"))
            settings.keV = lumen::numericValue(value);
        else
            throw bad(QStringLiteral("the key is neither gain nor kev"));
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
