#pragma once

namespace lumen::transpec {

/** The whole program: standard options, the batch converter or the window. */
int runTranspec(int argc, char **argv);

} // namespace lumen::transpec
