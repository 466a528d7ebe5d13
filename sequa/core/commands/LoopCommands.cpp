// Counted loops of the player and the per-pass sample numbers and spectrum names.
#include "sequa/core/commands/LoopCommands.h"

#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/Operator.h"
#include "hostlink/HostApp.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"
#include "sequa/core/run/PlayFileReader.h"

namespace lumen::sequa {

namespace {

const QString kOk = QStringLiteral("OK");
const QString kTooFewPasses = QStringLiteral("Loop cannot do less than 1 pass!!!");
const QString kLoopBegNotFound = QStringLiteral("Did NOT find LoopBeg command!!!");
const QString kBlankRoot = QStringLiteral("Spectra fill name ROOT is blank!!!");
constexpr qint16 kMostPasses = 9999;

void tell(const QString &text)
{
    currentOperator().messageBox(text, kProgramTitle, MessageButtons::Ok);
}

QString DoNumPass(CommandContext &c)
{
    MainModel &model = c.model();
    model.setNumPasses(c.int16Argument());
    if (model.numPasses() == 0) {
        const QString entry =
            currentOperator().inputBox(QStringLiteral("Enter number of passes (9999 max):"),
                                       QStringLiteral("Loop"), QStringLiteral("1"));
        model.setNumPasses(strictInt16(entry));
    }
    if (model.numPasses() < 1) {
        tell(kTooFewPasses);
        return kTooFewPasses;
    }
    if (model.numPasses() > kMostPasses)
        model.setNumPasses(kMostPasses);
    model.setNumPassLoopText(trimBlanks(numberToText(model.numPasses())));
    return kOk;
}

QString LoopBeg(CommandContext &c)
{
    MainModel &model = c.model();
    // The depth goes up before the slots are reached, so an eleventh loop
    // fails with the depth already at 11, as the loop state has always done.
    model.setLoopDepth(static_cast<qint16>(model.loopDepth() + 1));
    const int depth = model.loopDepth();
    model.loopStartLine(depth) = model.currentLine();
    model.loopPasses(depth) = model.numPasses();
    model.loopCounter(depth) = 1;
    model.loopPassStart(depth) = model.runRecord().tally();
    return kOk;
}

/** The innermost loop's pass number as text, without the leading blank. */
QString passNumber(MainModel &model)
{
    return trimBlanks(numberToText(model.loopCounter(model.loopDepth())));
}

QString AutoID(CommandContext &c)
{
    if (c.model().loopDepth() < 1)
        return QStringLiteral("Cannot use AutoID outside loop");
    QString id = QStringLiteral("Sample sequence number ") + passNumber(c.model());
    return c.host().SetSpectrumID(id);
}

QString AutoSaveSpc(CommandContext &c)
{
    if (c.model().loopDepth() < 1)
        return QStringLiteral("Cannot use AutoSaveSpc outside loop");
    const QString root = trimBlanks(midText(c.line(), 12, 4));
    if (root.isEmpty()) {
        tell(kBlankRoot);
        return kBlankRoot;
    }
    QString name = root + passNumber(c.model());
    return c.host().SaveSpt(name);
}

} // namespace

QString ExecLoopEnd(MainModel &model)
{
    if (model.loopDepth() < 1) {
        const QString number = numberToText(model.currentLine());
        tell(QStringLiteral("Loopend at line ") + number + QStringLiteral(" without LoopBeg"));
        return QStringLiteral("LoopEnd at line ") + number + QStringLiteral(" without LoopBeg");
    }
    const int depth = model.loopDepth();
    if (model.loopCounter(depth) >= model.loopPasses(depth)) {
        model.setLoopDepth(static_cast<qint16>(depth - 1));
        return kOk;
    }
    model.loopCounter(depth) = static_cast<qint16>(model.loopCounter(depth) + 1);
    model.loopPassStart(depth) = model.runRecord().tally();

    PlayFileReader &reader = model.playFileReader();
    reader.rewind();
    const qint16 target = model.loopStartLine(depth);
    qint16 read = 0;
    while (read < target && !reader.atEnd()) {
        reader.readLine();
        ++read;
    }
    model.setCurrentLine(read);
    if (read < target) {
        tell(kLoopBegNotFound);
        reader.close();
        return kLoopBegNotFound;
    }
    return kOk;
}

void registerLoopCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("DoNumPass"), &DoNumPass);
    registry.add(QStringLiteral("LoopBeg"), &LoopBeg);
    registry.add(QStringLiteral("LoopEnd"),
                 [](CommandContext &c) { return ExecLoopEnd(c.model()); });
    registry.add(QStringLiteral("AutoID"), &AutoID);
    registry.add(QStringLiteral("AutoSaveSpc"), &AutoSaveSpc);
}

} // namespace lumen::sequa
