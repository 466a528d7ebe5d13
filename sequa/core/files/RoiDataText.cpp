#include "sequa/core/files/RoiDataText.h"

#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "hostlink/HostApp.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/files/RoiDataRecord.h"

#include <exception>

namespace lumen::sequa {

const QString RoiDataText::kNoData = QStringLiteral("No Data");

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
} // namespace

QString RoiDataText::load(MainModel &model, std::int16_t roi)
{
    QString text = QStringLiteral("Data for ROI #:") + numberToText(roi) + kLineEnd + kLineEnd;
    QString asking = QStringLiteral("testconnect");
    try {
        HostApp &host = model.hostAppObject();
        if (host.testconnect() != QStringLiteral("OK"))
            return text + kNoConnection + kLineEnd;
        for (const RoiDataRecord::Field &field : RoiDataRecord::fields()) {
            const QString key = QString::fromLatin1(field.key);
            asking = QStringLiteral("GetROIData ") + key;
            std::int16_t number = roi; // the host takes it by reference
            const QString reply = host.GetROIData(number, key);
            // An error text would otherwise pass for the field's value.
            if (!reply.startsWith(QStringLiteral("OK")))
                return text + asking + QStringLiteral(" failed: ") + reply + kLineEnd;
            text +=
                QString::fromLatin1(field.label) + RoiDataRecord::valueOfReply(reply) + kLineEnd;
        }
    } catch (const Failure &failure) {
        text += asking + QStringLiteral(" failed: ") + failure.description() + kLineEnd;
    } catch (const std::exception &error) {
        text +=
            asking + QStringLiteral(" failed: ") + QString::fromLocal8Bit(error.what()) + kLineEnd;
    }
    return text;
}

} // namespace lumen::sequa
