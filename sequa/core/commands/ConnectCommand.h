#pragma once

#include <QString>

namespace lumen::sequa {

class CommandRunner;

/**
 * The Connect command: a new HostAppObject, then the library name read back
 * into the library box. Reached for any line that starts with "Connect"
 * before trimming.
 */
class ConnectCommand
{
public:
    /** Seconds to keep pumping events when no library name came back. */
    static constexpr double kLibraryWaitSeconds = 20.0;

    /** "OKConnected to Lumen", or "No Connection"; Failure when the object cannot be created. */
    static QString run(CommandRunner &runner);
};

} // namespace lumen::sequa
