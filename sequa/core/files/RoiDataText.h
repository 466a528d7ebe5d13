#pragma once

#include <QString>
#include <cstdint>

namespace lumen::sequa {

class MainModel;

/**
 * The text of the ROI data viewer: a heading with the ROI number, an empty
 * line and the fourteen fields of that ROI as the host gives them, each line
 * ended by CR LF. When the host is not connected or a call fails, the text
 * holds the fields fetched so far and one line saying what failed.
 */
class RoiDataText
{
public:
    /** What the viewer's box shows before it has loaded. */
    static const QString kNoData;

    /** Fetches the fields of one ROI from the model's host. */
    static QString load(MainModel &model, std::int16_t roi);
};

} // namespace lumen::sequa
