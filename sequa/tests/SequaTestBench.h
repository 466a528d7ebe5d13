#pragma once

#include "common/core/Clock.h"
#include "common/core/Failure.h"
#include "common/core/Operator.h"
#include "common/testsupport/FakeClock.h"
#include "common/testsupport/ScriptedOperator.h"
#include "hostlink/testsupport/TestHost.h"
#include "sequa/core/SequaProgram.h"

#include <gtest/gtest.h>
#include <memory>

namespace lumen::sequa::test {

/**
 * A program on the fake clock (50 ms per pump, a tick per 250 ms of it), the
 * scripted operator and fake hosts that share one SharedHostState.
 */
class SequaTestBench : public ::testing::Test
{
protected:
    SequaTestBench()
    {
        setCurrentOperator(&m_operator);
        setCurrentClock(&m_clock);
        m_program = std::make_unique<SequaProgram>([this](const QString &identifier) {
            m_identifiers.append(identifier);
            if (m_hostFails)
                throw Failure(QStringLiteral("Cannot reach the host"));
            ++m_host->created;
            return lumen::test::sharingTestHost(m_host);
        });
        m_program->timer().followClock(m_clock);
    }

    ~SequaTestBench() override
    {
        m_program.reset();
        setCurrentClock(nullptr);
        setCurrentOperator(nullptr);
    }

    MainModel &model() { return m_program->model(); }
    CommandRunner &runner() { return m_program->runner(); }

    /** A program that is connected and in Immediate Test Mode. */
    void connectWithDoNow()
    {
        model().setDoNow(true);
        model().createHostAppObject();
    }

    /** Seconds on the fake clock since `start`. */
    double secondsSince(const QDateTime &start) const
    {
        return start.msecsTo(m_clock.now()) / 1000.0;
    }

    ScriptedOperator m_operator;
    FakeClock m_clock;
    std::shared_ptr<lumen::test::SharedHostState> m_host =
        std::make_shared<lumen::test::SharedHostState>();
    bool m_hostFails = false;
    QStringList m_identifiers;
    std::unique_ptr<SequaProgram> m_program;
};

} // namespace lumen::sequa::test
