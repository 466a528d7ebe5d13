#pragma once

#include "hostlink/HostApp.h"
#include "hostlink/HostMethods.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace lumen::test {

/** One call a TestHost received: method name and its arguments as texts. */
struct HostCall
{
    QString method;
    QStringList args;
};

/**
 * The host of the tests, benchmarks and fuzz targets: records every call but
 * testconnect with its arguments and answers from a table of replies per
 * method (`reply` when none is set). `onCall` sees each call as it arrives
 * and may throw to make the call fail; `answerWith`, when set, gives every
 * reply instead of the tables. Subclasses may answer differently by
 * overriding answer().
 */
class TestHost : public HostApp
{
public:
    QList<HostCall> calls;
    QHash<QString, QString> replies;
    /** Replies given in turn before `replies` is consulted, per method. */
    QHash<QString, QStringList> replyQueue;
    QString reply = QStringLiteral("OK"); ///< a method without a set reply
    std::function<void(const HostCall &)> onCall;
    std::function<QString(const HostCall &)> answerWith;
    std::function<QString()> connectReply = [] { return QStringLiteral("OK"); };
    int testconnects = 0;
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

#define LUMEN_TEST_HOST_Probe(name)                                                                \
    QString name() override                                                                        \
    {                                                                                              \
        ++testconnects;                                                                            \
        return connectReply();                                                                     \
    }
#define LUMEN_TEST_HOST_Plain(name)                                                                \
    QString name() override                                                                        \
    {                                                                                              \
        return record(#name, {});                                                                  \
    }
#define LUMEN_TEST_HOST_Text(name)                                                                 \
    LUMEN_HOST_SIGNATURE_Text(name) override                                                       \
    {                                                                                              \
        return record(#name, {a0});                                                                \
    }
#define LUMEN_TEST_HOST_TextText(name)                                                             \
    LUMEN_HOST_SIGNATURE_TextText(name) override                                                   \
    {                                                                                              \
        return record(#name, {a0, a1});                                                            \
    }
#define LUMEN_TEST_HOST_Real(name)                                                                 \
    LUMEN_HOST_SIGNATURE_Real(name) override                                                       \
    {                                                                                              \
        return record(#name, {num(a0)});                                                           \
    }
#define LUMEN_TEST_HOST_Int16(name)                                                                \
    LUMEN_HOST_SIGNATURE_Int16(name) override                                                      \
    {                                                                                              \
        return record(#name, {num(a0)});                                                           \
    }
#define LUMEN_TEST_HOST_Int16Int16(name)                                                           \
    LUMEN_HOST_SIGNATURE_Int16Int16(name) override                                                 \
    {                                                                                              \
        return record(#name, {num(a0), num(a1)});                                                  \
    }
#define LUMEN_TEST_HOST_RoiField(name)                                                             \
    LUMEN_HOST_SIGNATURE_RoiField(name) override                                                   \
    {                                                                                              \
        const QString answered = record(#name, {num(a0), a1});                                     \
        return roiReply ? roiReply(a0, a1) : answered;                                             \
    }
#define LUMEN_TEST_HOST_Channels(name)                                                             \
    LUMEN_HOST_SIGNATURE_Channels(name) override                                                   \
    {                                                                                              \
        record(#name, {});                                                                         \
        return channels;                                                                           \
    }
#define LUMEN_TEST_HOST_Quantity(name)                                                             \
    LUMEN_HOST_SIGNATURE_Quantity(name) override                                                   \
    {                                                                                              \
        record(#name, {num(a0)});                                                                  \
    }
#define LUMEN_TEST_HOST_Counts(name)                                                               \
    LUMEN_HOST_SIGNATURE_Counts(name) override                                                     \
    {                                                                                              \
        record(#name, {num(double(a0.size()))});                                                   \
        std::copy_n(counts.begin(), std::min(counts.size(), a0.size()), a0.begin());               \
    }
#define LUMEN_TEST_HOST_Number(name)                                                               \
    LUMEN_HOST_SIGNATURE_Number(name) override                                                     \
    {                                                                                              \
        record(#name, {});                                                                         \
        return deadTime;                                                                           \
    }
#define LUMEN_TEST_HOST_METHOD(Shape, name) LUMEN_TEST_HOST_##Shape(name)
    LUMEN_HOST_METHODS(LUMEN_TEST_HOST_METHOD)
#undef LUMEN_TEST_HOST_METHOD

protected:
    /** The reply to a call that has just been recorded. */
    virtual QString answer(const HostCall &call)
    {
        if (answerWith)
            return answerWith(call);
        QStringList &queued = replyQueue[call.method];
        if (!queued.isEmpty())
            return queued.takeFirst();
        return replies.value(call.method, reply);
    }

    static QString num(double value)
    {
        return QString::number(value, 'g', 10);
    }

private:
    QString record(const char *method, const QStringList &args)
    {
        const HostCall made{QString::fromLatin1(method), args};
        calls.append(made);
        if (onCall)
            onCall(made);
        return answer(made);
    }
};

/**
 * What the test hosts that a program makes one after another answer, and
 * what was asked of all of them: a program replaces its host object at every
 * connect, while a test looks at them all through one state.
 */
struct SharedHostState
{
    std::function<QString()> testconnect = [] { return QStringLiteral("OK"); };
    QString library = QStringLiteral("OKNATURAL.LIB");
    QString useLibEff = QStringLiteral("OK1");
    QString reply = QStringLiteral("OK"); ///< every other method
    QStringList calls;                    ///< method names in call order, testconnect excluded
    int testconnects = 0;
    int created = 0;
};

/** A test host answering from, and recording into, a state it shares with the others. */
inline std::unique_ptr<TestHost> sharingTestHost(const std::shared_ptr<SharedHostState> &state)
{
    auto host = std::make_unique<TestHost>();
    host->connectReply = [state] {
        ++state->testconnects;
        return state->testconnect();
    };
    host->deadTime = 0;
    host->answerWith = [state](const HostCall &call) {
        // The memory a script makes primary is what the tests look for.
        state->calls.append(call.method == QLatin1String("setprimary")
                                ? QStringLiteral("setprimary(%1)").arg(call.args.value(0))
                                : call.method);
        if (call.method == QLatin1String("GetLibrary"))
            return state->library;
        if (call.method == QLatin1String("GetUseLibEff"))
            return state->useLibEff;
        return state->reply;
    };
    return host;
}

} // namespace lumen::test
