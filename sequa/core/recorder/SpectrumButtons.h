#pragma once

#include "sequa/core/recorder/ButtonHandover.h"

namespace lumen::sequa {

class CommandRunner;
class MainModel;

/**
 * The eighteen buttons of the frame "Spectrum": the sample's date, time,
 * units, quantity, identifier and file name asked from the operator or read
 * from value files, spectra saved, copied and labelled, counts and ROI
 * results shown. Each records its line; in Immediate Test Mode several first
 * do what their command will do when the script runs.
 */
class SpectrumButtons
{
public:
    SpectrumButtons(MainModel &model, CommandRunner &runner);

    // Operator-prompt previews
    void askTime();
    void askDate();
    void askUnits();
    void askQuantity();
    void askId();
    void askName();
    // Value-file buttons
    void getTime();
    void getDate();
    void getUnits();
    void getQuantity();
    void getSpectrumName();
    void getId();
    // The rest
    void getCounts();
    void numberOfChannels();
    void getRoiData();
    void setInfo();
    void copySpectrum();
    void saveSpectrum();

private:
    /** The operator's answer to an Ask button's box, asked only in Immediate Test Mode. */
    QString askOperator(const QString &prompt, const QString &title);

    MainModel &m_model;
    ButtonHandover m_handover;
};

} // namespace lumen::sequa
