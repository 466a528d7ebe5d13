#pragma once

#include "hostlink/HostApp.h"

#include <memory>

namespace lumen {

/**
 * One caller's reference to a host that outlives it: every call goes to the
 * shared host, so connecting again finds the host as it was left, as with an
 * automation server that keeps running between connections.
 */
class HostAppHandle : public HostApp
{
public:
    explicit HostAppHandle(std::shared_ptr<HostApp> host) : m_host(std::move(host)) {}

    QString testconnect() override { return m_host->testconnect(); }
    QString Minimize() override { return m_host->Minimize(); }
    QString Maximize() override { return m_host->Maximize(); }
    QString StartAcquire() override { return m_host->StartAcquire(); }
    QString StopAcquire() override { return m_host->StopAcquire(); }
    QString Erasespectrum() override { return m_host->Erasespectrum(); }
    QString presetsoff() override { return m_host->presetsoff(); }
    QString presetson() override { return m_host->presetson(); }
    QString SetUseLibEff() override { return m_host->SetUseLibEff(); }
    QString ClearUseLibEff() override { return m_host->ClearUseLibEff(); }
    QString GetAcquireStatus() override { return m_host->GetAcquireStatus(); }
    QString GetElapsedReal() override { return m_host->GetElapsedReal(); }
    QString GetElapsedLive() override { return m_host->GetElapsedLive(); }
    std::int32_t NumberOfCounts() override { return m_host->NumberOfCounts(); }
    QString GetLibrary() override { return m_host->GetLibrary(); }
    QString GetUseLibEff() override { return m_host->GetUseLibEff(); }
    QString SetRealPreset(double &seconds) override { return m_host->SetRealPreset(seconds); }
    QString SetLivePreset(double &seconds) override { return m_host->SetLivePreset(seconds); }
    QString SetSpectrumID(QString &id) override { return m_host->SetSpectrumID(id); }
    QString SaveSpt(QString &fileName) override { return m_host->SaveSpt(fileName); }
    QString CopySpt(std::int16_t &destination, std::int16_t &source) override
    {
        return m_host->CopySpt(destination, source);
    }
    void SampleQuantity(float quantity) override { m_host->SampleQuantity(quantity); }
    QString SampleDate(QString &text) override { return m_host->SampleDate(text); }
    QString SampleTime(QString &text) override { return m_host->SampleTime(text); }
    QString SampleUnits(QString &text) override { return m_host->SampleUnits(text); }
    QString GetROIData(std::int16_t &roi, const QString &key) override
    {
        return m_host->GetROIData(roi, key);
    }
    QString setprimary(std::int16_t &spectrum) override { return m_host->setprimary(spectrum); }
    QString ClsLoadROis(QString &fileName) override { return m_host->ClsLoadROis(fileName); }
    QString LoadConfig(QString &configuration, QString &second) override
    {
        return m_host->LoadConfig(configuration, second);
    }
    QString Analyze(QString &analysisType) override { return m_host->Analyze(analysisType); }
    QString PrintRprt(QString &analysisType) override { return m_host->PrintRprt(analysisType); }
    QString SaveRprt(QString &analysisType, QString &fileName) override
    {
        return m_host->SaveRprt(analysisType, fileName);
    }
    QString selectlibrary(QString &library) override { return m_host->selectlibrary(library); }
    QString GetExtInput(std::int16_t &input) override { return m_host->GetExtInput(input); }
    QString SetExtOutput(std::int16_t &output, std::int16_t &state) override
    {
        return m_host->SetExtOutput(output, state);
    }
    void GetCounts(std::vector<std::int32_t> &counts) override { m_host->GetCounts(counts); }
    double GetDeadtime() override { return m_host->GetDeadtime(); }

private:
    std::shared_ptr<HostApp> m_host;
};

} // namespace lumen
