#include "sequa/core/commands/RunProvenance.h"

#include "sequa/core/MainModel.h"
#include "sequa/core/run/RunJournal.h"

#include <QFile>
#include <QStringList>
#include <algorithm>

namespace lumen::sequa {

void RunProvenance::exportFor(MainModel &model)
{
    const RunJournal *journal = model.runRecord().journal();
    if (!model.playing() || !journal) {
        qunsetenv(kRunVariable);
        qunsetenv(kPassVariable);
        qunsetenv(kLineVariable);
        return;
    }
    QStringList passes;
    // An eleventh LoopBeg leaves the depth past the slots; it opened no loop.
    const int depth = std::min<int>(model.loopDepth(), MainModel::kLoopSlots);
    for (int d = 1; d <= depth; ++d)
        passes << QString::number(std::max<int>(model.loopCounter(d), 1));
    // A resumed run plays its interrupted passes again under the night's first
    // journal, so that what they record supersedes what the passes left before.
    qputenv(kRunVariable, QFile::encodeName(journal->chainFirst()));
    qputenv(kPassVariable, passes.join(u'.').toLatin1());
    qputenv(kLineVariable, QByteArray::number(model.currentLine()));
}

} // namespace lumen::sequa
