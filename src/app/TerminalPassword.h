#pragma once

#include <QString>
#include <optional>

// The login password for a command run in the terminal: the first line of
// passwordFile when one is named; otherwise typed at the terminal after a
// prompt, without echo; from standard input when that is not a terminal.
// No value when it cannot be read; error then says why.
// The prompt says which password is asked.
std::optional<QString> ReadTerminalPassword(const QString& passwordFile, QString& error,
                                            const char* prompt = "Password: ");
