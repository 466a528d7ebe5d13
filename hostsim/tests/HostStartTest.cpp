// LUMEN_HOST_START: the host clock's start, read as the suite reads every
// local time, and a start that cannot be read refused, never replaced.
#include "common/core/Failure.h"
#include "common/testsupport/LocalZone.h"
#include "hostsim/core/SimulatedHostSettings.h"

#include <QProcess>
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

TEST(HostStart, TheProgramRefusesAStartItCannotReadWithStatus1)
{
    for (const char *text : kUnreadable) {
        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LUMEN_HOST_START"), QString::fromLatin1(text));
        env.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
        host.setProcessEnvironment(env);
        host.start(QStringLiteral(LUMEN_HOSTSIM_EXE),
                   {QStringLiteral("--listen"), QStringLiteral("0")});
        ASSERT_TRUE(host.waitForFinished(30000)) << text << ": the host did not refuse";
        EXPECT_EQ(host.exitStatus(), QProcess::NormalExit) << text;
        EXPECT_EQ(host.exitCode(), 1) << text;
        EXPECT_EQ(host.readAllStandardError().toStdString(),
                  std::string("hostsim: Invalid value of LUMEN_HOST_START: ") + text + "\n");
        EXPECT_EQ(host.readAllStandardOutput(), QByteArray()) << text;
    }
}
