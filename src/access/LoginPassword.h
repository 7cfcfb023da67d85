#pragma once

#include <QString>

namespace store {
class Connection;
}

namespace accesscontrol {

// How many stored login passwords the text opens, on an open connection:
// the one check of the password, shared by the login window and the
// terminal commands. The text is taken as typed, already trimmed.
int CountMatchingPasswords(store::Connection& connection, const QString& text);

}  // namespace accesscontrol
