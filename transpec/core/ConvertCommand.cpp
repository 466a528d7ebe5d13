#include "transpec/core/ConvertCommand.h"

#include "spectra/BoxNames.h"
#include "transpec/core/ConvertModel.h"

#include <QDir>
#include <QFileInfo>

namespace lumen::transpec {

namespace {
const QString kConvert = QStringLiteral("--convert");
const QString kOutDir = QStringLiteral("--out-dir");
const QString kOutput = QStringLiteral("--output");

int usage(QTextStream &err, const QString &why)
{
    err << "Transpec: " << why << "\n"
        << "usage: Transpec --convert INPUT... [--out-dir DIR]\n"
        << "       Transpec --convert INPUT --output PATH\n";
    err.flush();
    return 2;
}
} // namespace

bool ConvertCommand::isConvertRequest(const QStringList &args)
{
    return args.contains(kConvert);
}

lumen::ProgramInfo ConvertCommand::programInfo()
{
    lumen::ProgramInfo info;
    info.name = QStringLiteral("Transpec");
    info.summary =
        QStringLiteral("imports CHN and SPC spectrum files and writes ANS spectrum files");
    info.usage = QStringLiteral(
        "usage: Transpec [ANSPATH]\n"
        "       Transpec --convert INPUT... [--out-dir DIR]\n"
        "       Transpec --convert INPUT --output PATH\n"
        "\n"
        "Without arguments the converter window opens. With ANSPATH the window\n"
        "imports one spectrum, saves it as ANSPATH without asking, and ends.\n"
        "--convert converts each CHN or SPC file without any window, writing the\n"
        "input's name with the extension .Ans beside it or in DIR, and prints one\n"
        "line per file: the path written, or why the file was not converted.\n"
        "Exit status 0 when every file was written, 1 otherwise, 2 for bad arguments.\n");
    return info;
}

int ConvertCommand::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList inputs;
    QString outDir;
    QString output;
    bool seenConvert = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == kConvert) {
            seenConvert = true;
        } else if (a == kOutDir || a == kOutput) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return usage(err, a + QStringLiteral(" needs a value"));
            (a == kOutDir ? outDir : output) = args[++i];
        } else if (a.startsWith(QStringLiteral("--"))) {
            return usage(err, QStringLiteral("unknown option ") + a);
        } else {
            inputs << a;
        }
    }
    if (!seenConvert)
        return usage(err, QStringLiteral("--convert is missing"));
    if (inputs.isEmpty())
        return usage(err, QStringLiteral("no input file"));
    if (!output.isEmpty() && (inputs.size() != 1 || !outDir.isEmpty()))
        return usage(err, QStringLiteral("--output names the output of one input file only"));
    if (!outDir.isEmpty() && !QFileInfo(outDir).isDir())
        return usage(err, QStringLiteral("no such folder: ") + outDir);

    int failed = 0;
    for (const QString &input : inputs) {
        ConvertModel model;
        QStringList messages;
        model.setMessageSink([&messages](const QString &m) { messages << m; });
        model.loadChosenFile(input);
        bool written = false;
        QString target;
        if (model.loaded()) {
            // The window's default output name, placed in the chosen folder.
            const QString name = model.text(box::AnsToWrite);
            const QString folder = outDir.isEmpty() ? QFileInfo(input).path() : outDir;
            target = output.isEmpty() ? QDir(folder).filePath(name) : output;
            model.setText(box::AnsToWrite, target);
            const qsizetype before = messages.size();
            written = model.writeAns();
            if (!written && messages.size() > before) {
                out << messages.last() << "\n";
                messages.removeLast();
            }
        } else {
            out << (messages.isEmpty() ? QStringLiteral("Nothing read from ") + input
                                       : messages.takeLast())
                << "\n";
        }
        if (written)
            out << QDir::toNativeSeparators(target) << "\n";
        // Notes that did not stop the file (few channels, odd header type).
        for (const QString &m : messages)
            err << m << "\n";
        if (!written)
            ++failed;
    }
    out.flush();
    err.flush();
    return failed == 0 ? 0 : 1;
}

} // namespace lumen::transpec
