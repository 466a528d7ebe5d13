#pragma once

#include "hostlink/HostApp.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <memory>

class QTcpSocket;

namespace lumen {

/**
 * The host reached through a host bridge over TCP: each call is one request
 * and one reply (HostProtocol), with a time-out. A bridge that cannot be
 * reached, closes the connection, stays silent or answers garbage makes the
 * call fail with a description; testconnect then answers why instead of "OK".
 * The connection is made on first use and made again after a failure.
 */
class TcpHostClient : public HostApp
{
public:
    /** timeoutMs: the longest one call may take, milliseconds. */
    TcpHostClient(const QString &host, quint16 port, int timeoutMs);
    ~TcpHostClient() override;

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

private:
    QJsonObject call(const QString &method, const QJsonArray &args = {});
    QString textCall(const QString &method, const QJsonArray &args = {},
                     QJsonArray *refs = nullptr);
    [[noreturn]] void fail(const QString &what);
    QString where() const;

    QString m_host;
    quint16 m_port;
    int m_timeoutMs;
    std::unique_ptr<QTcpSocket> m_socket;
};

} // namespace lumen
