#pragma once

#include "common/core/Platform.h"

#include <QStringList>
#include <QTextStream>

namespace lumen::transpec {

/**
 * `Transpec --convert INPUT... [--out-dir DIR]` and
 * `Transpec --convert INPUT --output PATH`: converts CHN and SPC files to ANS
 * files with the window's own reading, filling and writing steps, with no
 * window and no dialog. One line per file on `out`: the path written, or the
 * message that stopped the file. Status 0 only when every file was written,
 * 1 when any failed, 2 for arguments it cannot use.
 */
class ConvertCommand
{
public:
    static bool isConvertRequest(const QStringList &args);
    /** `args` without the program name. */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err);
    /** What --help and --version print. */
    static lumen::ProgramInfo programInfo();
};

} // namespace lumen::transpec
