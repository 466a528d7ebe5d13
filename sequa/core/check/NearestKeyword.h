#pragma once

#include <QString>

namespace lumen::sequa {

/**
 * The keyword an unrecognised line was most likely meant to start with: one
 * that differs from the line's beginning by its letter case, one letter
 * missing or one letter too many, or two neighbouring letters swapped.
 */
class NearestKeyword
{
public:
    /** The keyword, or "" when none is that close. `trimmedLine` matches no row. */
    static QString of(const QString &trimmedLine);
    /**
     * The keyword of an exact row that the line starts with, followed by
     * more text ("Beep twice"): such a keyword must stand alone. "" otherwise.
     */
    static QString standAloneKeywordWithText(const QString &trimmedLine);
};

} // namespace lumen::sequa
