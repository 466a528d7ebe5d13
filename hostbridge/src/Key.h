#pragma once

// The bridge's shared key and the challenge a client answers with it.

#include <stdexcept>
#include <string>

namespace bridge {

/** A setting the bridge cannot start with; what() says which and why. */
class SettingError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/**
 * The key LUMEN_HOST_TOKEN or the first line of the file LUMEN_HOST_TOKEN_FILE
 * names, blanks trimmed; empty when neither is set. Throws SettingError when
 * both are set, the key is blank or the file cannot be read.
 */
std::string keyFromEnvironment();

/** 32 fresh random bytes from the system's generator, as 64 lowercase hex digits. */
std::string freshChallenge();
/** HMAC-SHA256 of `challenge` under `key`, as 64 lowercase hex digits. */
std::string answerTo(const std::string &key, const std::string &challenge);
/** True when the texts are equal; takes as long whatever their bytes. */
bool sameInConstantTime(const std::string &a, const std::string &b);

} // namespace bridge
