#include "transpec/core/ConvertModel.h"

#include "common/core/DateText.h"
#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/Paths.h"
#include "spectra/AnsWriter.h"
#include "spectra/ChnReader.h"
#include "spectra/CsvWriter.h"
#include "spectra/N42Reader.h"
#include "spectra/N42Writer.h"
#include "spectra/SpcReader.h"
#include "spectra/SpeReader.h"
#include "spectra/SpectrumDoubts.h"
#include "spectra/SpectrumFile.h"
#include "spectra/SpectrumKind.h"
#include "transpec/core/BoxNames.h"
#include "transpec/core/ReadBack.h"
#include "transpec/core/SpectrumBoxes.h"

#include <QFileInfo>

#include <cfloat>
#include <cmath>
#include <optional>

namespace lumen::transpec {

const QString ConvertModel::kCaption = QStringLiteral("Lmn Spectrum file import utility 010622");
const QString ConvertModel::kMessageTitle = QStringLiteral("Transpec");
const QString ConvertModel::kSettingsName = QStringLiteral("Transpec&FILE.DAT");

namespace {

// A box's number as single precision; nothing when it does not fit.
std::optional<float> singleOf(const QString &text)
{
    const double v = lumen::numericValue(text);
    if (!std::isfinite(v) || std::fabs(v) > double(FLT_MAX))
        return std::nullopt;
    return float(v);
}

// Started for a caller, a missing or too small SPC file goes unmentioned:
// the caller learns of it from the exit status.
bool unmentionedForCaller(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() <= SpcReader::kRecordSize);
}

// Date box + time box as an OLE date; nothing unless both parse.
std::optional<double> oleOf(const QString &dateText, const QString &timeText)
{
    const std::optional<QDate> date = lumen::parseDate(dateText);
    const std::optional<QTime> time = lumen::parseTime(timeText);
    if (!date || !time)
        return std::nullopt;
    return lumen::toOleDate(lumen::localDateTime(*date, *time));
}

QString dateShown(double ole)
{
    return lumen::formatDateTime(lumen::fromOleDate(ole), u"MMM DD, YYYY");
}

QString timeShown(double ole)
{
    return lumen::formatDateTime(lumen::fromOleDate(ole), u"HH:MM:SS");
}

// The doubts about a spectrum when it is written as another format than ANS:
// a time the value lacks is left out there, not written as 0 (and one the
// format cannot carry is named by its writer).
QStringList doubtsBeyondAns(const Spectrum &spectrum)
{
    QStringList doubts;
    Spectrum times = spectrum;
    for (const auto &[seconds, what] :
         {std::pair{&times.liveSeconds, "live time"}, std::pair{&times.realSeconds, "real time"}}) {
        if (!*seconds)
            doubts << QStringLiteral("no %1 in the file").arg(QLatin1String(what));
        if (!*seconds || !std::isfinite(**seconds))
            seconds->reset();
    }
    // Neither absent time is then below or above the other.
    if (!times.liveSeconds)
        times.liveSeconds = times.realSeconds.value_or(0.0);
    if (!times.realSeconds)
        times.realSeconds = times.liveSeconds;
    return doubts + SpectrumDoubts::of(times);
}

// The folder part of a chosen path, without its trailing separator, when the
// path holds one; else nothing.
std::optional<QString> folderOf(const QString &path)
{
    const QString title = ConvertModel::fileTitle(path);
    if (title.size() < path.size() - 1)
        return path.left(path.size() - (title.size() + 1));
    return std::nullopt;
}

} // namespace

ConvertModel::ConvertModel(QObject *parent) : QObject(parent)
{
    m_header.setHeaderType(2);
    m_openDialog.kind = lumen::FileDialogRequest::Kind::Open;
    m_openDialog.title = QStringLiteral("Import Stored Spectrum");
    m_openDialog.defaultExtension = QStringLiteral("spc");
    m_openDialog.initialName = QStringLiteral("*.spc");
    // The newer formats follow "All Files", so that the filter index kept in
    // settings records written before them still names the same filter.
    m_openDialog.filter = QStringLiteral("Ortec SPC Files (*.spc)|*.spc|"
                                         "Ortec CHN Files (*.chn)|*.chn|"
                                         "All Files (*.*)|*.*|"
                                         "IAEA SPE Files (*.spe)|*.spe|"
                                         "N42 Files (*.n42;*.xml)|*.n42;*.xml");
    m_openDialog.filterIndex = 1;
    m_openDialog.mustExist = true;
    m_openDialog.hideReadOnly = true;
    m_settings.openFilterIndex = 1;
}

// Why nothing was read from an input that gave no message: a .txt file is
// opened without a word in the window, so say here what it holds.
QString ConvertModel::nothingRead(const QString &input)
{
    if (QFileInfo(input).suffix().compare(u"txt", Qt::CaseInsensitive) != 0)
        return QStringLiteral("Nothing read from ") + input;
    QByteArray bytes;
    try {
        bytes = SpectrumFile::load(input);
    } catch (const lumen::Failure &failure) {
        return failure.description();
    }
    const QString kind = spectrumkind::of(bytes);
    if (kind.isEmpty())
        return input + QStringLiteral(": no spectrum; a .txt file is not read, and this one holds "
                                      "no CHN, SPC, SPE or N42 spectrum");
    return input + QStringLiteral(": a .txt file is not read; ") + spectrumkind::looksLike(kind);
}

QString ConvertModel::fileTitle(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(cut + 1);
}

void ConvertModel::startUp(const QString &argument, const QString &settingsPath)
{
    m_commandLineMode = false;
    m_header.setHeaderType(2);
    m_openDialog.initialFolder = lumen::programDirectory();
    m_settingsPath = settingsPath;

    QString refusal;
    if (const std::optional<TranspecSettings> s = TranspecSettings::load(settingsPath, &refusal)) {
        m_settings = *s;
        m_texts[box::SpcToRead] = lumen::trimBlanks(s->lastSpectrum);
        m_openDialog.initialName = lumen::trimBlanks(s->lastSpectrum);
        m_openDialog.defaultExtension = lumen::trimBlanks(s->openExtension);
        m_openDialog.initialFolder = lumen::trimBlanks(s->openFileName);
        m_openDialog.filterIndex = s->openFilterIndex;
    } else {
        show(QStringLiteral("Config file [") + settingsPath + QStringLiteral("] not found") +
             (refusal.isEmpty() ? QString() : QStringLiteral(" (") + refusal + u')'));
    }

    QString output = lumen::trimBlanks(argument);
#ifdef Q_OS_WIN
    // Windows file names ignore case, so the upper-cased name is the same file.
    output = output.toUpper();
#endif
    m_outputPath = output;
    m_commandLineMode = !output.isEmpty();
    // A caller that named an output file has not got it until a save succeeds.
    m_exitStatus = m_commandLineMode ? 1 : 0;
    Q_EMIT changed();
}

QString ConvertModel::saveCaption() const
{
    return m_commandLineMode ? QStringLiteral("Import Converted Spectrum")
                             : QStringLiteral("Save Converted file");
}

QString ConvertModel::exitCaption() const
{
    return m_commandLineMode ? QStringLiteral("Abort") : QStringLiteral("Exit");
}

void ConvertModel::setText(const QString &box, const QString &text)
{
    m_texts[box] = text;
}

int ConvertModel::graphChannels() const
{
    const double n = lumen::numericValue(text(box::NumChan));
    return int(std::clamp(n, 0.0, double(ChannelStore::kCapacity)));
}

void ConvertModel::show(const QString &message)
{
    if (m_sink)
        m_sink(message);
    else
        lumen::currentOperator().messageBox(message, kMessageTitle, lumen::MessageButtons::Ok);
}

std::function<void()> ConvertModel::pump() const
{
    if (!m_pumpDuringReads)
        return {};
    return [] { lumen::pumpEvents(); };
}

void ConvertModel::openSpectrum()
{
    m_loaded = false;
    for (const QString &name : box::kSpectrumBoxes)
        m_texts[name].clear();
    m_typeColour = kWhite;
    m_openDialog.initialName = text(box::SpcToRead);
    m_texts[box::SpcToRead].clear();
    Q_EMIT changed();

    const std::optional<QString> chosen = lumen::currentOperator().fileDialog(m_openDialog);
    if (!chosen || chosen->isEmpty()) {
        Q_EMIT changed();
        return;
    }
    m_openDialog.initialName = *chosen;
    loadChosenFile(*chosen);
}

void ConvertModel::loadChosenFile(const QString &path)
{
    m_loaded = false;
    m_savedTo.clear();
    m_savedWarnings.clear();
    m_warnings.clear();
    m_readWarnings.clear();
    m_notices.clear();
    // Every file starts from a fresh header: nothing of the previous spectrum
    // (its sample date, calibration, size) may pass into the next file.
    m_header = AnsHeader();
    m_header.setHeaderType(2);
    m_numberOfChannels = 0;
    m_spectrum = Spectrum();
    for (const QString &name : box::kSpectrumBoxes)
        m_texts[name].clear();
    m_typeColour = kWhite;
    m_texts[box::SpcToRead] = path;
    m_loadColour = kYellow;

    const QString title = fileTitle(path);
    if (const std::optional<QString> folder = folderOf(path))
        m_openDialog.initialFolder = *folder;

    const qsizetype dot = title.lastIndexOf(u'.');
    const QString type =
        dot < 0 ? QString() : lumen::trimBlanks(title.mid(dot + 1).left(3)).toUpper();
    const QString source = lumen::trimBlanks(path);
    if (type == u"SPC") {
        IncomingSpectrum read = SpcReader::readFile(source, pump());
        if (m_commandLineMode && unmentionedForCaller(source))
            read.messages.clear();
        apply(read);
    } else if (type == u"CHN") {
        apply(ChnReader::readFile(source, pump()));
    } else if (type == u"SPE") {
        apply(SpeReader::readFile(source, pump()));
    } else if (type == u"N42" || type == u"XML") {
        apply(N42Reader::readFile(source, pump()));
    } else if (type != u"TXT") {
        show(QStringLiteral("File type ") + type + QStringLiteral(" is not supported"));
    }

    if (m_loaded) {
        Q_EMIT graphChanged();
        fillAnsFields(title);
        if (m_commandLineMode)
            m_texts[box::AnsToWrite] = m_outputPath;
    }
    m_saveColour = kGreen;
    m_saveEnabled = true;
    Q_EMIT changed();
}

void ConvertModel::apply(const IncomingSpectrum &read)
{
    m_spectrum = read.spectrum;
    if (read.loaded) {
        const QMap<QString, QString> boxes = SpectrumBoxes::of(m_spectrum);
        for (auto it = boxes.cbegin(); it != boxes.cend(); ++it)
            m_texts[it.key()] = it.value();
        m_typeColour = m_spectrum.countKindKnown ? kWhite : kRed;
        m_channels.load(m_spectrum.counts);
    }
    Q_EMIT changed();
    for (const QString &message : read.messages)
        show(message);
    m_warnings << read.warnings;
    m_readWarnings = read.warnings;
    m_notices = read.notices;
    m_loaded = read.loaded;
}

void ConvertModel::fillAnsFields(const QString &title)
{
    m_warnings << SpectrumDoubts::of(m_spectrum);
    m_header = AnsWriter::headerOf(m_spectrum, &m_warnings);
    // The coefficients reach the header from their boxes at the save, as the
    // operator left them; one that cannot be stored leaves none behind.
    for (int i = 0; i < 4; ++i)
        m_header.setCoefficient(i, 0.0f);
    m_texts[box::AnsID] = m_header.spectrumId();
    m_texts[box::AnsRT] = lumen::shortDoubleText(m_header.realTime());
    m_texts[box::AnsLT] = lumen::shortDoubleText(m_header.liveTime());
    m_texts[box::AnsSize] = lumen::shortSingleText(m_header.sampleSize());

    m_texts[box::AnsUnits] = m_header.sampleUnits();
    m_texts[box::AnsType] = QString::number(m_header.headerType());
    m_numberOfChannels = m_header.groupSize();
    m_texts[box::AnsNumChan] = QString::number(m_numberOfChannels);
    m_texts[box::AnsMcaDate] = dateShown(m_header.mcaStart());
    m_texts[box::AnsMcaTime] = timeShown(m_header.mcaStart());
    m_texts[box::AnsSamDate] = dateShown(m_header.sampleDateTime());
    m_texts[box::AnsSamTime] = timeShown(m_header.sampleDateTime());

    if (lumen::numericValue(text(box::GrpSize)) == 0.0)
        m_texts[box::GrpSize] = text(box::AnsNumChan);

    const qsizetype dot = title.indexOf(u'.');
    m_texts[box::AnsToWrite] =
        dot >= 0 ? title.left(dot + 1) + QStringLiteral("Ans") : title + QStringLiteral(".Ans");
}

bool ConvertModel::writeAns()
{
    return write(OutputFormat::Ans);
}

ConvertedFile ConvertModel::converted(OutputFormat format)
{
    ConvertedFile file;
    if (format == OutputFormat::Ans) {
        headerFromBoxes();
        const std::span<const std::int32_t> counts = m_channels.first(channelsToWrite());
        file.bytes = AnsWriter::toBytes(m_header, counts);
        file.meant = readback::ansValueOf(m_header, counts);
        file.warnings = m_warnings;
        return file;
    }
    SpectrumImage image =
        format == OutputFormat::N42 ? N42Writer::image(m_spectrum) : CsvWriter::image(m_spectrum);
    file.bytes = std::move(image.bytes);
    file.meant = std::move(image.carried);
    file.warnings = m_readWarnings + doubtsBeyondAns(m_spectrum) + m_spectrum.notes + image.losses;
    return file;
}

bool ConvertModel::write(OutputFormat format)
{
    const QString path = lumen::trimBlanks(text(box::AnsToWrite));
    m_savedTo.clear();
    m_savedWarnings.clear();
    bool written = true;
    try {
        ConvertedFile file = converted(format);
        // Read back before it counts as saved, as every converted file is.
        readback::writeChecked(format, path, file.bytes, file.meant);
        m_savedTo = path;
        m_savedWarnings = std::move(file.warnings);
    } catch (const lumen::Failure &failure) {
        written = false;
        show(failure.description());
    }
    Q_EMIT changed();
    return written;
}

int ConvertModel::channelsToWrite() const
{
    // Not a number (say after a failed open) writes no channels at all.
    const double n = lumen::numericValue(text(box::NumChan));
    return int(std::clamp(n, 0.0, double(ChannelStore::kCapacity)));
}

const AnsHeader &ConvertModel::headerFromBoxes()
{
    m_header.setSpectrumId(lumen::trimBlanks(text(box::AnsID)).left(AnsHeader::kIdWidth));
    m_header.setRealTime(lumen::numericValue(text(box::AnsRT)));
    m_header.setLiveTime(lumen::numericValue(text(box::AnsLT)));
    if (const std::optional<float> size = singleOf(text(box::AnsSize)))
        m_header.setSampleSize(*size);
    m_header.setSampleUnits(lumen::trimBlanks(text(box::AnsUnits)).left(AnsHeader::kUnitsWidth));
    try {
        m_header.setGroupSize(lumen::int16OfText(text(box::GrpSize)));
    } catch (const lumen::Failure &) {
        // keeps the previous group size
    }
    if (const std::optional<double> start = oleOf(text(box::AnsMcaDate), text(box::AnsMcaTime)))
        m_header.setMcaStart(*start);
    m_texts[box::AnsMcaDate] = dateShown(m_header.mcaStart());
    m_texts[box::AnsMcaTime] = timeShown(m_header.mcaStart());
    const QString *coefficientBoxes[] = {&box::C0, &box::C1, &box::C2, &box::C3};
    for (int i = 0; i < 4; ++i) {
        if (const std::optional<float> c = singleOf(text(*coefficientBoxes[i])))
            m_header.setCoefficient(i, *c);
    }
    return m_header;
}

bool ConvertModel::saveConverted()
{
    if (!m_commandLineMode) {
        lumen::FileDialogRequest request;
        request.kind = lumen::FileDialogRequest::Kind::Save;
        request.title = QStringLiteral("Save Converted Spectrum");
        request.defaultExtension = QStringLiteral("ans");
        request.initialName = text(box::AnsToWrite);
        // The further formats follow "All Files", as in the open dialog.
        request.filter = QStringLiteral("Korlund ANS Files (*.ans)|*.ans|All Files (*.*)|*.*|"
                                        "N42 Files (*.n42)|*.n42|CSV Files (*.csv)|*.csv");
        request.filterIndex = 1;
        // Beside the spectrum, where its converted file belongs; without
        // one, where the last save went.
        const std::optional<QString> spectrumFolder =
            m_loaded ? folderOf(lumen::trimBlanks(text(box::SpcToRead))) : std::nullopt;
        request.initialFolder = spectrumFolder.value_or(lumen::trimBlanks(m_settings.saveFolder));
        request.hideReadOnly = true;
        request.overwritePrompt = false;
        const std::optional<QString> chosen = lumen::currentOperator().fileDialog(request);
        if (!chosen || chosen->isEmpty())
            return false;
        if (const std::optional<QString> folder = folderOf(*chosen))
            m_saveFolder = *folder;
        m_texts[box::AnsToWrite] = *chosen;
        m_settings.saveFolder = m_saveFolder;
        m_saveColour = kGreen;
        m_saveEnabled = true;
        Q_EMIT changed();
    }
    const bool written =
        write(m_commandLineMode ? OutputFormat::Ans : outputformat::ofPath(text(box::AnsToWrite)));
    if (m_commandLineMode) {
        m_exitStatus = written ? 0 : 1;
        exitProgram();
    }
    return written;
}

void ConvertModel::exitProgram()
{
    if (!lumen::trimBlanks(text(box::SpcToRead)).isEmpty())
        m_settings.lastSpectrum = lumen::trimBlanks(text(box::SpcToRead));
    m_settings.openExtension = lumen::trimBlanks(m_openDialog.defaultExtension);
    if (!lumen::trimBlanks(m_openDialog.initialName).isEmpty())
        m_settings.openFileName = lumen::trimBlanks(m_openDialog.initialName);
    if (!lumen::trimBlanks(m_saveFolder).isEmpty())
        m_settings.saveFolder = lumen::trimBlanks(m_saveFolder);
    m_settings.openFilterIndex = std::int16_t(m_openDialog.filterIndex);
    if (!m_settingsPath.isEmpty()) {
        try {
            m_settings.save(m_settingsPath);
        } catch (const lumen::Failure &failure) {
            show(failure.description());
        }
    }
    requestExit(m_exitStatus);
}

void ConvertModel::requestExit(int status)
{
    m_exitRequested = true;
    m_exitStatus = status;
    Q_EMIT exitWanted(status);
}

} // namespace lumen::transpec
