#include "transpec/core/BatchWriter.h"

#include "common/core/Failure.h"
#include "spectra/AnsWriter.h"

#include <QDir>
#include <vector>

namespace lumen::transpec {

BatchWriter::~BatchWriter()
{
    for (Pending &p : m_pending) {
        if (p.failure.valid())
            p.failure.wait();
    }
}

void BatchWriter::write(BatchItem item, const AnsHeader &header,
                        std::span<const std::int32_t> counts)
{
    Pending p{std::move(item), {}};
    p.failure = std::async(std::launch::async,
                           [target = p.item.target, header,
                            values = std::vector<std::int32_t>(counts.begin(), counts.end())] {
                               try {
                                   AnsWriter::writeFile(target, header, values);
                                   return QString();
                               } catch (const lumen::Failure &failure) {
                                   return failure.description();
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
    if (p.failure.valid())
        item.refusal = p.failure.get();
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
