#pragma once

#include "sequa/core/check/ScriptCheckPlaces.h"
#include "sequa/core/check/ScriptFinding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace lumen::sequa {

class MainModel;

/**
 * What a check of a script says, whoever asked (`--check` or the window's
 * Check Script): the findings line by line, then the estimated run time.
 */
struct ScriptCheckReport
{
    /** In line order; when the trial play gave up, a warning at its line comes last. */
    ScriptFindings findings;
    /** "estimated run time H:MM:SS", with what the figure leaves out. */
    QString estimate;

    bool hasErrors() const { return sequa::hasErrors(findings); }

    /** `bytes` as a script file holds them; `answers` the operator's, given ahead. */
    static ScriptCheckReport ofScript(const QByteArray &bytes, const ScriptCheckPlaces &places,
                                      const QStringList &answers);
    /**
     * The script of the window's box, checked as `--check` checks the file
     * Save Script writes of it, with the model's program folder. Not while
     * a run plays: the trial play stands in for the clock and the operator.
     */
    static ScriptCheckReport ofScriptBox(const MainModel &model);

    /**
     * The answers LUMEN_ANSWERS gives the trial play; none (said on `err`)
     * when it cannot be read, and the trial then takes each box's default.
     */
    static QStringList answersGivenAhead(QTextStream &err);
};

} // namespace lumen::sequa
