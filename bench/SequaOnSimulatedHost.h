// Sequa's program state driving an in-process simulated host on a manual
// clock, with Immediate Test Mode on: what the Sequa benchmarks measure
// against. Files land in a scratch folder.
#pragma once

#include "common/core/Operator.h"
#include "common/testsupport/ScriptedOperator.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaProgram.h"
#include "simhost/SimulatedHost.h"

#include <QTemporaryDir>
#include <memory>

struct SequaOnSimulatedHost
{
    lumen::ScriptedOperator op;
    QTemporaryDir folder;
    std::shared_ptr<lumen::SimulatedHost> host;
    std::unique_ptr<lumen::sequa::SequaProgram> program;

    SequaOnSimulatedHost(std::uint64_t seed, int channels)
    {
        lumen::setCurrentOperator(&op);
        lumen::SimulatedHostSettings settings;
        settings.seed = seed;
        settings.manualClock = true;
        settings.channels = channels;
        settings.dataFolder = folder.filePath(QStringLiteral("data"));
        host = std::make_shared<lumen::SimulatedHost>(settings);
        program =
            std::make_unique<lumen::sequa::SequaProgram>([this](const QString &) { return host; });
        program->model().setProgramFolder(folder.path());
        program->model().setDoNow(true);
        program->model().createHostAppObject();
    }
    ~SequaOnSimulatedHost() { lumen::setCurrentOperator(nullptr); }
};
