// Passwords of the web accounts and the random texts of the web sessions,
// through libsodium: a password is kept only as its Argon2id hash
// (crypto_pwhash_str, with its own salt and cost in the stored text), at
// 19 MiB and two passes. At most two hashes run at once in a process, so
// that a burst of logins cannot take the server's memory.
//
// Nothing here writes a password anywhere.
#pragma once

#include <string>

namespace kashidashi::accounts {

// The stored form of `password`. Throws std::runtime_error when libsodium
// cannot hash (out of memory).
std::string HashPassword(const std::string& password);

// True when `password` is the one `stored` was made from; false also for a
// stored text that is no hash.
bool VerifyPassword(const std::string& stored, const std::string& password);

// Spends the time of a verification without a stored hash, so that a number
// without an account answers as slowly as a wrong password.
void SpendVerificationTime(const std::string& password);

// A new password as the school prints it on a slip: eight characters of
// lower-case letters and digits without the look-alikes (0 o 1 l i).
std::string NewSlipPassword();

// `bytes` random bytes as URL-safe base64 without padding (session tokens,
// form tokens).
std::string RandomToken(size_t bytes = 32);

// The SHA-256 of `text` as hex: what a session store keys a token by.
std::string TokenDigest(const std::string& text);

// Equal texts, compared in a time that does not depend on where they differ.
bool SameToken(const std::string& a, const std::string& b);

}  // namespace kashidashi::accounts
