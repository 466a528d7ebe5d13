#include "sequa/core/files/RoiDataRecord.h"

#include "hostlink/HostApp.h"

namespace lumen::sequa {

const std::array<RoiDataRecord::Field, RoiDataRecord::kFieldCount> &RoiDataRecord::fields()
{
    static const std::array<Field, kFieldCount> table = {{
        {"ID", "      ID: "},
        {"NUCLIDE", " NUCLIDE: "},
        {"GROSS", "   GROSS: "},
        {"BKG", "     BKG: "},
        {"CONT", "    CONT: "},
        {"NET", "     NET: "},
        {"CENTROID", "CENTROID: "},
        {"CENTER", "  CENTER: "},
        {"PEAK", "    PEAK: "},
        {"FWHM", "    FWHM: "},
        {"ACTIVITY", "ACTIVITY: "},
        {"DETEFF", "  DETEFF: "},
        {"MDA", "     MDA: "},
        {"YIELD", "   YIELD: "},
    }};
    return table;
}

QString RoiDataRecord::valueOfReply(const QString &reply)
{
    return reply.size() > 2 ? reply.mid(2) : QString();
}

QString RoiDataRecord::fetch(HostApp &host, std::int16_t roi, const QString &key)
{
    // The host takes the ROI number by reference; our copy stays as asked.
    std::int16_t number = roi;
    return valueOfReply(host.GetROIData(number, key));
}

RoiDataRecord RoiDataRecord::fetchAll(HostApp &host, std::int16_t roi)
{
    RoiDataRecord record;
    for (const Field &field : fields())
        record.m_values.append(fetch(host, roi, QString::fromLatin1(field.key)));
    return record;
}

} // namespace lumen::sequa
