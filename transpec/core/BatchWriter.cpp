#include "transpec/core/BatchWriter.h"

#include "common/core/Failure.h"

#include <QDir>
#include <QFileInfo>

namespace lumen::transpec {

BatchWriter::~BatchWriter()
{
    for (Pending &p : m_pending) {
        if (p.outcome.valid())
            p.outcome.wait();
    }
}

void BatchWriter::write(BatchItem item, std::function<void()> job)
{
    Pending p{std::move(item), {}};
    p.outcome = std::async(std::launch::async, [job = std::move(job), this] {
        try {
            job();
            return Outcome{QString(), m_folders.renamed()};
        } catch (const lumen::Failure &failure) {
            return Outcome{failure.description(), 0};
        }
    });
    m_pending.push_back(std::move(p));
    while (m_pending.size() > kWritesAtOnce)
        reportFirst();
}

void BatchWriter::skip(BatchItem item)
{
    m_pending.push_back(Pending{std::move(item), {}});
    while (m_pending.size() > kWritesAtOnce)
        reportFirst();
}

void BatchWriter::reportFirst()
{
    Pending p = std::move(m_pending.front());
    m_pending.pop_front();
    BatchItem &item = p.item;
    if (p.outcome.valid()) {
        const Outcome outcome = p.outcome.get();
        item.refusal = outcome.failure;
        if (item.refusal.isEmpty()) {
            try {
                m_folders.makeDurable(QFileInfo(item.target).absolutePath(), outcome.ticket);
            } catch (const lumen::Failure &failure) {
                item.refusal = failure.description();
            }
        }
    }
    m_out << (item.refusal.isEmpty() ? QDir::toNativeSeparators(item.target) : item.refusal)
          << "\n";
    m_out.flush();
    for (const QString &note : item.notes)
        m_err << note << "\n";
    if (!item.refusal.isEmpty()) {
        ++m_failed;
    } else if (!item.warnings.isEmpty()) {
        ++m_warned;
        for (const QString &w : item.warnings)
            m_err << item.input << ": warning: " << w << "\n";
    }
    m_err.flush();
}

int BatchWriter::finish()
{
    while (!m_pending.empty())
        reportFirst();
    if (m_failed > 0)
        return kSomeNotWritten;
    return m_warned > 0 ? kWrittenWithWarnings : kAllWritten;
}

} // namespace lumen::transpec
