#include "interchange/InterchangeRecords.h"

namespace interchange {

bool DateRange::contains(const QDate& date) const {
    return (from.isNull() || date >= from) && (to.isNull() || date <= to);
}

void Outcome::skip(const QString& why) {
    ++skipped;
    notes.append(why);
}

void ReportProgress(const Progress& progress, qint64 done, qint64 total) {
    constexpr qint64 kProgressStep = 100;
    if (progress && (done % kProgressStep == 0 || done == total)) {
        progress(done, total);
    }
}

QString Excerpt(const QString& text) {
    constexpr int kExcerptLength = 40;
    return text.size() > kExcerptLength ? text.left(kExcerptLength) + QChar(0x2026) : text;
}

void ThrowAtLine(int line, const QString& problem) {
    throw InterchangeError(QStringLiteral("line %1: %2").arg(line).arg(problem));
}

QString DecodeUtf8Line(const QByteArray& bytes, int line) {
    // Bytes that are not UTF-8 decode to replacement characters, which do
    // not encode back to the same bytes.
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) {
        ThrowAtLine(line, QStringLiteral("the text is not UTF-8 (save the file as UTF-8)"));
    }
    return text;
}

QByteArray WithoutByteOrderMark(const QByteArray& file) {
    return file.startsWith(kUtf8ByteOrderMark) ? file.mid(kUtf8ByteOrderMark.size()) : file;
}

}  // namespace interchange
