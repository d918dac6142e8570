#include "library/accounts/password_hash.h"

#include <sodium.h>

#include <mutex>
#include <semaphore>
#include <stdexcept>

namespace kashidashi::accounts {
namespace {

void Initialise() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (sodium_init() < 0) throw std::runtime_error("libsodium を初期化できません。");
    });
}

// Two hashes at a time: each holds 19 MiB while it runs.
std::counting_semaphore<2>& HashSlots() {
    static std::counting_semaphore<2> slots(2);
    return slots;
}

class HashSlot {
  public:
    HashSlot() { HashSlots().acquire(); }
    ~HashSlot() { HashSlots().release(); }
    HashSlot(const HashSlot&) = delete;
    HashSlot& operator=(const HashSlot&) = delete;
};

// Argon2id with 19 MiB and two passes, the least that OWASP's password
// storage advice asks for: a tenth of a second on a busy school server, so
// that a class's slips are issued in seconds and a login never waits long.
constexpr unsigned long long kOpsLimit = 2;
constexpr size_t kMemLimit = 19u * 1024 * 1024;
static_assert(kOpsLimit >= crypto_pwhash_OPSLIMIT_MIN && kMemLimit >= crypto_pwhash_MEMLIMIT_MIN);

}  // namespace

std::string HashPassword(const std::string& password) {
    Initialise();
    char stored[crypto_pwhash_STRBYTES];
    HashSlot slot;
    if (crypto_pwhash_str(stored, password.data(), password.size(), kOpsLimit, kMemLimit) != 0)
        throw std::runtime_error("パスワードを暗号化できません（メモリが足りません）。");
    return stored;
}

bool VerifyPassword(const std::string& stored, const std::string& password) {
    Initialise();
    if (stored.empty() || stored.size() >= crypto_pwhash_STRBYTES) return false;
    HashSlot slot;
    return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

void SpendVerificationTime(const std::string& password) {
    // A hash made once with the same cost, verified like a real one.
    static const std::string dummy = HashPassword("kx-no-account");
    VerifyPassword(dummy, password);
}

std::string NewSlipPassword() {
    Initialise();
    static constexpr char kAlphabet[] = "abcdefghjkmnpqrstuvwxyz23456789";
    constexpr uint32_t kSize = sizeof(kAlphabet) - 1;
    std::string password;
    for (int i = 0; i < 8; ++i) password += kAlphabet[randombytes_uniform(kSize)];
    return password;
}

std::string RandomToken(size_t bytes) {
    Initialise();
    std::string raw(bytes, '\0');
    randombytes_buf(raw.data(), raw.size());
    std::string text(sodium_base64_ENCODED_LEN(bytes, sodium_base64_VARIANT_URLSAFE_NO_PADDING),
                     '\0');
    sodium_bin2base64(text.data(), text.size(), reinterpret_cast<const unsigned char*>(raw.data()),
                      raw.size(), sodium_base64_VARIANT_URLSAFE_NO_PADDING);
    text.resize(text.find('\0'));
    sodium_memzero(raw.data(), raw.size());
    return text;
}

std::string TokenDigest(const std::string& text) {
    Initialise();
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    char hex[crypto_hash_sha256_BYTES * 2 + 1];
    sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
    return hex;
}

bool SameToken(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    return sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace kashidashi::accounts
