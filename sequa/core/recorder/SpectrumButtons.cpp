#include "sequa/core/recorder/SpectrumButtons.h"

#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "hostlink/HostApp.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/files/DataFiles.h"
#include "sequa/core/files/SampleDateTime.h"

namespace lumen::sequa {

namespace {

const QString kDateFile = QStringLiteral("Date.txt");
const QString kTimeFile = QStringLiteral("Time.txt");
const QString kUnitsFile = QStringLiteral("Units.txt");
const QString kQuantityFile = QStringLiteral("Wt.txt");
const QString kIdFile = QStringLiteral("Id.txt");
const QString kNameFile = QStringLiteral("SpmFile.txt");

} // namespace

SpectrumButtons::SpectrumButtons(MainModel &model, CommandRunner &runner)
    : m_model(model), m_handover(model, runner)
{
}

QString SpectrumButtons::askOperator(const QString &prompt, const QString &title)
{
    return m_handover.ask(prompt, title, QString());
}

void SpectrumButtons::askDate()
{
    if (m_model.doNow()) {
        const QString entry =
            askOperator(QStringLiteral("Enter sample Date (DD-MMM-YYYY):"),
                        QStringLiteral("Sample collection date for decay correction"));
        const QString date =
            entry.isEmpty() ? SampleDateTime::today() : SampleDateTime::formatAsDate(entry);
        m_handover.run(QStringLiteral("SampleDate") + trimBlanks(date));
        if (!m_handover.showingFailure([&] { m_handover.writeValueFile(kDateFile, date); }))
            return;
    }
    m_handover.record(QStringLiteral("AskDate"));
}

void SpectrumButtons::askTime()
{
    if (m_model.doNow()) {
        const QString entry =
            askOperator(QStringLiteral("Enter sample Time of day (HH:MM:SS):"),
                        QStringLiteral("Sample collection time for decay correction"));
        const QString time =
            entry.isEmpty() ? SampleDateTime::now() : SampleDateTime::formatAsTime(entry);
        m_handover.run(QStringLiteral("SampleTime") + trimBlanks(time));
        if (!m_handover.showingFailure([&] { m_handover.writeValueFile(kTimeFile, time); }))
            return;
    }
    m_handover.record(QStringLiteral("AskTime"));
}

void SpectrumButtons::askUnits()
{
    if (m_model.doNow()) {
        const QString units =
            askOperator(QStringLiteral("Enter sample size units (2 Characters max):"),
                        QStringLiteral("Sample Units"));
        m_handover.run(QStringLiteral("SampleUnits") + trimBlanks(units));
        if (!m_handover.showingFailure([&] { m_handover.writeValueFile(kUnitsFile, units); }))
            return;
    }
    m_handover.record(QStringLiteral("AskUnits"));
}

void SpectrumButtons::askQuantity()
{
    if (m_model.doNow()) {
        const QString quantity =
            askOperator(QStringLiteral("Enter sample size (Weight or Volume):"),
                        QStringLiteral("Sample Quantity"));
        if (isNumberText(quantity))
            m_handover.run(QStringLiteral("SampleQuantity") + trimBlanks(quantity));
        if (!m_handover.showingFailure([&] { m_handover.writeValueFile(kQuantityFile, quantity); }))
            return;
    }
    m_handover.record(QStringLiteral("AskQuantity"));
}

void SpectrumButtons::askId()
{
    if (m_model.doNow()) {
        const QString id =
            askOperator(QStringLiteral("Enter spectrum ID:"), QStringLiteral("Spectrum ID"));
        // Straight to the host, as the command does at run time: no status, and
        // the reply is not examined; only a call that cannot be made is shown.
        const bool done = m_handover.showingFailure([&] {
            QString sent = id;
            m_model.hostAppObject().SetSpectrumID(sent);
            m_handover.writeValueFile(kIdFile, id);
        });
        if (!done)
            return;
    }
    m_handover.record(QStringLiteral("AskID"));
}

void SpectrumButtons::askName()
{
    if (m_model.doNow()) {
        const QString name = askOperator(QStringLiteral("Enter spectrum file name:"),
                                         QStringLiteral("Spectrum File Name"));
        if (!name.isEmpty()) {
            pumpEvents();
            m_handover.run(QStringLiteral("SaveSpectrum") + trimBlanks(name));
            const bool done = m_handover.showingFailure([&] {
                const QString type = m_model.lastAnalysisType();
                if (!type.isEmpty()) {
                    QString sentType = type;
                    QString sentName = trimBlanks(name);
                    m_model.hostAppObject().SaveRprt(sentType, sentName);
                }
                m_handover.writeValueFile(kNameFile, name);
            });
            if (!done)
                return;
        }
    }
    m_handover.record(QStringLiteral("AskName"));
}

void SpectrumButtons::getTime()
{
    m_handover.valueFileButton(
        QStringLiteral("Read Time from file"),
        [this](const QString &x) {
            switch (SampleDateTime::kindOf(x)) {
            case SampleDateTime::Kind::TimeOfDay:
                m_handover.run(QStringLiteral("SampleTime") + trimBlanks(x));
                break;
            case SampleDateTime::Kind::Date:
                break; // a date would move the sample's day: only a time of day is sent
            case SampleDateTime::Kind::Neither:
                throw Failure(kTypeMismatch + QStringLiteral(": \"") + x +
                              QStringLiteral("\" is no date or time"));
            }
        },
        QStringLiteral("GetTime "));
}

void SpectrumButtons::getDate()
{
    m_handover.valueFileButton(
        QStringLiteral("Read Date from file"),
        [this](const QString &x) {
            if (SampleDateTime::isDate(x))
                m_handover.run(QStringLiteral("SampleDate") + trimBlanks(x));
        },
        QStringLiteral("GetDate "));
}

void SpectrumButtons::getUnits()
{
    m_handover.valueFileButton(
        QStringLiteral("Read Units from file"),
        [this](const QString &x) { m_handover.run(QStringLiteral("SampleUnits") + trimBlanks(x)); },
        QStringLiteral("GetUnits "));
}

void SpectrumButtons::getQuantity()
{
    m_handover.valueFileButton(
        QStringLiteral("Read Weight/Volume from file"),
        [this](const QString &x) {
            if (isNumberText(x))
                m_handover.run(QStringLiteral("SampleQuantity") + trimBlanks(x));
        },
        QStringLiteral("GetQuantity "));
}

void SpectrumButtons::getSpectrumName()
{
    m_handover.valueFileButton(
        QStringLiteral("Read Spectrum FILE NAME from file"),
        [this](const QString &x) {
            if (x.isEmpty())
                return;
            pumpEvents();
            m_handover.run(QStringLiteral("SaveSpectrum") + trimBlanks(x));
        },
        QStringLiteral("GetName "));
}

void SpectrumButtons::getId()
{
    m_handover.valueFileButton(
        QStringLiteral("Read ID from file"),
        [this](const QString &x) {
            if (!x.isEmpty())
                m_handover.run(QStringLiteral("SetSpectrumID") + x);
        },
        QStringLiteral("GetID "));
}

void SpectrumButtons::getCounts()
{
    if (m_model.doNow() &&
        !m_handover.showingFailure([&] { DataFiles(m_model).DumpChannelCounts(); }))
        return;
    m_handover.record(QStringLiteral("GetCounts"));
}

void SpectrumButtons::numberOfChannels()
{
    const QString line = QStringLiteral("GetNumberChannels");
    m_handover.run(line);
    m_handover.record(line);
}

void SpectrumButtons::getRoiData()
{
    const QString entry = m_handover.ask(QStringLiteral("Data from which ROI?"),
                                         QStringLiteral("Get ROI Data"), QStringLiteral("1"));
    if (entry.isEmpty())
        return;
    if (const auto roi = m_handover.int16Entry(entry))
        m_handover.recordRun(QStringLiteral("GetROIData") + numberToText(*roi) +
                             QStringLiteral(", NET"));
}

void SpectrumButtons::setInfo()
{
    const QString id =
        m_handover.ask(QStringLiteral("Enter spectrum description:"),
                       QStringLiteral("Set ") + QStringLiteral("SpectrumID"), QStringLiteral("0"));
    if (!id.isEmpty())
        m_handover.recordRun(QStringLiteral("SetSpectrumID") + id);
}

void SpectrumButtons::copySpectrum()
{
    const QString title = QStringLiteral("Copy Spec");
    const QString fromEntry =
        m_handover.ask(QStringLiteral("Copy from spectrum:"), title, QStringLiteral("1"));
    if (fromEntry.isEmpty())
        return;
    const auto from = m_handover.spectrumEntry(fromEntry);
    if (!from)
        return;
    const int offered = *from + 1 > 8 ? 1 : *from + 1;
    const QString toEntry =
        m_handover.ask(QStringLiteral("Copy to spectrum:"), title, numberToText(offered));
    if (toEntry.isEmpty())
        return;
    if (const auto to = m_handover.spectrumEntry(toEntry)) {
        m_handover.recordRun(QStringLiteral("CopySpectrum") + numberToText(*to) +
                             QStringLiteral(",") + numberToText(*from));
    }
}

void SpectrumButtons::saveSpectrum()
{
    const QString name =
        m_handover.ask(QStringLiteral("Enter filename:"), QStringLiteral("Save Spectrum"));
    if (!name.isEmpty())
        m_handover.recordRun(QStringLiteral("SaveSpectrum") + name);
}

} // namespace lumen::sequa
