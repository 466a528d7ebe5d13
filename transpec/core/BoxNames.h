#pragma once

#include <QString>
#include <QStringList>

// Names of the converter window's boxes; they are also the controls' object names.
namespace lumen::transpec::box {

inline const QString SpcToRead = QStringLiteral("SpcToRead");
inline const QString AnsToWrite = QStringLiteral("AnsToWrite");

inline const QString fType = QStringLiteral("fType");
inline const QString SpcID = QStringLiteral("SpcID");
inline const QString SpcID_line2 = QStringLiteral("SpcID_line2");
inline const QString AcqDate = QStringLiteral("AcqDate");
inline const QString AcqTime = QStringLiteral("AcqTime");
inline const QString SizTxt = QStringLiteral("SizTxt");
inline const QString UnitsTxt = QStringLiteral("UnitsTxt");
inline const QString SpcSamDate = QStringLiteral("SpcSamDate");
inline const QString SpcSamTime = QStringLiteral("SpcSamTime");
inline const QString LiveTime = QStringLiteral("LiveTime");
inline const QString RealTime = QStringLiteral("RealTime");
inline const QString NumChan = QStringLiteral("NumChan");
inline const QString AnsID = QStringLiteral("AnsID");
inline const QString AnsRT = QStringLiteral("AnsRT");
inline const QString AnsLT = QStringLiteral("AnsLT");
inline const QString AnsSize = QStringLiteral("AnsSize");
inline const QString AnsUnits = QStringLiteral("AnsUnits");
inline const QString AnsType = QStringLiteral("AnsType");
inline const QString AnsNumChan = QStringLiteral("AnsNumChan");
inline const QString AnsSamDate = QStringLiteral("AnsSamDate");
inline const QString AnsSamTime = QStringLiteral("AnsSamTime");
inline const QString AnsMcaDate = QStringLiteral("AnsMcaDate");
inline const QString AnsMcaTime = QStringLiteral("AnsMcaTime");
inline const QString C0 = QStringLiteral("C0");
inline const QString C1 = QStringLiteral("C1");
inline const QString C2 = QStringLiteral("C2");
inline const QString C3 = QStringLiteral("C3");
inline const QString GrpSize = QStringLiteral("GrpSize");

/** The 28 incoming and converted boxes that every open empties. */
inline const QStringList kSpectrumBoxes = {
    fType,      SpcID,      SpcID_line2, AcqDate,  AcqTime,    SizTxt,     UnitsTxt,
    SpcSamDate, SpcSamTime, LiveTime,    RealTime, NumChan,    AnsID,      AnsRT,
    AnsLT,      AnsSize,    AnsUnits,    AnsType,  AnsNumChan, AnsSamDate, AnsSamTime,
    AnsMcaDate, AnsMcaTime, C0,          C1,       C2,         C3,         GrpSize};

} // namespace lumen::transpec::box
