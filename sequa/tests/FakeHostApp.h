#pragma once

#include "hostlink/testsupport/TestHost.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace lumen::sequa::test {

/** What fake hosts answer and what was asked of them; shared by every fake the factory made. */
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

/** The test host answering from, and recording into, a state it shares with other fakes. */
class FakeHostApp : public lumen::test::TestHost
{
public:
    explicit FakeHostApp(std::shared_ptr<FakeHostState> state) : m_state(std::move(state))
    {
        connectReply = [s = m_state] {
            ++s->testconnects;
            return s->testconnect();
        };
        deadTime = 0;
    }

protected:
    QString answer(const lumen::test::HostCall &call) override
    {
        // The memory a script makes primary is what the tests look for.
        m_state->calls.append(call.method == QLatin1String("setprimary")
                                  ? QStringLiteral("setprimary(%1)").arg(call.args.value(0))
                                  : call.method);
        if (call.method == QLatin1String("GetLibrary"))
            return m_state->library;
        if (call.method == QLatin1String("GetUseLibEff"))
            return m_state->useLibEff;
        return m_state->reply;
    }

private:
    std::shared_ptr<FakeHostState> m_state;
};

} // namespace lumen::sequa::test
