#include "HeadlessOperator.h"

#include "Platform.h"

#include <QFile>

namespace lumen {

MessageAnswer HeadlessOperator::messageBox(const QString &text, const QString &title,
                                           MessageButtons buttons)
{
    QTextStream &err = standardError();
    err << title << ": " << QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"))
        << Qt::endl;
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

HeadlessOperator::HeadlessOperator()
{
    const QString answersPath = qEnvironmentVariable("LUMEN_ANSWERS");
    if (answersPath.isEmpty())
        return;
    QFile file(answersPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        standardError() << "LUMEN_ANSWERS: cannot read " << answersPath << Qt::endl;
        return;
    }
    // Latin-1 keeps every byte of the file as one character, as the value
    // files that the answers end up in are single-byte text.
    const QString text = QString::fromLatin1(file.readAll());
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        m_answers.push_back(line);
    }
    if (!m_answers.isEmpty() && m_answers.back().isEmpty() && text.endsWith(u'\n'))
        m_answers.pop_back();
}

QString HeadlessOperator::inputBox(const QString &prompt, const QString &title, const QString &)
{
    if (!m_answers.isEmpty()) {
        const QString answer = m_answers.takeFirst();
        standardError() << title << ": " << prompt << " " << answer << Qt::endl;
        return answer;
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
