#include "access/PasswordHash.h"

#include <sodium.h>

#include <stdexcept>

namespace accesscontrol {
namespace {

HashCost& Cost() {
    static HashCost cost = HashCost::Interactive;
    return cost;
}

void InitialiseSodium() {
    static const int result = sodium_init();
    if (result < 0) {
        throw std::runtime_error("The password hashing library cannot start.");
    }
}

}  // namespace

QString HashPassword(const QString& password) {
    InitialiseSodium();
    const bool minimum = Cost() == HashCost::Minimum;
    const unsigned long long opsLimit =
        minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const size_t memLimit =
        minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    const QByteArray secret = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(hash, secret.constData(), size_t(secret.size()), opsLimit, memLimit,
                              crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw std::runtime_error("The password could not be hashed.");
    }
    return QString::fromLatin1(hash);
}

bool PasswordMatches(const QString& storedHash, const QString& password) {
    InitialiseSodium();
    const QByteArray hash = storedHash.toLatin1();
    if (hash.isEmpty() || hash.size() >= crypto_pwhash_STRBYTES) {
        return false;
    }
    const QByteArray secret = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), secret.constData(), size_t(secret.size())) ==
           0;
}

void SetPasswordHashCost(HashCost cost) {
    Cost() = cost;
}

}  // namespace accesscontrol
