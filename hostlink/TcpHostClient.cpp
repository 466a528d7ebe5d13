#include "hostlink/TcpHostClient.h"

#include "common/core/Failure.h"
#include "hostlink/HostProtocol.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QTcpSocket>

namespace lumen {

TcpHostClient::TcpHostClient(const QString &host, quint16 port, int timeoutMs)
    : m_host(host), m_port(port), m_timeoutMs(timeoutMs)
{
}

TcpHostClient::~TcpHostClient() = default;

QString TcpHostClient::where() const
{
    return QStringLiteral("%1:%2").arg(m_host).arg(m_port);
}

void TcpHostClient::fail(const QString &what)
{
    // Whatever the bridge sends later belongs to a call that has given up.
    if (m_socket)
        m_socket->abort();
    m_socket.reset();
    throw Failure(what);
}

QJsonObject TcpHostClient::call(const QString &method, const QJsonArray &args)
{
    QDeadlineTimer deadline(m_timeoutMs);
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState) {
        m_socket = std::make_unique<QTcpSocket>();
        m_socket->connectToHost(m_host, m_port);
        if (!m_socket->waitForConnected(int(deadline.remainingTime())))
            fail(QStringLiteral("Cannot reach the host bridge at %1: %2")
                     .arg(where(), m_socket->errorString()));
        // One small request, one small reply: waiting to batch them only adds delay.
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }
    m_socket->write(HostProtocol::request(method, args));
    while (m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(int(deadline.remainingTime())))
            fail(QStringLiteral("The host bridge at %1 did not take the call to %2")
                     .arg(where(), method));
    }
    while (!m_socket->canReadLine()) {
        if (m_socket->bytesAvailable() > HostProtocol::kMaxLine)
            fail(QStringLiteral("The host bridge at %1 sent a reply that cannot be read")
                     .arg(where()));
        if (deadline.hasExpired())
            fail(QStringLiteral("The host bridge at %1 did not answer %2 within %3 seconds")
                     .arg(where(), method)
                     .arg(m_timeoutMs / 1000.0));
        if (!m_socket->waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())))) {
            if (m_socket->state() != QAbstractSocket::ConnectedState && !m_socket->canReadLine())
                fail(QStringLiteral("The host bridge at %1 closed the connection during %2")
                         .arg(where(), method));
        }
    }
    const QByteArray line = m_socket->readLine(HostProtocol::kMaxLine);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        fail(QStringLiteral("The host bridge at %1 sent a reply that cannot be read").arg(where()));
    const QJsonObject reply = doc.object();
    if (reply.contains(QStringLiteral("failure")))
        throw Failure(reply.value(QStringLiteral("failure")).toString());
    if (!reply.contains(QStringLiteral("result")))
        fail(QStringLiteral("The host bridge at %1 sent a reply that cannot be read").arg(where()));
    return reply;
}

QString TcpHostClient::textCall(const QString &method, const QJsonArray &args, QJsonArray *refs)
{
    const QJsonObject reply = call(method, args);
    const QJsonValue result = reply.value(QStringLiteral("result"));
    if (!result.isString())
        fail(QStringLiteral("The host bridge at %1 sent a reply that cannot be read").arg(where()));
    if (refs) {
        const QJsonArray back = reply.value(QStringLiteral("args")).toArray();
        if (back.size() == args.size())
            *refs = back;
        else
            *refs = args;
    }
    return result.toString();
}

QString TcpHostClient::testconnect()
{
    try {
        return textCall(QStringLiteral("testconnect"));
    } catch (const Failure &failure) {
        // Never "OK": callers show "No Connection" and a playing script stops.
        return QStringLiteral("No connection: ") + failure.description();
    }
}

#define LUMEN_PLAIN_CALL(name)                                                                     \
    QString TcpHostClient::name()                                                                  \
    {                                                                                              \
        return textCall(QStringLiteral(#name));                                                    \
    }

LUMEN_PLAIN_CALL(Minimize)
LUMEN_PLAIN_CALL(Maximize)
LUMEN_PLAIN_CALL(StartAcquire)
LUMEN_PLAIN_CALL(StopAcquire)
LUMEN_PLAIN_CALL(Erasespectrum)
LUMEN_PLAIN_CALL(presetsoff)
LUMEN_PLAIN_CALL(presetson)
LUMEN_PLAIN_CALL(SetUseLibEff)
LUMEN_PLAIN_CALL(ClearUseLibEff)
LUMEN_PLAIN_CALL(GetAcquireStatus)
LUMEN_PLAIN_CALL(GetElapsedReal)
LUMEN_PLAIN_CALL(GetElapsedLive)
LUMEN_PLAIN_CALL(GetLibrary)
LUMEN_PLAIN_CALL(GetUseLibEff)
#undef LUMEN_PLAIN_CALL

namespace {
QString textAt(const QJsonArray &a, int i)
{
    return a.at(i).toString();
}
std::int16_t int16At(const QJsonArray &a, int i, std::int16_t fallback)
{
    const double v = a.at(i).toDouble(fallback);
    return v >= -32768.0 && v <= 32767.0 ? std::int16_t(v) : fallback;
}
} // namespace

std::int32_t TcpHostClient::NumberOfCounts()
{
    const QJsonValue v = call(QStringLiteral("NumberOfCounts")).value(QStringLiteral("result"));
    if (!v.isDouble())
        fail(QStringLiteral("The host bridge at %1 sent a reply that cannot be read").arg(where()));
    return std::int32_t(v.toInteger());
}

QString TcpHostClient::SetRealPreset(double &seconds)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("SetRealPreset"), {seconds}, &refs);
    seconds = refs.at(0).toDouble(seconds);
    return r;
}

QString TcpHostClient::SetLivePreset(double &seconds)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("SetLivePreset"), {seconds}, &refs);
    seconds = refs.at(0).toDouble(seconds);
    return r;
}

#define LUMEN_TEXT_CALL(name, arg)                                                                 \
    QString TcpHostClient::name(QString &arg)                                                      \
    {                                                                                              \
        QJsonArray refs;                                                                           \
        const QString r = textCall(QStringLiteral(#name), {arg}, &refs);                           \
        arg = textAt(refs, 0);                                                                     \
        return r;                                                                                  \
    }

LUMEN_TEXT_CALL(SetSpectrumID, id)
LUMEN_TEXT_CALL(SaveSpt, fileName)
LUMEN_TEXT_CALL(SampleDate, text)
LUMEN_TEXT_CALL(SampleTime, text)
LUMEN_TEXT_CALL(SampleUnits, text)
LUMEN_TEXT_CALL(ClsLoadROis, fileName)
LUMEN_TEXT_CALL(Analyze, analysisType)
LUMEN_TEXT_CALL(PrintRprt, analysisType)
LUMEN_TEXT_CALL(selectlibrary, library)
#undef LUMEN_TEXT_CALL

QString TcpHostClient::LoadConfig(QString &configuration, QString &second)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("LoadConfig"), {configuration, second}, &refs);
    configuration = textAt(refs, 0);
    second = textAt(refs, 1);
    return r;
}

QString TcpHostClient::SaveRprt(QString &analysisType, QString &fileName)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("SaveRprt"), {analysisType, fileName}, &refs);
    analysisType = textAt(refs, 0);
    fileName = textAt(refs, 1);
    return r;
}

QString TcpHostClient::CopySpt(std::int16_t &destination, std::int16_t &source)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("CopySpt"), {int(destination), int(source)}, &refs);
    destination = int16At(refs, 0, destination);
    source = int16At(refs, 1, source);
    return r;
}

void TcpHostClient::SampleQuantity(float quantity)
{
    call(QStringLiteral("SampleQuantity"), {double(quantity)});
}

QString TcpHostClient::GetROIData(std::int16_t &roi, const QString &key)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("GetROIData"), {int(roi), key}, &refs);
    roi = int16At(refs, 0, roi);
    return r;
}

QString TcpHostClient::setprimary(std::int16_t &spectrum)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("setprimary"), {int(spectrum)}, &refs);
    spectrum = int16At(refs, 0, spectrum);
    return r;
}

QString TcpHostClient::GetExtInput(std::int16_t &input)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("GetExtInput"), {int(input)}, &refs);
    input = int16At(refs, 0, input);
    return r;
}

QString TcpHostClient::SetExtOutput(std::int16_t &output, std::int16_t &state)
{
    QJsonArray refs;
    const QString r = textCall(QStringLiteral("SetExtOutput"), {int(output), int(state)}, &refs);
    output = int16At(refs, 0, output);
    state = int16At(refs, 1, state);
    return r;
}

void TcpHostClient::GetCounts(std::vector<std::int32_t> &counts)
{
    const QJsonValue v =
        call(QStringLiteral("GetCounts"), {double(counts.size())}).value(QStringLiteral("result"));
    if (!v.isArray())
        fail(QStringLiteral("The host bridge at %1 sent a reply that cannot be read").arg(where()));
    const QJsonArray values = v.toArray();
    const qsizetype n = std::min<qsizetype>(values.size(), qsizetype(counts.size()));
    for (qsizetype i = 0; i < n; ++i)
        counts[std::size_t(i)] = std::int32_t(values.at(i).toInteger());
}

double TcpHostClient::GetDeadtime()
{
    const QJsonValue v = call(QStringLiteral("GetDeadtime")).value(QStringLiteral("result"));
    if (!v.isDouble())
        fail(QStringLiteral("The host bridge at %1 sent a reply that cannot be read").arg(where()));
    return v.toDouble();
}

} // namespace lumen
