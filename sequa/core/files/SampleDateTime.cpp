#include "sequa/core/files/SampleDateTime.h"

#include "common/core/Clock.h"
#include "common/core/DateText.h"

namespace lumen::sequa {

namespace {
const QString kDatePattern = QStringLiteral("DD-MMM-YYYY");
const QString kTimePattern = QStringLiteral("HH:MM:SS");
} // namespace

QString SampleDateTime::formatAsDate(const QString &text)
{
    if (const auto date = parseDate(text))
        return formatDate(*date, kDatePattern);
    if (const auto moment = parseDateTime(text))
        return formatDate(moment->date(), kDatePattern);
    return text;
}

QString SampleDateTime::formatAsTime(const QString &text)
{
    if (const auto time = parseTime(text))
        return formatTime(*time, kTimePattern);
    if (const auto moment = parseDateTime(text))
        return formatTime(moment->time(), kTimePattern);
    return text;
}

bool SampleDateTime::isDate(const QString &text)
{
    return parseDate(text).has_value() || parseDateTime(text).has_value();
}

bool SampleDateTime::isTime(const QString &text)
{
    return parseTime(text).has_value();
}

QString SampleDateTime::today()
{
    return formatDate(currentClock().today(), kDatePattern);
}

QString SampleDateTime::now()
{
    return formatTime(currentClock().now().time(), kTimePattern);
}

SampleDateTime::Kind SampleDateTime::kindOf(const QString &text)
{
    if (parseTime(text))
        return Kind::TimeOfDay;
    if (isDate(text))
        return Kind::Date;
    return Kind::Neither;
}

} // namespace lumen::sequa
