#pragma once

#include <QString>

// The login password is kept only as an Argon2id hash string, which carries
// its own salt and cost, so a stored hash verifies whatever cost made it.
namespace accesscontrol {

// Throws std::runtime_error when the hash cannot be computed (out of memory).
QString HashPassword(const QString& password);
bool PasswordMatches(const QString& storedHash, const QString& password);

// The product hashes at libsodium's interactive cost; tests switch to the
// minimum cost to stay fast.
enum class HashCost { Interactive, Minimum };
void SetPasswordHashCost(HashCost cost);

}  // namespace accesscontrol
