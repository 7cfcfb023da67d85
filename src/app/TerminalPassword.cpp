#include "app/TerminalPassword.h"

#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <cstdio>
#include <string>

namespace {

std::optional<QString> ReadPasswordFile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("cannot read the password file '%1': %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r')) {
        line.chop(1);
    }
    return QString::fromUtf8(line);
}

std::optional<QString> ReadStandardInputLine(QString& error) {
    std::string line;
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n') {
        line.push_back(char(c));
    }
    if (c == EOF && line.empty()) {
        error = QStringLiteral("no password was given");
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return QString::fromStdString(line);
}

// Echo off while the password is typed, back on whatever happens.
class HiddenTyping {
public:
    HiddenTyping() {
        hidden_ = tcgetattr(STDIN_FILENO, &saved_) == 0;
        if (hidden_) {
            termios quiet = saved_;
            quiet.c_lflag &= ~tcflag_t(ECHO);
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        }
    }
    ~HiddenTyping() {
        if (hidden_) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        }
    }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

private:
    termios saved_{};
    bool hidden_ = false;
};

}  // namespace

std::optional<QString> ReadTerminalPassword(const QString& passwordFile, QString& error,
                                            const char* prompt) {
    if (!passwordFile.isEmpty()) {
        return ReadPasswordFile(passwordFile, error);
    }
    if (isatty(STDIN_FILENO) == 0) {
        return ReadStandardInputLine(error);
    }
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    std::optional<QString> password;
    {
        const HiddenTyping hidden;
        password = ReadStandardInputLine(error);
    }
    std::fputs("\n", stderr);
    return password;
}
