#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace lumen {
class HostApp;
}

namespace lumen::sequa {

/**
 * The fourteen text fields of one region of interest, as the host delivers
 * them. Values stay exactly as the host wrote them; nothing is parsed.
 */
class RoiDataRecord
{
public:
    static constexpr int kFieldCount = 14;

    /** One field: the host's key and the 10-character label the dump puts before it. */
    struct Field
    {
        const char *key;
        const char *label;
    };

    /** The fields in the order every writer and the viewer use. */
    static const std::array<Field, kFieldCount> &fields();

    /**
     * The field's value in a host reply: everything from its third character
     * on, whatever the first two are (an error text is not told apart).
     */
    static QString valueOfReply(const QString &reply);

    /** One GetROIData call for one field of one ROI. */
    static QString fetch(HostApp &host, std::int16_t roi, const QString &key);

    /** All fourteen fields of a ROI, one call each, in table order. */
    static RoiDataRecord fetchAll(HostApp &host, std::int16_t roi);

    const QStringList &values() const { return m_values; }

private:
    QStringList m_values;
};

} // namespace lumen::sequa
