#include "common/core/DateText.h"

#include <QRegularExpression>
#include <cmath>

namespace lumen {
namespace {

const char *const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                               "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

int monthOfName(const QString &name)
{
    const QString upper = name.left(3).toUpper();
    if (name.size() < 3)
        return 0;
    for (int m = 0; m < 12; ++m)
        if (upper == QLatin1String(kMonths[m]))
            return m + 1;
    return 0;
}

int fullYear(int year, int digits)
{
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

std::optional<QDate> validDate(int y, int m, int d)
{
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// A date at the start of `text`; `used` gets the number of characters taken.
std::optional<QDate> leadingDate(const QString &text, int *used)
{
    static const QRegularExpression dmy(
        QStringLiteral("^(\\d{1,2})[- ]([A-Za-z]{3,9})[- ](\\d{4}|\\d{2})([01](?=\\s|$)| $)?"));
    static const QRegularExpression mdy(
        QStringLiteral("^([A-Za-z]{3,9})\\.? +(\\d{1,2}),? +(\\d{4}|\\d{2})"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})"));
    static const QRegularExpression slash(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})"));
    static const QRegularExpression dotted(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})"));

    QRegularExpressionMatch m;
    if ((m = dmy.match(text)).hasMatch()) {
        const int month = monthOfName(m.captured(2));
        if (month == 0)
            return std::nullopt;
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2) {
            // A century character after a two-digit year: '1' is 20xx, '0' or blank 19xx.
            const QString century = m.captured(4);
            if (century == QLatin1String("1"))
                year += 2000;
            else if (century == QLatin1String("0") || century == QLatin1String(" "))
                year += 1900;
            else
                year = fullYear(year, 2);
        }
        *used = int(m.capturedLength(0));
        return validDate(year, month, m.captured(1).toInt());
    }
    if ((m = mdy.match(text)).hasMatch()) {
        const int month = monthOfName(m.captured(1));
        if (month == 0)
            return std::nullopt;
        *used = int(m.capturedLength(0));
        return validDate(fullYear(m.captured(3).toInt(), int(m.captured(3).size())), month,
                         m.captured(2).toInt());
    }
    if ((m = iso.match(text)).hasMatch()) {
        *used = int(m.capturedLength(0));
        return validDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    }
    if ((m = slash.match(text)).hasMatch()) {
        *used = int(m.capturedLength(0));
        return validDate(fullYear(m.captured(3).toInt(), int(m.captured(3).size())),
                         m.captured(1).toInt(), m.captured(2).toInt());
    }
    if ((m = dotted.match(text)).hasMatch()) {
        *used = int(m.capturedLength(0));
        return validDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    }
    return std::nullopt;
}

/**
 * Takes an offset from UTC off the end of `text` ("Z", "+HH:MM", "+HHMM",
 * "+HH", or with "-"): its seconds east of UTC, or nothing (text unchanged).
 */
std::optional<int> takeUtcOffset(QString &text)
{
    static const QRegularExpression zone(
        QStringLiteral("(?<=\\d)\\s*(?:(Z)|([+-])(\\d{2})(?::?(\\d{2}))?)$"));
    const auto m = zone.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int seconds = 0;
    if (m.captured(1).isEmpty()) {
        const int hours = m.captured(3).toInt();
        const int minutes = m.captured(4).toInt();
        if (hours > 14 || minutes > 59)
            return std::nullopt;
        seconds = (hours * 60 + minutes) * 60 * (m.captured(2) == QLatin1String("-") ? -1 : 1);
    }
    text.truncate(m.capturedStart(0));
    return seconds;
}

} // namespace

QString monthAbbreviation(int month)
{
    if (month < 1 || month > 12)
        return QString();
    const QString upper = QLatin1String(kMonths[month - 1]);
    return upper.left(1) + upper.mid(1).toLower();
}

// Only leading blanks go before matching: a trailing blank may be a century character.
static QString withoutLeadingBlanks(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return text.mid(i);
}

std::optional<QDate> parseDate(const QString &text)
{
    const QString t = withoutLeadingBlanks(text);
    int used = 0;
    auto date = leadingDate(t, &used);
    if (!date || !t.mid(used).trimmed().isEmpty())
        return std::nullopt;
    return date;
}

std::optional<QTime> parseTime(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:\\.(\\d{1,9}))?)?\\s*([AaPp][Mm])?$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const QString ampm = m.captured(5).toUpper();
    if (!ampm.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (ampm == QLatin1String("PM") ? 12 : 0);
    }
    const QTime time(
        hour, m.captured(2).toInt(), m.captured(3).toInt(),
        m.captured(4).isEmpty() ? 0 : m.captured(4).left(3).leftJustified(3, u'0').toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}

std::optional<QDateTime> parseDateTime(const QString &text)
{
    const QString t = withoutLeadingBlanks(text);
    int used = 0;
    auto date = leadingDate(t, &used);
    if (!date)
        return std::nullopt;
    QString rest = t.mid(used);
    if (rest.startsWith(u'T'))
        rest.remove(0, 1);
    rest = rest.trimmed();
    if (rest.isEmpty())
        return localDateTime(*date, QTime(0, 0));
    const std::optional<int> offset = takeUtcOffset(rest);
    auto time = parseTime(rest);
    if (!time)
        return std::nullopt;
    if (offset)
        return QDateTime(*date, *time, Qt::OffsetFromUTC, *offset);
    return localDateTime(*date, *time);
}

QDateTime localDateTime(const QDate &date, const QTime &time)
{
    // The wall clock read as if it were UTC; a moment it can stand for lies
    // within a day of it, at the offset in force a day before or a day after.
    const qint64 wall = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    constexpr qint64 kDay = 86400000;
    const auto offsetAt = [](qint64 ms) {
        return qint64(QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime).offsetFromUtc()) * 1000;
    };
    const qint64 before = offsetAt(wall - kDay);
    const qint64 after = offsetAt(wall + kDay);
    std::optional<qint64> moment;
    for (const qint64 offset : {before, after}) {
        const qint64 candidate = wall - offset;
        // The local clock shows `wall` at this moment; of two, the later one.
        if (offsetAt(candidate) == offset && (!moment || candidate > *moment))
            moment = candidate;
    }
    // None: the change skipped this time. At the offset before the change the
    // moment falls after it, where the clock shows the time that much later.
    return QDateTime::fromMSecsSinceEpoch(moment ? *moment : wall - before, Qt::LocalTime);
}

double toOleDate(const QDateTime &dateTime)
{
    static const QDate epoch(1899, 12, 30);
    const double days = double(epoch.daysTo(dateTime.date()));
    const double fraction = dateTime.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the epoch the fraction still counts forward from midnight.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromOleDate(double oleDate)
{
    static const QDate epoch(1899, 12, 30);
    // The range OLE dates cover (1 January 100 to 31 December 9999); beyond
    // it, or not a number, the day count would not fit its integer.
    if (!(oleDate > -657435.0 && oleDate < 2958466.0))
        return QDateTime();
    const double whole = std::trunc(oleDate);
    const double fraction = std::fabs(oleDate - whole);
    qint64 ms = qint64(std::llround(fraction * 86400000.0));
    qint64 days = qint64(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        days += oleDate >= 0 ? 1 : -1;
    }
    return localDateTime(epoch.addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QString formatDateTime(const QDateTime &dateTime, QStringView pattern)
{
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    QString out;
    bool afterHour = false;
    int i = 0;
    const int n = int(pattern.size());
    auto run = [&](QChar c) {
        int k = i;
        while (k < n && pattern[k].toLower() == c)
            ++k;
        return k - i;
    };
    while (i < n) {
        const QChar c = pattern[i].toLower();
        const int len = (c == u'y' || c == u'm' || c == u'd' || c == u'h' || c == u'n' || c == u's')
                            ? run(c)
                            : 1;
        if (c == u'y') {
            out += len >= 4 ? QString::number(d.year()).rightJustified(4, u'0')
                            : QString::number(d.year() % 100).rightJustified(2, u'0');
        } else if (c == u'm') {
            if (len >= 3)
                out += monthAbbreviation(d.month());
            else if (afterHour)
                out += QString::number(t.minute()).rightJustified(len, u'0');
            else
                out += QString::number(d.month()).rightJustified(len, u'0');
            afterHour = false;
        } else if (c == u'd') {
            out += QString::number(d.day()).rightJustified(len, u'0');
        } else if (c == u'h') {
            out += QString::number(t.hour()).rightJustified(len, u'0');
            afterHour = true;
        } else if (c == u'n') {
            out += QString::number(t.minute()).rightJustified(len, u'0');
        } else if (c == u's') {
            out += QString::number(t.second()).rightJustified(len, u'0');
        } else {
            out += pattern[i];
        }
        i += len;
    }
    return out;
}

QString formatDate(const QDate &date, QStringView pattern)
{
    return formatDateTime(QDateTime(date, QTime(0, 0)), pattern);
}

QString formatTime(const QTime &time, QStringView pattern)
{
    return formatDateTime(QDateTime(QDate(1899, 12, 30), time), pattern);
}

} // namespace lumen
