#pragma once

namespace lumen::ledgerly {

/**
 * The server's driver frees a prepared statement when its query goes, and
 * after a failed statement the transaction refuses that until it is rolled
 * back: the driver then prints "Unable to free statement" before the real
 * failure is reported. The statement ends with the transaction all the same,
 * so that line only hides the reason. Installs a message handler that drops
 * it and passes every other message on.
 */
void quietDriverNoise();

} // namespace lumen::ledgerly
