#pragma once

#include "common/core/Failure.h"
#include "hostlink/HostApp.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

namespace lumen::sequa::test {

/** One call a RecordingHost received: method name and its arguments as texts. */
struct HostCall
{
    QString method;
    QStringList args;
};

/**
 * A host that records every call with its arguments and answers from a table
 * of replies per method ("OK" when none is set). `onCall` sees each call as
 * it arrives and may throw to make the call fail.
 */
class RecordingHost : public HostApp
{
public:
    QList<HostCall> calls;
    QHash<QString, QString> replies;
    /** Replies given in turn before `replies` is consulted, per method. */
    QHash<QString, QStringList> replyQueue;
    std::function<void(const HostCall &)> onCall;
    std::int32_t channels = 1024;
    std::vector<std::int32_t> counts; ///< copied into the caller's buffer
    double deadTime = 12.5;
    std::function<QString(std::int16_t, const QString &)> roiReply;

    /** Calls of one method, in order. */
    QList<HostCall> callsOf(const QString &method) const
    {
        QList<HostCall> found;
        for (const HostCall &call : calls)
            if (call.method == method)
                found.append(call);
        return found;
    }
    QStringList methods() const
    {
        QStringList names;
        for (const HostCall &call : calls)
            names.append(call.method);
        return names;
    }

    QString testconnect() override { return QStringLiteral("OK"); }
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
        return channels;
    }
    QString GetLibrary() override { return call("GetLibrary"); }
    QString GetUseLibEff() override { return call("GetUseLibEff"); }
    QString SetRealPreset(double &s) override { return call("SetRealPreset", {num(s)}); }
    QString SetLivePreset(double &s) override { return call("SetLivePreset", {num(s)}); }
    QString SetSpectrumID(QString &id) override { return call("SetSpectrumID", {id}); }
    QString SaveSpt(QString &f) override { return call("SaveSpt", {f}); }
    QString CopySpt(std::int16_t &d, std::int16_t &s) override
    {
        return call("CopySpt", {num(d), num(s)});
    }
    void SampleQuantity(float q) override { call("SampleQuantity", {num(q)}); }
    QString SampleDate(QString &t) override { return call("SampleDate", {t}); }
    QString SampleTime(QString &t) override { return call("SampleTime", {t}); }
    QString SampleUnits(QString &t) override { return call("SampleUnits", {t}); }
    QString GetROIData(std::int16_t &roi, const QString &key) override
    {
        const QString reply = call("GetROIData", {num(roi), key});
        return roiReply ? roiReply(roi, key) : reply;
    }
    QString setprimary(std::int16_t &s) override { return call("setprimary", {num(s)}); }
    QString ClsLoadROis(QString &f) override { return call("ClsLoadROis", {f}); }
    QString LoadConfig(QString &c, QString &p) override { return call("LoadConfig", {c, p}); }
    QString Analyze(QString &t) override { return call("Analyze", {t}); }
    QString PrintRprt(QString &t) override { return call("PrintRprt", {t}); }
    QString SaveRprt(QString &t, QString &f) override { return call("SaveRprt", {t, f}); }
    QString selectlibrary(QString &l) override { return call("selectlibrary", {l}); }
    QString GetExtInput(std::int16_t &i) override { return call("GetExtInput", {num(i)}); }
    QString SetExtOutput(std::int16_t &o, std::int16_t &s) override
    {
        return call("SetExtOutput", {num(o), num(s)});
    }
    void GetCounts(std::vector<std::int32_t> &buffer) override
    {
        call("GetCounts", {num(double(buffer.size()))});
        std::copy_n(counts.begin(), std::min(counts.size(), buffer.size()), buffer.begin());
    }
    double GetDeadtime() override
    {
        call("GetDeadtime");
        return deadTime;
    }

private:
    static QString num(double value) { return QString::number(value, 'g', 10); }

    QString call(const char *method, const QStringList &args = {})
    {
        const HostCall made{QString::fromLatin1(method), args};
        calls.append(made);
        if (onCall)
            onCall(made);
        QStringList &queued = replyQueue[made.method];
        if (!queued.isEmpty())
            return queued.takeFirst();
        return replies.value(made.method, QStringLiteral("OK"));
    }
};

} // namespace lumen::sequa::test
