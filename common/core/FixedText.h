#pragma once

#include <QString>
#include <QStringView>

namespace lumen {

/** A fixed-width text field: cut on the right when longer, blank-padded when shorter. */
QString fixedWidth(QStringView text, int width);

/** Characters from 1-based position `start`, at most `count` of them (fewer near the end). */
QString midText(QStringView text, int start, int count = -1);

/** Removes leading and trailing blanks (spaces only, as the design's trim does). */
QString trimBlanks(QStringView text);

} // namespace lumen
