#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace lumen {

/**
 * The MCA host's automation object, method for method under the host's own
 * names. Replies are CommandReply strings ("OK" + payload on success, any
 * other text an error) unless a method says otherwise. Arguments the host
 * takes by reference are non-const references.
 *
 * A call that cannot be made (transport down, host gone, host-side failure)
 * throws Failure with a clear description. testconnect never throws: an
 * unreachable host answers a text other than "OK" that says why.
 */
class HostApp
{
public:
    virtual ~HostApp() = default;

    /** "OK" when ready; anything else means not connected. Never throws. */
    virtual QString testconnect() = 0;

    virtual QString Minimize() = 0;
    virtual QString Maximize() = 0;
    virtual QString StartAcquire() = 0;
    virtual QString StopAcquire() = 0;
    virtual QString Erasespectrum() = 0;
    virtual QString presetsoff() = 0;
    virtual QString presetson() = 0;
    virtual QString SetUseLibEff() = 0;
    virtual QString ClearUseLibEff() = 0;

    /** Bare status text; exactly "Reached Preset" once the preset is reached. */
    virtual QString GetAcquireStatus() = 0;
    /** Bare number of seconds as text. */
    virtual QString GetElapsedReal() = 0;
    virtual QString GetElapsedLive() = 0;
    /** Number of channels of the primary spectrum. */
    virtual std::int32_t NumberOfCounts() = 0;

    /** Payload = library name, "Not Valid" when none is selected. */
    virtual QString GetLibrary() = 0;
    /** Payload read as a number: non-zero = library efficiencies in use. */
    virtual QString GetUseLibEff() = 0;

    /** seconds */
    virtual QString SetRealPreset(double &seconds) = 0;
    /** seconds */
    virtual QString SetLivePreset(double &seconds) = 0;
    virtual QString SetSpectrumID(QString &id) = 0;
    virtual QString SaveSpt(QString &fileName) = 0;
    virtual QString CopySpt(std::int16_t &destination, std::int16_t &source) = 0;
    /** No result is read by callers. */
    virtual void SampleQuantity(float quantity) = 0;
    virtual QString SampleDate(QString &text) = 0;
    virtual QString SampleTime(QString &text) = 0;
    virtual QString SampleUnits(QString &text) = 0;
    /** Payload = the value of one of the fourteen ROI fields named by `key`. */
    virtual QString GetROIData(std::int16_t &roi, const QString &key) = 0;
    virtual QString setprimary(std::int16_t &spectrum) = 0;
    /** fileName arrives blank-padded to 255 characters; trailing blanks are ignored. */
    virtual QString ClsLoadROis(QString &fileName) = 0;
    /** configuration arrives blank-padded to 255 characters. */
    virtual QString LoadConfig(QString &configuration, QString &second) = 0;
    virtual QString Analyze(QString &analysisType) = 0;
    virtual QString PrintRprt(QString &analysisType) = 0;
    virtual QString SaveRprt(QString &analysisType, QString &fileName) = 0;
    virtual QString selectlibrary(QString &library) = 0;
    /** Payload "1" or "0". */
    virtual QString GetExtInput(std::int16_t &input) = 0;
    virtual QString SetExtOutput(std::int16_t &output, std::int16_t &state) = 0;
    /** Fills one count per channel from index 0; never writes past counts.size(). */
    virtual void GetCounts(std::vector<std::int32_t> &counts) = 0;
    /** The dead time value. */
    virtual double GetDeadtime() = 0;

    /**
     * Not one of the host's methods: tells a host reached over a bridge that
     * its controller is still there through a long quiet wait, so that the
     * bridge keeps the host held for it. Never throws; a host in process
     * needs nothing.
     */
    virtual void keepAlive() {}
};

} // namespace lumen
