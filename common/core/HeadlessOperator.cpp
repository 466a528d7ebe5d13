#include "common/core/HeadlessOperator.h"

#include "common/core/Platform.h"

namespace lumen {

MessageAnswer HeadlessOperator::messageBox(const QString &text, const QString &title,
                                           MessageButtons buttons)
{
    QTextStream &err = standardError();
    err << title << ": " << QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"))
        << Qt::endl;
    return answerWithoutOperator(buttons);
}

HeadlessOperator::HeadlessOperator() : m_answers(AnswersFile::fromEnvironment()) {}

QString HeadlessOperator::inputBox(const QString &prompt, const QString &title, const QString &)
{
    if (QString answer; m_answers.take(answer)) {
        standardError() << title << ": " << prompt << " " << answer << Qt::endl;
        return answer.isNull() ? QStringLiteral("") : answer;
    }
    standardError() << title << ": " << prompt << " (no operator: cancelled)" << Qt::endl;
    return QString();
}

std::optional<QString> HeadlessOperator::fileDialog(const FileDialogRequest &request)
{
    standardError() << request.title << " (no operator: cancelled)" << Qt::endl;
    return std::nullopt;
}

void HeadlessOperator::beep() {}

} // namespace lumen
