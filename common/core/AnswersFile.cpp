#include "common/core/AnswersFile.h"

#include "common/core/Failure.h"
#include "common/core/Platform.h"
#include "common/core/TextFile.h"

namespace lumen {

AnswersFile AnswersFile::fromEnvironment()
{
    AnswersFile file;
    const QString path = qEnvironmentVariable("LUMEN_ANSWERS");
    if (path.isEmpty())
        return file;
    try {
        file.m_answers = textfile::readLines(path);
    } catch (const Failure &failure) {
        standardError() << "LUMEN_ANSWERS: " << failure.description() << Qt::endl;
    }
    return file;
}

bool AnswersFile::take(QString &answer)
{
    if (m_next >= m_answers.size())
        return false;
    answer = m_answers.at(m_next++);
    return true;
}

} // namespace lumen
