#pragma once

#include "hostlink/HostApp.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace lumen::sequa::test {

/** What a fake host answers and what was asked of it; shared by every fake the factory made. */
struct FakeHostState
{
    std::function<QString()> testconnect = [] { return QStringLiteral("OK"); };
    QString library = QStringLiteral("OKNATURAL.LIB");
    QString useLibEff = QStringLiteral("OK1");
    QString reply = QStringLiteral("OK"); ///< every other method
    QStringList calls;                    ///< method names in call order, testconnect excluded
    int testconnects = 0;
    int created = 0;
};

/** A host for tests: answers from a FakeHostState and records each call. */
class FakeHostApp : public HostApp
{
public:
    explicit FakeHostApp(std::shared_ptr<FakeHostState> state) : m_state(std::move(state)) {}

    QString testconnect() override
    {
        ++m_state->testconnects;
        return m_state->testconnect();
    }
    QString Minimize() override { return call("Minimize"); }
    QString Maximize() override { return call("Maximize"); }
    QString StartAcquire() override { return call("StartAcquire"); }
    QString StopAcquire() override { return call("StopAcquire"); }
    QString Erasespectrum() override { return call("Erasespectrum"); }
    QString presetsoff() override { return call("presetsoff"); }
    QString presetson() override { return call("presetson"); }
    QString SetUseLibEff() override { return call("SetUseLibEff"); }
    QString ClearUseLibEff() override { return call("ClearUseLibEff"); }
    QString GetAcquireStatus() override { return call("GetAcquireStatus"); }
    QString GetElapsedReal() override { return call("GetElapsedReal"); }
    QString GetElapsedLive() override { return call("GetElapsedLive"); }
    std::int32_t NumberOfCounts() override
    {
        call("NumberOfCounts");
        return 1024;
    }
    QString GetLibrary() override
    {
        call("GetLibrary");
        return m_state->library;
    }
    QString GetUseLibEff() override
    {
        call("GetUseLibEff");
        return m_state->useLibEff;
    }
    QString SetRealPreset(double &) override { return call("SetRealPreset"); }
    QString SetLivePreset(double &) override { return call("SetLivePreset"); }
    QString SetSpectrumID(QString &) override { return call("SetSpectrumID"); }
    QString SaveSpt(QString &) override { return call("SaveSpt"); }
    QString CopySpt(std::int16_t &, std::int16_t &) override { return call("CopySpt"); }
    void SampleQuantity(float) override { call("SampleQuantity"); }
    QString SampleDate(QString &) override { return call("SampleDate"); }
    QString SampleTime(QString &) override { return call("SampleTime"); }
    QString SampleUnits(QString &) override { return call("SampleUnits"); }
    QString GetROIData(std::int16_t &, const QString &) override { return call("GetROIData"); }
    QString setprimary(std::int16_t &spectrum) override
    {
        return call(QStringLiteral("setprimary(%1)").arg(spectrum));
    }
    QString ClsLoadROis(QString &) override { return call("ClsLoadROis"); }
    QString LoadConfig(QString &, QString &) override { return call("LoadConfig"); }
    QString Analyze(QString &) override { return call("Analyze"); }
    QString PrintRprt(QString &) override { return call("PrintRprt"); }
    QString SaveRprt(QString &, QString &) override { return call("SaveRprt"); }
    QString selectlibrary(QString &) override { return call("selectlibrary"); }
    QString GetExtInput(std::int16_t &) override { return call("GetExtInput"); }
    QString SetExtOutput(std::int16_t &, std::int16_t &) override { return call("SetExtOutput"); }
    void GetCounts(std::vector<std::int32_t> &) override { call("GetCounts"); }
    double GetDeadtime() override
    {
        call("GetDeadtime");
        return 0;
    }

private:
    QString call(const QString &name)
    {
        m_state->calls.append(name);
        return m_state->reply;
    }
    QString call(const char *name) { return call(QString::fromLatin1(name)); }

    std::shared_ptr<FakeHostState> m_state;
};

} // namespace lumen::sequa::test
