#include "transpec/core/ConvertCommand.h"

#include "common/core/NumberText.h"
#include "transpec/core/BatchWriter.h"
#include "transpec/core/BoxNames.h"
#include "transpec/core/ConvertModel.h"
#include "transpec/core/OutputFormat.h"
#include "transpec/core/OutputNames.h"
#include "transpec/core/ReadBack.h"

#include <QDir>
#include <QFileInfo>

namespace lumen::transpec {

namespace {
const QString kConvert = QStringLiteral("--convert");
const QString kOutDir = QStringLiteral("--out-dir");
const QString kOutput = QStringLiteral("--output");
const QString kTo = QStringLiteral("--to");

constexpr int kBadArguments = 2;

int usage(QTextStream &err, const QString &why)
{
    err << "Transpec: " << why << "\n"
        << "usage: Transpec --convert INPUT... [--out-dir DIR] [--to ans|n42|csv]\n"
        << "       Transpec --convert INPUT --output PATH [--to ans|n42|csv]\n"
        << "Transpec --help tells more.\n";
    err.flush();
    return kBadArguments;
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
    info.summary = QStringLiteral(
        "imports stored spectra (CHN, SPC, SPE, N42) and writes ANS, N42 or CSV files");
    info.usage =
        QStringLiteral("Usage: Transpec [ANSPATH]\n"
                       "       Transpec --convert INPUT... [--out-dir DIR] [--to ans|n42|csv]\n"
                       "       Transpec --convert INPUT --output PATH [--to ans|n42|csv]\n"
                       "       Transpec --graph SPECTRUM PNG [--log]\n"
                       "\n"
                       "Modes:\n"
                       "  (no arguments)  the converter window opens: open a spectrum, check or\n"
                       "                  edit the converted values, save the ANS file (or an\n"
                       "                  N42 or CSV file, as the name chosen ends: .n42, .csv).\n"
                       "  ANSPATH         the window imports one spectrum for a caller: the\n"
                       "                  spectrum chosen is saved as ANSPATH without asking and\n"
                       "                  the program ends (status 0 once written, else 1).\n"
                       "  --convert       converts each INPUT without any window. The output is\n"
                       "                  the input's name up to its last dot followed by .Ans\n"
                       "                  (.n42, .csv with --to), beside the input or in DIR.\n"
                       "                  One line per input on stdout: the path written, or\n"
                       "                  why it was not converted.\n"
                       "                  Warnings about doubtful inputs go to stderr, naming the\n"
                       "                  file. An existing output is replaced whole (written\n"
                       "                  beside it and renamed over it), never cut short.\n"
                       "  --graph         draws the window's graph of SPECTRUM into the PNG file\n"
                       "                  PNG (1200 x 600 pixels, log counts with --log); needs\n"
                       "                  no display; the energy axis in the calibration's unit.\n"
                       "                  Status 0 drawn, 3 drawn with a warning (fewer than\n"
                       "                  128 channels: empty; a calibration not in keV),\n"
                       "                  1 not read or not written.\n"
                       "\n"
                       "Options of --convert:\n"
                       "  --out-dir DIR   write the outputs into DIR (it must exist)\n"
                       "  --output PATH   the output of a single INPUT\n"
                       "  --to FORMAT     what to write: ans (the default), n42 or csv\n"
                       "\n"
                       "Outputs: ANS spectrum files; N42 XML files of the 2011 schema (one\n"
                       "spectrum, live and real time as ISO 8601 durations, the start with its\n"
                       "UTC offset, the energy calibration with its deviation pairs, the\n"
                       "descriptions as remarks); CSV tables after RFC 4180 (a header line,\n"
                       "then channel, energy where the spectrum is calibrated, counts). What a\n"
                       "format cannot carry is named in a warning: a missing start and the\n"
                       "sample date and size in N42; times, dates, descriptions, sample size\n"
                       "and deviation pairs in CSV. Every file written is read back by the\n"
                       "reader of its format before it is reported: a channel count, channel\n"
                       "sum, live or real time, start, calibration or deviation pairs that\n"
                       "read back different are a failure of that file (bytes that would read\n"
                       "back wrong are not written; a file that does is removed), and its\n"
                       "folder is flushed to the disk before the path is printed.\n"
                       "\n"
                       "Inputs: Ortec-style CHN (.chn) and SPC (.spc) files, IAEA SPE text files\n"
                       "(.spe) and N42 XML files of the 2006 or 2011 schema (.n42, .xml; the\n"
                       "first spectrum with channel data is converted; a namespace prefix used\n"
                       "but never declared is read as a namespace of its own, with a warning).\n"
                       "An input is refused, and nothing written for it, when it cannot be read\n"
                       "(the message names the field or line, and the format the file looks\n"
                       "like when its name says another), is no regular file or is larger than\n"
                       "64 MB, is a .txt file (it says whether it holds a spectrum), declares\n"
                       "no channels, holds counts that are no whole numbers, has a type that is\n"
                       "not supported, is a text file named .spc, when its output would be one\n"
                       "of the inputs (by any path), or when an earlier input of the same run\n"
                       "already wrote that output. Written with a warning: data ending before\n"
                       "the declared channel count, an unknown file or data type, a live or\n"
                       "real time that is missing, negative or not finite, a real time below\n"
                       "the live time, negative counts, a date that cannot be read, further\n"
                       "spectra in the file, and what the ANS header cannot carry (a\n"
                       "description or unit cut to its width, more than two description\n"
                       "lines, a non-zero coefficient beyond C(3), a calibration not in keV,\n"
                       "energy deviation pairs, a missing start).\n"
                       "\n"
                       "Exit status of --convert:\n"
                       "  0  every input was written, without a warning\n"
                       "  3  every input was written, some with warnings\n"
                       "  1  some input was not written\n"
                       "  2  the arguments cannot be used (nothing converted)\n"
                       "\n"
                       "Environment:\n"
                       "  LUMEN_PROGRAM_DIR  folder of the settings file Transpec&FILE.DAT\n"
                       "                     (default: the program's folder)\n"
                       "  LUMEN_ROOT         the suite's data folder (default ~/Lumen), used for\n"
                       "                     the settings when the program's folder is a system\n"
                       "                     folder or not writable\n"
                       "  LUMEN_ANSWERS      without a display: a text file whose lines answer\n"
                       "                     input boxes in turn (dialogs are cancelled)\n");
    return info;
}

int ConvertCommand::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList inputs;
    QString outDir;
    QString output;
    QString formatName = QStringLiteral("ans");
    bool seenConvert = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == kConvert) {
            seenConvert = true;
        } else if (a == kOutDir || a == kOutput || a == kTo) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return usage(err, a + QStringLiteral(" needs a value"));
            (a == kOutDir ? outDir : a == kOutput ? output : formatName) = args[++i];
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
    const std::optional<OutputFormat> format = outputformat::named(formatName);
    if (!format)
        return usage(err, QStringLiteral("--to names ans, n42 or csv, not ") + formatName);

    BatchWriter batch(out, err);
    OutputNames claimed(inputs);
    for (const QString &input : inputs) {
        ConvertModel model;
        BatchItem item;
        item.input = input;
        model.setMessageSink([&item](const QString &m) { item.notes << m; });
        model.loadChosenFile(input);
        // The window's informing messages are the window's; their doubts are warnings here.
        for (const QString &notice : model.notices())
            item.notes.removeOne(notice);
        QString target;
        if (!model.loaded()) {
            item.refusal =
                item.notes.isEmpty() ? ConvertModel::nothingRead(input) : item.notes.takeLast();
        } else if (const double n = lumen::numericValue(model.text(box::NumChan)); n <= 0) {
            item.refusal = input + QStringLiteral(": declares %1 channels, nothing written")
                                       .arg(lumen::shortDoubleText(n));
        } else {
            const QString folder = outDir.isEmpty() ? QFileInfo(input).path() : outDir;
            target = output.isEmpty()
                         ? QDir(folder).filePath(OutputNames::batchName(
                               QFileInfo(input).fileName(), outputformat::extension(*format)))
                         : output;
            item.refusal = claimed.refusal(input, target);
        }
        if (item.refusal.isEmpty()) {
            claimed.claim(input, target);
            model.setText(box::AnsToWrite, target);
            item.target = target;
            ConvertedFile file = model.converted(*format);
            item.warnings = std::move(file.warnings);
            QByteArray bytes = std::move(file.bytes);
            // Nobody edited the boxes: the ANS file must give back the spectrum as read.
            Spectrum meant = *format == OutputFormat::Ans ? readback::ansCarried(model.spectrum())
                                                          : std::move(file.meant);
            batch.write(std::move(item),
                        [f = *format, target, bytes = std::move(bytes), meant = std::move(meant)] {
                            readback::writeChecked(f, target, bytes, meant);
                        });
        } else {
            batch.skip(std::move(item));
        }
    }
    return batch.finish();
}

} // namespace lumen::transpec
