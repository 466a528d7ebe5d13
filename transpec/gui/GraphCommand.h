#pragma once

#include <QStringList>
#include <QTextStream>

namespace lumen::transpec {

/**
 * `Transpec --graph SPECTRUM PNG [--log]`: the converter window's graph of a
 * spectrum drawn into a PNG file, with no display and no window shown.
 */
class GraphCommand
{
public:
    static constexpr int kWidth = 1200;
    static constexpr int kHeight = 600;

    /** True when the arguments ask for a graph ("--graph" among them). */
    static bool asked(const QStringList &args);

    /**
     * Reads the spectrum as the window opens it and replaces the PNG whole.
     * Status 0 drawn, 3 drawn but empty (too few channels to draw), 1 the
     * spectrum could not be read or the picture not written, 2 arguments it
     * cannot use. Needs a QApplication (an offscreen one will do).
     */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err);
};

} // namespace lumen::transpec
