#include "sequa/core/check/ScriptArgumentCheck.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/ProcessLauncher.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRunner.h"
#include "sequa/core/files/LocalFiles.h"

#include "hostlink/HostApp.h"

#include <QFileInfo>
#include <functional>
#include <map>
#include <optional>

namespace lumen::sequa {

namespace {

constexpr int kFirstMemory = 1;
constexpr int kLastMemory = 8;
constexpr int kMostPasses = 9999;

using Severity = ScriptFinding::Severity;

/** The findings of one line, with the line's context at hand. */
struct LineFindings
{
    CommandContext &c;
    const ScriptCheckPlaces &places;
    int line;
    ScriptFindings &out;

    void add(Severity severity, const QString &text) { out.push_back({line, severity, text}); }
    void error(const QString &text) { add(Severity::Error, text); }

    bool hasComma() const { return c.line().contains(QLatin1Char(',')); }

    /** The 16-bit whole number a rule gives, or nothing after telling why it fails. */
    std::optional<int> int16(const QString &what, const std::function<int()> &rule)
    {
        try {
            return rule();
        } catch (const Failure &failure) {
            error(what + QStringLiteral(": ") + failure.description() +
                  QStringLiteral(" (a whole number from -32768 to 32767 is read)"));
            return std::nullopt;
        }
    }

    void memory(const QString &what, const std::function<int()> &rule)
    {
        const std::optional<int> number = int16(what, rule);
        if (number && (*number < kFirstMemory || *number > kLastMemory))
            error(QStringLiteral("%1 is spectrum %2: the host's memories are %3 to %4")
                      .arg(what)
                      .arg(*number)
                      .arg(kFirstMemory)
                      .arg(kLastMemory));
    }

    void strictState(const QString &what, bool onlyZeroOrOne)
    {
        if (!hasComma()) {
            error(what +
                  QStringLiteral(" is missing: no comma, so the whole line is read as it and "
                                 "is no number"));
            return;
        }
        const QString text = c.afterFirstComma();
        if (!isNumberText(text)) {
            error(QStringLiteral("%1 \"%2\" is no number").arg(what, text));
            return;
        }
        const std::optional<int> state = int16(what, [&] { return strictInt16(text); });
        if (state && onlyZeroOrOne && *state != 0 && *state != 1)
            error(QStringLiteral("%1 %2 can never be seen: an input is 0 or 1")
                      .arg(what)
                      .arg(*state));
    }

    void needsComma()
    {
        if (!hasComma())
            error(c.row().keyword +
                  QStringLiteral(" needs a comma between its two arguments and fails without it"));
    }

    void valueFile(const QString &name)
    {
        const QString trimmed = trimBlanks(name);
        if (trimmed.isEmpty()) {
            error(QStringLiteral("no value file named"));
            return;
        }
        const QString path =
            LocalFiles::resolve(places.programFolder, CommandContext::fileNameField(trimmed));
        if (!QFileInfo(path).isFile())
            add(Severity::Warning,
                QStringLiteral("value file %1 does not exist now (the line fails unless something "
                               "writes it first)")
                    .arg(path));
    }

    void hostFile(const QString &kind, const QString &name)
    {
        if (trimBlanks(name).isEmpty()) {
            error(QStringLiteral("no %1 named").arg(kind));
            return;
        }
        const QString path = places.hostFile(name);
        if (!QFileInfo(path).isFile())
            add(Severity::Warning,
                QStringLiteral("%1 %2 does not exist now (the host fails the line unless something "
                               "writes it first)")
                    .arg(kind, path));
    }

    void program(bool blankIsError)
    {
        const QString commandLine = c.trimmedArgument();
        if (commandLine.isEmpty()) {
            add(blankIsError ? Severity::Error : Severity::Warning,
                QStringLiteral("the command line is blank"));
            return;
        }
        const QStringList words = ProcessLauncher::splitCommandLine(commandLine);
        const QString name = words.value(0);
        if (name.isEmpty() || places.findProgram(name).isEmpty())
            error(
                QStringLiteral("program %1 is not found beside Sequa, in the current folder or on "
                               "the search path")
                    .arg(name));
    }
};

using Rule = std::function<void(LineFindings &)>;

const std::map<QString, Rule> &rules()
{
    static const std::map<QString, Rule> table = {
        {QStringLiteral("SetPrimary"),
         [](LineFindings &f) {
             f.memory(QStringLiteral("the primary spectrum"), [&] { return f.c.int16Argument(); });
         }},
        {QStringLiteral("CopySpectrum"),
         [](LineFindings &f) {
             f.memory(QStringLiteral("the destination"), [&] { return f.c.int16Argument(); });
             if (!f.hasComma()) {
                 f.error(QStringLiteral("no comma: the source spectrum is read as 0, no memory"));
                 return;
             }
             f.memory(QStringLiteral("the source"),
                      [&] { return int16OfText(f.c.afterFirstComma()); });
         }},
        {QStringLiteral("GetROIData"),
         [](LineFindings &f) {
             f.int16(QStringLiteral("the ROI number"), [&] { return f.c.int16Argument(); });
         }},
        {QStringLiteral("GetExtIn"),
         [](LineFindings &f) {
             f.int16(QStringLiteral("the input number"), [&] { return f.c.int16Argument(); });
         }},
        {QStringLiteral("LOGROIS"),
         [](LineFindings &f) {
             f.int16(QStringLiteral("the ROI count"), [&] { return f.c.int16Argument(); });
         }},
        {QStringLiteral("SetExtOut"),
         [](LineFindings &f) {
             f.int16(QStringLiteral("the output number"), [&] { return f.c.int16Argument(); });
             f.strictState(QStringLiteral("the output state"), false);
         }},
        {QStringLiteral("WaitInput"),
         [](LineFindings &f) {
             f.int16(QStringLiteral("the input number"), [&] { return f.c.int16Argument(); });
             f.strictState(QStringLiteral("the awaited state"), true);
             f.add(Severity::Warning, QStringLiteral("waits for an outside signal: the estimate "
                                                     "cannot know when it comes"));
         }},
        {QStringLiteral("WaitSeconds"),
         [](LineFindings &f) {
             try {
                 toInt32(f.c.numericArgument());
             } catch (const Failure &failure) {
                 f.error(QStringLiteral("the seconds: ") + failure.description());
             }
         }},
        {QStringLiteral("DoNumPass"),
         [](LineFindings &f) {
             const std::optional<int> passes =
                 f.int16(QStringLiteral("the passes"), [&] { return f.c.int16Argument(); });
             if (passes && *passes < 0)
                 f.error(
                     QStringLiteral("Loop cannot do less than 1 pass!!! (%1 passes)").arg(*passes));
             else if (passes && *passes > kMostPasses)
                 f.add(Severity::Warning,
                       QStringLiteral("%1 passes become %2").arg(*passes).arg(kMostPasses));
         }},
        {QStringLiteral("SaveRprt"), [](LineFindings &f) { f.needsComma(); }},
        {QStringLiteral("GetRprtName"),
         [](LineFindings &f) {
             f.needsComma();
             if (f.hasComma())
                 f.valueFile(f.c.afterFirstComma());
         }},
        {QStringLiteral("LoadConfig"),
         [](LineFindings &f) {
             f.needsComma();
             if (f.hasComma())
                 f.hostFile(QStringLiteral("configuration file"), f.c.beforeFirstComma());
         }},
        {QStringLiteral("LoadROIs"),
         [](LineFindings &f) { f.hostFile(QStringLiteral("ROI file"), f.c.argument()); }},
        {QStringLiteral("AutoSaveSpc"),
         [](LineFindings &f) {
             if (trimBlanks(f.c.textFrom(12).left(4)).isEmpty())
                 f.error(QStringLiteral("Spectra fill name ROOT is blank!!!"));
         }},
        {QStringLiteral("WaitDlg"),
         [](LineFindings &f) {
             f.add(Severity::Warning, QStringLiteral("waits for the operator to press OK: the "
                                                     "estimate counts no time for it"));
         }},
        {QStringLiteral("CallExtProg"), [](LineFindings &f) { f.program(true); }},
        {QStringLiteral("WaitExtProg"), [](LineFindings &f) { f.program(false); }},
        {QStringLiteral("KillFile"),
         [](LineFindings &f) {
             if (f.c.trimmedArgument().isEmpty())
                 f.add(Severity::Warning, QStringLiteral("the path is blank"));
         }},
    };
    return table;
}

/** Value-file commands: the file is the trimmed argument. */
bool readsValueFileArgument(const QString &keyword)
{
    static const QStringList keywords = {
        QStringLiteral("GetLivePreset"), QStringLiteral("GetID"),    QStringLiteral("GetQuantity"),
        QStringLiteral("GetDate"),       QStringLiteral("GetTime"),  QStringLiteral("GetUnits"),
        QStringLiteral("GetName"),       QStringLiteral("GetDTName")};
    return keywords.contains(keyword);
}

} // namespace

ScriptArgumentCheck::ScriptArgumentCheck(ScriptCheckPlaces places)
    : m_places(std::move(places)),
      m_model(std::make_unique<MainModel>([](const QString &) -> std::unique_ptr<HostApp> {
          throw Failure(QStringLiteral("no host while checking"));
      })),
      m_runner(std::make_unique<CommandRunner>(*m_model))
{
}

ScriptArgumentCheck::~ScriptArgumentCheck() = default;

void ScriptArgumentCheck::check(const CommandRow &row, const QString &trimmedLine, int lineNumber,
                                ScriptFindings &findings) const
{
    CommandContext context(*m_runner, *m_model, row, trimmedLine);
    LineFindings line{context, m_places, lineNumber, findings};
    if (readsValueFileArgument(row.keyword)) {
        line.valueFile(context.trimmedArgument());
        return;
    }
    const auto rule = rules().find(row.keyword);
    if (rule != rules().end())
        rule->second(line);
}

} // namespace lumen::sequa
