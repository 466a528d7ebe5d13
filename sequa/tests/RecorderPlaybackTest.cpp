// What the buttons do at once in Immediate Test Mode, the recorded script
// does again when it is saved, loaded and played.
#include "sequa/core/recorder/ScriptButtons.h"
#include "sequa/tests/RecorderTestBench.h"
#include "simhost/SimulatedHost.h"

namespace lumen::sequa::test {
namespace {

struct MemoryState
{
    double realPreset = 0;
    double livePreset = 0;
    bool presetsOn = false;
    QString spectrumId;
    float quantity = 0;
    QString units;
    QString sampleDate;
    QString sampleTime;
    bool acquiring = false;

    bool operator==(const MemoryState &) const = default;
};

struct HostState
{
    int primary = 0;
    bool output1 = false;
    bool output2 = false;
    MemoryState second;
    MemoryState third;
    bool operator==(const HostState &) const = default;
};

void PrintTo(const MemoryState &m, std::ostream *os)
{
    *os << "{real " << m.realPreset << ", live " << m.livePreset << ", on " << m.presetsOn
        << ", id " << m.spectrumId.toStdString() << ", qty " << m.quantity << ", units "
        << m.units.toStdString() << ", date " << m.sampleDate.toStdString() << ", time "
        << m.sampleTime.toStdString() << ", acq " << m.acquiring << "}";
}

void PrintTo(const HostState &h, std::ostream *os)
{
    *os << "primary " << h.primary << ", out " << h.output1 << h.output2 << ", memory 2 ";
    PrintTo(h.second, os);
    *os << ", memory 3 ";
    PrintTo(h.third, os);
}

MemoryState stateOf(const SpectrumMemory &memory)
{
    return {memory.realPreset, memory.livePreset, memory.presetsOn,
            memory.spectrumId, memory.quantity,   memory.units,
            memory.sampleDate, memory.sampleTime, memory.acquiring};
}

class RecorderPlayback : public RecorderTestBench
{
protected:
    HostState hostState(SimulatedHost &host)
    {
        return {host.primary(), host.externalOutput(1), host.externalOutput(2),
                stateOf(host.memory(2)), stateOf(host.memory(3))};
    }

    /** The answers the Ask buttons and the Ask commands both get. */
    void queueSampleAnswers()
    {
        m_operator.queueInput(QStringLiteral("12.5"));
        m_operator.queueInput(QStringLiteral("g"));
        m_operator.queueInput(QStringLiteral("06-Dec-2026"));
        m_operator.queueInput(QStringLiteral("14:30:00"));
    }

    void pressButtons()
    {
        model().setPrimaryNumberText(QStringLiteral("2"));
        m_buttons.setPrimary();
        m_buttons.preset(1);
        m_operator.queueInput(QStringLiteral("300"));
        m_buttons.preset(2);
        m_operator.queueInput(QStringLiteral("120"));
        m_buttons.preset(3);
        m_operator.queueInput(QStringLiteral("Soil 12"));
        m_spectrum.setInfo();
        queueSampleAnswers();
        m_spectrum.askQuantity();
        m_spectrum.askUnits();
        m_spectrum.askDate();
        m_spectrum.askTime();
        m_buttons.extOut(1, true);
        m_buttons.extOut(2, true);
        m_buttons.extOut(2, false);
        m_operator.queueInput(QStringLiteral("2"));
        m_operator.queueInput(QStringLiteral("3"));
        m_spectrum.copySpectrum();
        m_buttons.acquire(0);
    }
};

TEST_F(RecorderPlayback, APlayedScriptDoesWhatItsButtonsDidAtOnce)
{
    SimulatedHost &first = useSimulatedHost(1024);
    pressButtons();
    EXPECT_TRUE(m_operator.messages().isEmpty()) << m_operator.messages().join('|').toStdString();
    const HostState immediate = hostState(first);
    EXPECT_EQ(immediate.primary, 2);
    EXPECT_EQ(immediate.second.realPreset, 300);
    EXPECT_EQ(immediate.third.spectrumId, "Soil 12");
    EXPECT_TRUE(immediate.output1);
    EXPECT_TRUE(immediate.second.acquiring);
    EXPECT_EQ(linesOf(QStringLiteral("Wt.txt")), QStringList{"12.5"});

    const QString script = model().scriptText();
    EXPECT_EQ(script.split("\r\n", Qt::SkipEmptyParts),
              QStringList({"SetPrimary 2", "PresetsOn", "SetRealPreset 300", "SetLivePreset 120",
                           "SetSpectrumIDSoil 12", "AskQuantity", "AskUnits", "AskDate", "AskTime",
                           "SetExtOut 1, 1", "SetExtOut 2, 1", "SetExtOut 2, 0",
                           "CopySpectrum 3, 2", "StartAcquire"}));

    ScriptButtons scriptButtons(model(), runner());
    const QString path = file(QStringLiteral("recorded.lsf"));
    m_operator.queueFile(path);
    scriptButtons.save();
    model().setScriptText(QString());
    m_operator.queueFile(path);
    scriptButtons.load();
    EXPECT_EQ(model().scriptText().split("\r\n", Qt::SkipEmptyParts),
              script.split("\r\n", Qt::SkipEmptyParts));

    SimulatedHost &second = useSimulatedHost(1024);
    model().setDoNow(false);
    queueSampleAnswers();
    EXPECT_FALSE(scriptButtons.play());
    EXPECT_EQ(hostState(second), immediate);
    EXPECT_TRUE(m_operator.messages().isEmpty()) << m_operator.messages().join('|').toStdString();
}

TEST_F(RecorderPlayback, PreviewsReachTheSimulatedHost)
{
    SimulatedHost &host = useSimulatedHost(1024);
    m_buttons.preset(1);
    m_operator.queueInput(QStringLiteral("60"));
    m_buttons.askLive();
    EXPECT_EQ(host.memory(1).livePreset, 60);

    m_operator.queueFile(valueFile(QStringLiteral("live.txt"), "90\r\n"));
    m_buttons.getLive();
    EXPECT_EQ(host.memory(1).livePreset, 90);

    m_buttons.extOut(2, true);
    EXPECT_TRUE(host.externalOutput(2));
    m_spectrum.numberOfChannels();
    EXPECT_TRUE(model().statusText().contains(" 1024")) << model().statusText().toStdString();

    m_operator.queueInput(QStringLiteral("spec1"));
    m_spectrum.askName();
    EXPECT_EQ(linesOf(QStringLiteral("SpmFile.txt")), QStringList{"spec1"});

    m_spectrum.getCounts();
    EXPECT_TRUE(model().statusText().startsWith("Maximum count is"))
        << model().statusText().toStdString();
    EXPECT_EQ(linesOf(DataFiles::kChannelFileName).size(), 1024);
    EXPECT_TRUE(m_operator.messages().isEmpty()) << m_operator.messages().join('|').toStdString();
}

} // namespace
} // namespace lumen::sequa::test
