#include "hostlink/HostProtocol.h"

#include "common/core/Failure.h"
#include "hostlink/HostApp.h"
#include "hostlink/HostKey.h"
#include "hostlink/HostMethods.h"

#include <QIODevice>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace lumen {

namespace {

QByteArray line(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray failure(const QString &description)
{
    return line(QJsonObject{{QStringLiteral("failure"), description}});
}

class Arguments
{
public:
    Arguments(const QString &method, const QJsonArray &args) : m_method(method), m_args(args) {}

    void expect(int count) const
    {
        if (m_args.size() != count)
            throw Failure(QStringLiteral("%1 takes %2 arguments, not %3")
                              .arg(m_method)
                              .arg(count)
                              .arg(m_args.size()));
    }
    QString text(int i) const
    {
        if (!m_args[i].isString())
            throw Failure(
                QStringLiteral("Argument %1 of %2 must be a text").arg(i + 1).arg(m_method));
        return m_args[i].toString();
    }
    double real(int i) const
    {
        if (!m_args[i].isDouble())
            throw Failure(
                QStringLiteral("Argument %1 of %2 must be a number").arg(i + 1).arg(m_method));
        return m_args[i].toDouble();
    }
    std::int16_t int16(int i) const
    {
        const double v = real(i);
        if (v != std::floor(v) || v < -32768.0 || v > 32767.0)
            throw Failure(QStringLiteral("Argument %1 of %2 must be a 16-bit whole number")
                              .arg(i + 1)
                              .arg(m_method));
        return std::int16_t(v);
    }

private:
    QString m_method;
    QJsonArray m_args;
};

using Handler = std::function<QJsonObject(HostApp &, const Arguments &)>;

QJsonObject reply(const QJsonValue &result, const QJsonArray &args = {})
{
    QJsonObject o{{QStringLiteral("result"), result}};
    if (!args.isEmpty())
        o.insert(QStringLiteral("args"), args);
    return o;
}

// One handler maker per shape of the method list (HostMethods.h).

Handler probeHandler(QString (HostApp::*method)())
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(0);
        return reply((host.*method)());
    };
}

Handler plainHandler(QString (HostApp::*method)())
{
    return probeHandler(method);
}

Handler textHandler(QString (HostApp::*method)(QString &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(1);
        QString t = a.text(0);
        const QString r = (host.*method)(t);
        return reply(r, {t});
    };
}

Handler textTextHandler(QString (HostApp::*method)(QString &, QString &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(2);
        QString t0 = a.text(0), t1 = a.text(1);
        const QString r = (host.*method)(t0, t1);
        return reply(r, {t0, t1});
    };
}

Handler realHandler(QString (HostApp::*method)(double &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(1);
        double v = a.real(0);
        const QString r = (host.*method)(v);
        return reply(r, {v});
    };
}

Handler int16Handler(QString (HostApp::*method)(std::int16_t &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(1);
        std::int16_t v = a.int16(0);
        const QString r = (host.*method)(v);
        return reply(r, {int(v)});
    };
}

Handler int16Int16Handler(QString (HostApp::*method)(std::int16_t &, std::int16_t &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(2);
        std::int16_t v0 = a.int16(0), v1 = a.int16(1);
        const QString r = (host.*method)(v0, v1);
        return reply(r, {int(v0), int(v1)});
    };
}

Handler roiFieldHandler(QString (HostApp::*method)(std::int16_t &, const QString &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(2);
        std::int16_t roi = a.int16(0);
        const QString r = (host.*method)(roi, a.text(1));
        return reply(r, {int(roi)});
    };
}

Handler channelsHandler(std::int32_t (HostApp::*method)())
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(0);
        return reply(double((host.*method)()));
    };
}

Handler quantityHandler(void (HostApp::*method)(float))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(1);
        (host.*method)(float(a.real(0)));
        return reply(QJsonValue::Null);
    };
}

Handler countsHandler(void (HostApp::*method)(std::vector<std::int32_t> &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(1);
        const double size = a.real(0);
        if (size < 0 || size > HostProtocol::kMaxCounts || size != std::floor(size))
            throw Failure(QStringLiteral("GetCounts: buffer size out of range"));
        std::vector<std::int32_t> counts(std::size_t(size), 0);
        (host.*method)(counts);
        QJsonArray values;
        for (std::int32_t c : counts)
            values.append(c);
        return reply(values);
    };
}

Handler numberHandler(double (HostApp::*method)())
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(0);
        return reply((host.*method)());
    };
}

// Shape names begin with a capital; the makers' names do not.
#define LUMEN_HANDLER_Probe probeHandler
#define LUMEN_HANDLER_Plain plainHandler
#define LUMEN_HANDLER_Text textHandler
#define LUMEN_HANDLER_TextText textTextHandler
#define LUMEN_HANDLER_Real realHandler
#define LUMEN_HANDLER_Int16 int16Handler
#define LUMEN_HANDLER_Int16Int16 int16Int16Handler
#define LUMEN_HANDLER_RoiField roiFieldHandler
#define LUMEN_HANDLER_Channels channelsHandler
#define LUMEN_HANDLER_Quantity quantityHandler
#define LUMEN_HANDLER_Counts countsHandler
#define LUMEN_HANDLER_Number numberHandler
#define LUMEN_HANDLER_ROW(Shape, name)                                                             \
    {QStringLiteral(#name), LUMEN_HANDLER_##Shape(&HostApp::name)},

const std::map<QString, Handler> &handlers()
{
    static const std::map<QString, Handler> table = {LUMEN_HOST_METHODS(LUMEN_HANDLER_ROW)};
    return table;
}

} // namespace

QByteArray HostProtocol::request(const QString &method, const QJsonArray &args)
{
    return line(QJsonObject{{QStringLiteral("method"), method}, {QStringLiteral("args"), args}});
}

QByteArray HostProtocol::challenge(const QByteArray &hex)
{
    return line(QJsonObject{{QStringLiteral("challenge"), QString::fromLatin1(hex)}});
}

std::optional<QByteArray> HostProtocol::challengeOf(const QByteArray &challengeLine)
{
    const QJsonDocument doc = QJsonDocument::fromJson(challengeLine);
    const QJsonValue value = doc.object().value(QStringLiteral("challenge"));
    const QByteArray hex = value.toString().toLatin1();
    const bool lowerHex = std::all_of(hex.begin(), hex.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
    if (!value.isString() || hex.size() != 2 * HostKey::kChallengeBytes || !lowerHex)
        return std::nullopt;
    return hex;
}

QByteArray HostProtocol::hello(const QString &who, const QByteArray &answer)
{
    QJsonObject o{{QStringLiteral("hello"), who}};
    if (!answer.isEmpty())
        o.insert(QStringLiteral("answer"), QString::fromLatin1(answer));
    return line(o);
}

std::optional<HostProtocol::Hello> HostProtocol::helloOf(const QByteArray &helloLine)
{
    // Parsed only when it may be one: a flood of calls must not cost a second parse each.
    if (!helloLine.contains("\"hello\""))
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(helloLine).object();
    const QJsonValue who = o.value(QStringLiteral("hello"));
    if (!who.isString() && !who.isNull())
        return std::nullopt;
    return Hello{who.toString(), o.value(QStringLiteral("answer")).toString().toLatin1()};
}

QByteArray HostProtocol::ping()
{
    return line(QJsonObject{{QStringLiteral("ping"), true}});
}

bool HostProtocol::isPing(const QByteArray &pingLine)
{
    if (!pingLine.contains("\"ping\""))
        return false;
    return QJsonDocument::fromJson(pingLine).object().value(QStringLiteral("ping")) == true;
}

QByteArray HostProtocol::accepted()
{
    return line(reply(QStringLiteral("OK")));
}

QByteArray HostProtocol::refusal(const QString &why)
{
    return failure(why);
}

QString HostProtocol::methodOf(const QByteArray &requestLine)
{
    const QJsonDocument doc = QJsonDocument::fromJson(requestLine);
    return doc.isObject() ? doc.object().value(QStringLiteral("method")).toString() : QString();
}

QByteArray HostProtocol::serve(HostApp &host, const QByteArray &requestLine)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(requestLine, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return failure(QStringLiteral("Malformed request"));
    const QJsonObject object = doc.object();
    const QString method = object.value(QStringLiteral("method")).toString();
    const auto it = handlers().find(method);
    if (it == handlers().end())
        return failure(QStringLiteral("Unknown method: ") + method);
    try {
        return line(
            it->second(host, Arguments(method, object.value(QStringLiteral("args")).toArray())));
    } catch (const Failure &f) {
        return failure(f.description());
    } catch (const std::exception &e) {
        return failure(QString::fromLocal8Bit(e.what()));
    }
}

QByteArray HostProtocol::readLine(QIODevice &device)
{
    // readLine(kMaxLine) would set aside the 4 MiB for every line: a bridge
    // serving a flood of small calls, or a sanitizer, pays for each of them.
    QByteArray line = device.readLine();
    if (line.size() > kMaxLine)
        line.truncate(kMaxLine);
    return line;
}

} // namespace lumen
