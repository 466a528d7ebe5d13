#pragma once

#include "hostlink/HostApp.h"
#include "simhost/HostClock.h"
#include "simhost/HostRandom.h"
#include "simhost/NuclideLibrary.h"
#include "simhost/PeakArea.h"
#include "simhost/SimulatedHostSettings.h"
#include "simhost/SourceModel.h"
#include "simhost/SpectrumMemory.h"

#include <QStringList>
#include <array>
#include <memory>
#include <optional>

namespace lumen {

class ResultsReport;

/**
 * The simulated MCA host behind the HostApp interface: eight spectrum
 * memories, acquisition with real and live time and presets on the host's
 * own clock, counts drawn from a source model with a seeded generator, ROIs
 * and their fourteen fields, libraries, external inputs and outputs, and the
 * analysis that writes the results report.
 *
 * Counts grow in steps of acquisition real time (1 s during the first
 * minute, 10 s to ten minutes, 60 s after; the last step of an acquisition
 * may be shorter), so the same seed gives the same counts however often or
 * seldom the host is asked while it counts.
 */
class SimulatedHost : public HostApp
{
public:
    static constexpr int kMemories = 8;
    static constexpr int kInputs = 2;
    static constexpr int kOutputs = 2;

    explicit SimulatedHost(const SimulatedHostSettings &settings = SimulatedHostSettings());

    /**
     * The host of this process that createHostAppObject hands out: one
     * application, however often a caller connects, as a real automation
     * server would be. Made from the environment on first use.
     */
    static std::shared_ptr<SimulatedHost> shared();
    /** Replaces the shared host (nullptr: a fresh one from the environment on next use). */
    static void resetShared(std::shared_ptr<SimulatedHost> host = nullptr);

    QString testconnect() override;
    QString Minimize() override;
    QString Maximize() override;
    QString StartAcquire() override;
    QString StopAcquire() override;
    QString Erasespectrum() override;
    QString presetsoff() override;
    QString presetson() override;
    QString SetUseLibEff() override;
    QString ClearUseLibEff() override;
    QString GetAcquireStatus() override;
    QString GetElapsedReal() override;
    QString GetElapsedLive() override;
    std::int32_t NumberOfCounts() override;
    QString GetLibrary() override;
    QString GetUseLibEff() override;
    QString SetRealPreset(double &seconds) override;
    QString SetLivePreset(double &seconds) override;
    QString SetSpectrumID(QString &id) override;
    QString SaveSpt(QString &fileName) override;
    QString CopySpt(std::int16_t &destination, std::int16_t &source) override;
    void SampleQuantity(float quantity) override;
    QString SampleDate(QString &text) override;
    QString SampleTime(QString &text) override;
    QString SampleUnits(QString &text) override;
    QString GetROIData(std::int16_t &roi, const QString &key) override;
    QString setprimary(std::int16_t &spectrum) override;
    QString ClsLoadROis(QString &fileName) override;
    QString LoadConfig(QString &configuration, QString &second) override;
    QString Analyze(QString &analysisType) override;
    QString PrintRprt(QString &analysisType) override;
    QString SaveRprt(QString &analysisType, QString &fileName) override;
    QString selectlibrary(QString &library) override;
    QString GetExtInput(std::int16_t &input) override;
    QString SetExtOutput(std::int16_t &output, std::int16_t &state) override;
    void GetCounts(std::vector<std::int32_t> &counts) override;
    double GetDeadtime() override;

    // For tests and the demo: the world around the host.
    /** Sets external input 1 or 2. */
    void setExternalInput(int input, bool on);
    /** State of external output 1 or 2. */
    bool externalOutput(int output) const;
    /** Moves the host clock forward (host seconds). */
    void advanceClock(double seconds);
    /** The host application ends: every later call fails, testconnect says so. */
    void goAway();
    /** Memory 1..8 as it stands now (acquisition brought up to date). */
    const SpectrumMemory &memory(int number);
    int primary() const { return m_primary; }
    const SourceModel &model() const { return m_model; }
    const SimulatedHostSettings &settings() const { return m_settings; }
    QString reportPath() const;
    /** Fraction of real time the detector is dead, from the model's count rate. */
    double deadFraction() const;
    bool isMinimized() const { return m_minimized; }

private:
    /** The host's reply to a call that failed. */
    static QString errorReply(const QString &description);
    /** Counts the call, applies the faults; an error reply to give instead, if any. */
    std::optional<QString> enter(const char *method);
    void enterOrThrow(const char *method);
    void update();
    void advanceMemory(SpectrumMemory &memory, double hostNow);
    void addCounts(SpectrumMemory &memory, double realSeconds);
    SpectrumMemory &current() { return m_memories[std::size_t(m_primary - 1)]; }
    /** A name without a folder lies in the data folder; one without an extension gets
     * `defaultSuffix`. */
    QString resolveFile(const QString &name, const QString &defaultSuffix = QString()) const;
    /** Where names without a folder are saved. */
    QString dataFolder() const;
    /** resolveFile() for a file the host writes; Failure when it lies outside the host's folders.
     */
    QString saveTarget(const QString &name, const QString &defaultSuffix) const;
    QString analyse(const QString &analysisType);
    ResultsReport buildReport(SpectrumMemory &memory, const QString &type);
    QString roiField(const SpectrumMemory &memory, const RegionOfInterest &roi, const QString &key);
    std::optional<QDateTime> activityReference(const SpectrumMemory &memory) const;
    double efficiencyOf(const NuclideLine &line) const;
    QString ensureReport(const QString &analysisType);

    SimulatedHostSettings m_settings;
    HostClock m_clock;
    HostRandom m_random;
    SourceModel m_model;
    std::array<SpectrumMemory, kMemories> m_memories;
    int m_primary = 1;
    std::optional<NuclideLibrary> m_library;
    bool m_useLibEff = false;
    std::array<bool, kInputs> m_inputs{};
    std::array<bool, kOutputs> m_outputs{};
    bool m_minimized = false;
    QString m_configuration;
    double m_driftSeconds = 0.0; ///< acquisition real time the detector has counted, all memories
    double m_createdAt = 0.0;    ///< suite clock, seconds since epoch, for connect-after
    qint64 m_calls = 0;
    bool m_gone = false;
    QString m_lastReportType; ///< analysis type of the report on disk; empty: none yet
    int m_printed = 0;
};

} // namespace lumen
