#include "sequa/core/resume/FailedPasses.h"

#include "sequa/core/resume/JournalCheckpoint.h"

namespace lumen::sequa {

QString FailedPasses::note(MainModel &model, int line)
{
    JournalCheckpoint start = JournalCheckpoint::of(model);
    QString entry;
    if (start.loops.isEmpty()) {
        entry = kLineEntry + QString::number(line);
    } else {
        // Where a resume would enter this pass at its first line.
        start.line = start.loops.last().beginLine;
        start.now = start.loops.last().atPassStart;
        entry = kPassEntry + start.text().mid(JournalCheckpoint::kEntry.size());
    }
    if (m_named.contains(entry))
        return QString();
    m_named.insert(entry);
    return entry;
}

} // namespace lumen::sequa
