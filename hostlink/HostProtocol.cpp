#include "hostlink/HostProtocol.h"

#include "common/core/Failure.h"
#include "hostlink/HostApp.h"

#include <QJsonDocument>
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

Handler none(QString (HostApp::*method)())
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(0);
        return reply((host.*method)());
    };
}

Handler oneText(QString (HostApp::*method)(QString &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(1);
        QString t = a.text(0);
        const QString r = (host.*method)(t);
        return reply(r, {t});
    };
}

Handler twoTexts(QString (HostApp::*method)(QString &, QString &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(2);
        QString t0 = a.text(0), t1 = a.text(1);
        const QString r = (host.*method)(t0, t1);
        return reply(r, {t0, t1});
    };
}

Handler oneReal(QString (HostApp::*method)(double &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(1);
        double v = a.real(0);
        const QString r = (host.*method)(v);
        return reply(r, {v});
    };
}

Handler oneInt16(QString (HostApp::*method)(std::int16_t &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(1);
        std::int16_t v = a.int16(0);
        const QString r = (host.*method)(v);
        return reply(r, {int(v)});
    };
}

Handler twoInt16(QString (HostApp::*method)(std::int16_t &, std::int16_t &))
{
    return [method](HostApp &host, const Arguments &a) {
        a.expect(2);
        std::int16_t v0 = a.int16(0), v1 = a.int16(1);
        const QString r = (host.*method)(v0, v1);
        return reply(r, {int(v0), int(v1)});
    };
}

const std::map<QString, Handler> &handlers()
{
    static const std::map<QString, Handler> table = {
        {"testconnect", none(&HostApp::testconnect)},
        {"Minimize", none(&HostApp::Minimize)},
        {"Maximize", none(&HostApp::Maximize)},
        {"StartAcquire", none(&HostApp::StartAcquire)},
        {"StopAcquire", none(&HostApp::StopAcquire)},
        {"Erasespectrum", none(&HostApp::Erasespectrum)},
        {"presetsoff", none(&HostApp::presetsoff)},
        {"presetson", none(&HostApp::presetson)},
        {"SetUseLibEff", none(&HostApp::SetUseLibEff)},
        {"ClearUseLibEff", none(&HostApp::ClearUseLibEff)},
        {"GetAcquireStatus", none(&HostApp::GetAcquireStatus)},
        {"GetElapsedReal", none(&HostApp::GetElapsedReal)},
        {"GetElapsedLive", none(&HostApp::GetElapsedLive)},
        {"GetLibrary", none(&HostApp::GetLibrary)},
        {"GetUseLibEff", none(&HostApp::GetUseLibEff)},
        {"NumberOfCounts",
         [](HostApp &host, const Arguments &a) {
             a.expect(0);
             return reply(double(host.NumberOfCounts()));
         }},
        {"SetRealPreset", oneReal(&HostApp::SetRealPreset)},
        {"SetLivePreset", oneReal(&HostApp::SetLivePreset)},
        {"SetSpectrumID", oneText(&HostApp::SetSpectrumID)},
        {"SaveSpt", oneText(&HostApp::SaveSpt)},
        {"CopySpt", twoInt16(&HostApp::CopySpt)},
        {"SampleQuantity",
         [](HostApp &host, const Arguments &a) {
             a.expect(1);
             host.SampleQuantity(float(a.real(0)));
             return reply(QJsonValue::Null);
         }},
        {"SampleDate", oneText(&HostApp::SampleDate)},
        {"SampleTime", oneText(&HostApp::SampleTime)},
        {"SampleUnits", oneText(&HostApp::SampleUnits)},
        {"GetROIData",
         [](HostApp &host, const Arguments &a) {
             a.expect(2);
             std::int16_t roi = a.int16(0);
             const QString r = host.GetROIData(roi, a.text(1));
             return reply(r, {int(roi)});
         }},
        {"setprimary", oneInt16(&HostApp::setprimary)},
        {"ClsLoadROis", oneText(&HostApp::ClsLoadROis)},
        {"LoadConfig", twoTexts(&HostApp::LoadConfig)},
        {"Analyze", oneText(&HostApp::Analyze)},
        {"PrintRprt", oneText(&HostApp::PrintRprt)},
        {"SaveRprt", twoTexts(&HostApp::SaveRprt)},
        {"selectlibrary", oneText(&HostApp::selectlibrary)},
        {"GetExtInput", oneInt16(&HostApp::GetExtInput)},
        {"SetExtOutput", twoInt16(&HostApp::SetExtOutput)},
        {"GetCounts",
         [](HostApp &host, const Arguments &a) {
             a.expect(1);
             const double size = a.real(0);
             if (size < 0 || size > HostProtocol::kMaxCounts || size != std::floor(size))
                 throw Failure(QStringLiteral("GetCounts: buffer size out of range"));
             std::vector<std::int32_t> counts(std::size_t(size), 0);
             host.GetCounts(counts);
             QJsonArray values;
             for (std::int32_t c : counts)
                 values.append(c);
             return reply(values);
         }},
        {"GetDeadtime",
         [](HostApp &host, const Arguments &a) {
             a.expect(0);
             return reply(host.GetDeadtime());
         }},
    };
    return table;
}

} // namespace

QByteArray HostProtocol::request(const QString &method, const QJsonArray &args)
{
    return line(QJsonObject{{QStringLiteral("method"), method}, {QStringLiteral("args"), args}});
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

} // namespace lumen
