#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumen {

/**
 * One reply line of the host bridge as the client reads it (see
 * HostProtocol.h). Every read is checked: a reply that is not what the call
 * expects gives nothing, and the client then reports it as unreadable.
 */
class HostReply
{
public:
    /**
     * The reply in a line, or nothing when the line is no reply. A failure
     * reply throws Failure with the bridge's description.
     */
    static std::optional<HostReply> parse(const QByteArray &line);

    /** The result as a text, nothing when it is another value. */
    std::optional<QString> text() const;
    /** The result as a number, nothing when it is another value. */
    std::optional<double> number() const;
    /** The result as a whole number (0 for a number with a fraction), nothing when no number. */
    std::optional<qint64> wholeNumber() const;
    /** Copies the result's counts into `counts` (never past its size); false when no list. */
    bool fillCounts(std::vector<std::int32_t> &counts) const;

    /**
     * The by-reference arguments as the host left them; the arguments as sent
     * when the reply does not give back as many.
     */
    QJsonArray argsBack(const QJsonArray &sent) const;

    static QString textAt(const QJsonArray &args, int i);
    static double realAt(const QJsonArray &args, int i, double fallback);
    /** `fallback` when the value is no number or lies outside 16 bits. */
    static std::int16_t int16At(const QJsonArray &args, int i, std::int16_t fallback);

private:
    explicit HostReply(QJsonObject object);

    QJsonObject m_object;
};

} // namespace lumen
