#include "sequa/core/play/JournalOperator.h"

#include "sequa/core/run/RunJournal.h"
#include "sequa/core/run/RunRecord.h"

namespace lumen::sequa {

namespace {

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString answerName(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QStringLiteral("OK");
    case MessageAnswer::Cancel:
        return QStringLiteral("Cancel");
    case MessageAnswer::Yes:
        return QStringLiteral("Yes");
    case MessageAnswer::No:
        return QStringLiteral("No");
    }
    return QString();
}

} // namespace

JournalOperator::JournalOperator(RunJournal &journal, RunRecord *record)
    : m_inner(currentOperator()), m_journal(journal), m_record(record)
{
    setCurrentOperator(this);
}

JournalOperator::~JournalOperator()
{
    setCurrentOperator(&m_inner);
}

MessageAnswer JournalOperator::messageBox(const QString &text, const QString &title,
                                          MessageButtons buttons)
{
    const MessageAnswer answer = m_inner.messageBox(text, title, buttons);
    m_journal.write(
        QStringLiteral("Message: \"%1\" answered %2").arg(oneLine(text), answerName(answer)));
    return answer;
}

QString JournalOperator::inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText)
{
    const QString answer = m_inner.inputBox(prompt, title, defaultText);
    if (m_record)
        m_record->noteAnswerAsked();
    if (answer.isNull() && m_inner.answersWithoutAnyone() && m_record) {
        // A box nobody could answer leaves its line undone: a blank ID or a
        // spectrum never saved must not end as success.
        m_record->noteUnansweredBox();
        m_journal.write(QStringLiteral("Input box \"%1\" cancelled: the answers ran out at "
                                       "answer %2 of the run; the line counts as failed")
                            .arg(oneLine(prompt))
                            .arg(m_record->answersAsked()));
        return answer;
    }
    m_journal.write(answer.isNull()
                        ? QStringLiteral("Input box \"%1\" cancelled").arg(oneLine(prompt))
                        : QStringLiteral("Input box \"%1\" answered \"%2\"")
                              .arg(oneLine(prompt), oneLine(answer)));
    return answer;
}

std::optional<QString> JournalOperator::fileDialog(const FileDialogRequest &request)
{
    const std::optional<QString> chosen = m_inner.fileDialog(request);
    if (!chosen && m_inner.answersWithoutAnyone() && m_record) {
        m_record->noteUnansweredBox();
        m_journal.write(QStringLiteral("File dialog \"%1\" cancelled: nobody is there to "
                                       "choose; the line counts as failed")
                            .arg(oneLine(request.title)));
        return chosen;
    }
    m_journal.write(QStringLiteral("File dialog \"%1\" answered %2")
                        .arg(oneLine(request.title), chosen ? QStringLiteral("\"%1\"").arg(*chosen)
                                                            : QStringLiteral("Cancel")));
    return chosen;
}

void JournalOperator::beep()
{
    m_inner.beep();
}

} // namespace lumen::sequa
