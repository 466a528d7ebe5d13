#pragma once

#include "common/core/Operator.h"

namespace lumen::sequa {

class RunJournal;
class RunRecord;

/**
 * The operator during a run: every question still goes to the operator in
 * use, and what was asked and answered goes to the run's journal too. It
 * installs itself for its lifetime and puts the previous operator back.
 */
class JournalOperator : public Operator
{
public:
    /** `record`, when given, counts the input boxes: the answers a resume must skip. */
    explicit JournalOperator(RunJournal &journal, RunRecord *record = nullptr);
    ~JournalOperator() override;
    JournalOperator(const JournalOperator &) = delete;
    JournalOperator &operator=(const JournalOperator &) = delete;

    MessageAnswer messageBox(const QString &text, const QString &title,
                             MessageButtons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    void beep() override;
    void seekAnswers(int taken) override { m_inner.seekAnswers(taken); }
    bool answersWithoutAnyone() const override { return m_inner.answersWithoutAnyone(); }

private:
    Operator &m_inner;
    RunJournal &m_journal;
    RunRecord *m_record;
};

} // namespace lumen::sequa
