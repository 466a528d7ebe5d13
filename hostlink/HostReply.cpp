#include "hostlink/HostReply.h"

#include "common/core/Failure.h"

#include <QJsonDocument>

namespace lumen {

HostReply::HostReply(QJsonObject object) : m_object(std::move(object)) {}

std::optional<HostReply> HostReply::parse(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject object = doc.object();
    if (object.contains(QStringLiteral("failure")))
        throw Failure(object.value(QStringLiteral("failure")).toString());
    if (!object.contains(QStringLiteral("result")))
        return std::nullopt;
    return HostReply(object);
}

std::optional<QString> HostReply::text() const
{
    const QJsonValue result = m_object.value(QStringLiteral("result"));
    if (!result.isString())
        return std::nullopt;
    return result.toString();
}

std::optional<double> HostReply::number() const
{
    const QJsonValue result = m_object.value(QStringLiteral("result"));
    if (!result.isDouble())
        return std::nullopt;
    return result.toDouble();
}

std::optional<qint64> HostReply::wholeNumber() const
{
    const QJsonValue result = m_object.value(QStringLiteral("result"));
    if (!result.isDouble())
        return std::nullopt;
    return result.toInteger();
}

bool HostReply::fillCounts(std::vector<std::int32_t> &counts) const
{
    const QJsonValue result = m_object.value(QStringLiteral("result"));
    if (!result.isArray())
        return false;
    const QJsonArray values = result.toArray();
    const qsizetype n = std::min<qsizetype>(values.size(), qsizetype(counts.size()));
    for (qsizetype i = 0; i < n; ++i)
        counts[std::size_t(i)] = std::int32_t(values.at(i).toInteger());
    return true;
}

QJsonArray HostReply::argsBack(const QJsonArray &sent) const
{
    const QJsonArray back = m_object.value(QStringLiteral("args")).toArray();
    return back.size() == sent.size() ? back : sent;
}

QString HostReply::textAt(const QJsonArray &args, int i)
{
    return args.at(i).toString();
}

double HostReply::realAt(const QJsonArray &args, int i, double fallback)
{
    return args.at(i).toDouble(fallback);
}

std::int16_t HostReply::int16At(const QJsonArray &args, int i, std::int16_t fallback)
{
    const double v = args.at(i).toDouble(fallback);
    return v >= -32768.0 && v <= 32767.0 ? std::int16_t(v) : fallback;
}

} // namespace lumen
