// LUMEN_HOST_START: the host clock's start, read as the suite reads every
// local time, and a start that cannot be read refused, never replaced
// (hostsim's status for it: HostSimProgramTest).
#include "common/core/Failure.h"
#include "common/testsupport/LocalZone.h"
#include "simhost/SimulatedHostSettings.h"

#include <gtest/gtest.h>

using namespace lumen;
using lumen::test::LocalZone;

namespace {

/** Sets LUMEN_HOST_START for as long as it lives. */
class HostStart
{
public:
    explicit HostStart(const char *text) { qputenv("LUMEN_HOST_START", text); }
    ~HostStart() { qunsetenv("LUMEN_HOST_START"); }
};

const char *const kUnreadable[] = {"2024-02-30 10:00:00", "2024-03-31 24:00:00", "yesterday",
                                   "2024-03-31 02:30:00+25:00"};

} // namespace

TEST(HostStart, IsReadAsTheLocalClockShowsIt)
{
    const struct
    {
        const char *zone;
        const char *start;
        const char *utc;
    } cases[] = {
        {"Europe/Berlin", "2024-03-31 02:30:00", "2024-03-31T01:30:00Z"}, // in the gap
        {"Europe/Berlin", "2024-10-27 02:30:00", "2024-10-27T01:30:00Z"}, // twice: the second
        {"America/New_York", "2024-03-10 02:30:00", "2024-03-10T07:30:00Z"},
        {"America/New_York", "2024-11-03 01:30:00", "2024-11-03T06:30:00Z"},
        {"UTC", "2024-03-31 02:30:00", "2024-03-31T02:30:00Z"},
    };
    for (const auto &c : cases) {
        const LocalZone zone(c.zone);
        const HostStart start(c.start);
        const QDateTime read = SimulatedHostSettings::fromEnvironment().start;
        EXPECT_TRUE(read.isValid()) << c.zone << " " << c.start << ": never the real clock";
        EXPECT_EQ(read.toUTC().toString(Qt::ISODate).toStdString(), c.utc)
            << c.zone << " " << c.start;
    }
    for (const char *text : kUnreadable) {
        const HostStart start(text);
        try {
            SimulatedHostSettings::fromEnvironment();
            ADD_FAILURE() << text << " was read";
        } catch (const Failure &f) {
            EXPECT_EQ(f.description(),
                      QStringLiteral("Invalid value of LUMEN_HOST_START: ") + QLatin1String(text));
        }
    }
}
