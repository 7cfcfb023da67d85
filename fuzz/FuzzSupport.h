#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The fuzzer's bytes as typed text: UTF-8, as a paste or an input method
// delivers it; bytes that are not UTF-8 become replacement characters.
inline QString FuzzText(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A broken property is a finding: libFuzzer keeps the input that aborts.
inline void Require(bool holds, const char* property, const QString& input,
                    const QString& detail = QString()) {
    if (holds) {
        return;
    }
    std::fprintf(stderr, "PROPERTY BROKEN: %s\n  input: \"%s\"\n  %s\n", property,
                 qPrintable(input), qPrintable(detail));
    std::abort();
}

inline bool IsAsciiDigit(QChar ch) {
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

// The readers of files refuse with "line N: ...": N must be a line of the
// file, counted as an editor does (the text after the last line end is a
// line too).
inline bool NamesALineOf(const QString& message, const QByteArray& file) {
    const qsizetype colon = message.indexOf(QLatin1Char(':'));
    if (!message.startsWith(QLatin1String("line ")) || colon < 0) {
        return false;
    }
    bool ok = false;
    const qsizetype line = message.mid(5, colon - 5).toLongLong(&ok);
    return ok && line >= 1 && line <= file.count('\n') + 1;
}
