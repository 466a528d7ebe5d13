#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace lumen {

/** Buttons of a message box and the answers it can give. */
enum class MessageButtons
{
    Ok,
    YesNo,
    OkCancel,
    YesNoDefaultNo ///< Yes and No with No as the default button, for a question that destroys
};
enum class MessageAnswer
{
    Ok,
    Cancel,
    Yes,
    No
};

/** The answer when nobody is there to give one: OK for an OK-only box, otherwise No or Cancel. */
MessageAnswer answerWithoutOperator(MessageButtons buttons);

/** What a common open or save file dialog is asked to show. */
struct FileDialogRequest
{
    enum class Kind
    {
        Open,
        Save
    };
    Kind kind = Kind::Open;
    QString title;
    QString defaultExtension; ///< without the dot, e.g. "lsf"
    QString initialName;      ///< file name offered in the name box
    QString filter;           ///< design form: "Text (*.txt)|*.txt|All (*.*)|*.*"
    int filterIndex = 1;      ///< 1-based, as designed
    QString initialFolder;
    bool mustExist = false;       ///< open: file must exist
    bool overwritePrompt = false; ///< save: ask before replacing
    bool hideReadOnly = false;
};

/**
 * The person at the program: message boxes, input boxes, file dialogs and the
 * beep. Logic asks through this interface only, so that a run without a
 * display never blocks and tests answer from a queue.
 */
class Operator
{
public:
    virtual ~Operator() = default;

    virtual MessageAnswer messageBox(const QString &text, const QString &title,
                                     MessageButtons buttons = MessageButtons::Ok) = 0;
    /**
     * Input box; the empty text when cancelled, as designed. A cancelled box
     * gives the null QString, an answered empty box an empty one that is not
     * null, so that a record of the run can tell the two apart.
     */
    virtual QString inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText = QString()) = 0;
    /** The chosen path, or nothing when cancelled. */
    virtual std::optional<QString> fileDialog(const FileDialogRequest &request) = 0;
    virtual void beep() = 0;
    /**
     * Answers given ahead go on from answer `taken` (0-based); an operator
     * who answers in person has none and ignores it.
     */
    virtual void seekAnswers(int taken) { (void)taken; }
    /**
     * True when nobody is there to answer: a box this operator cancels had no
     * answer given ahead left, so whatever asked for it goes on without one.
     */
    virtual bool answersWithoutAnyone() const { return false; }
};

/** The operator in use by this process (headless until a program installs another). */
Operator &currentOperator();
/** Installs an operator; the caller keeps ownership. nullptr restores the headless one. */
void setCurrentOperator(Operator *op);

} // namespace lumen
