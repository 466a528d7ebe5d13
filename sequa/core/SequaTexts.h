#pragma once

#include <QString>
#include <QStringList>

namespace lumen::sequa {

/** Title of every message box the program shows. */
inline const QString kProgramTitle = QStringLiteral("Sequa");
/** Automation identifier of the host object. */
inline const QString kHostIdentifier = QStringLiteral("LmnPro.clsLmn");

inline const QString kNoConnection = QStringLiteral("No Connection");
inline const QString kConnected = QStringLiteral("Connected to Lumen");
inline const QString kScriptFull = QStringLiteral("Script has reached maximum length.");

/** Texts of the analysis type list, in the order the list shows them. */
inline const QStringList kAnalysisTypes = {QStringLiteral("PeakFind"), QStringLiteral("PeakIdent"),
                                           QStringLiteral("RapidScan"),
                                           QStringLiteral("ROIDirected")};

/** Object names of the nine command frames, in the order they are switched. */
inline const QStringList kCommandFrames = {
    QStringLiteral("frmAcquisition"), QStringLiteral("frmPresets"), QStringLiteral("frmElapsed"),
    QStringLiteral("frmSpectrum"),    QStringLiteral("frmLoad"),    QStringLiteral("frmAnalysis"),
    QStringLiteral("frmLoops"),       QStringLiteral("frmExtProg"), QStringLiteral("frmWait")};

} // namespace lumen::sequa
