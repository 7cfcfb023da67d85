#include "store/InputText.h"

namespace {

// In the order they are tested.
const QString kRejected = QStringLiteral("'\"&*-=!#$[]?%+\\|@_~`(){}<>.;^:,");

}  // namespace

bool IsCleanInputText(const QString& text) {
    // The Greek question mark (U+037E) is the Greek code page's semicolon and
    // the Greek varia (U+1FEF) is canonically the backtick: the canonical
    // decomposition turns such look-alikes into the characters they stand
    // for. Decomposition only splits, so a rejected character followed by a
    // combining mark ("=" and U+0338) is never composed away into "≠".
    const QString canonical = text.normalized(QString::NormalizationForm_D);
    for (const QChar ch : canonical) {
        for (const QChar rejected : kRejected) {
            if (ch == rejected) {
                return false;
            }
        }
    }
    return true;
}

QString TrimInputText(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20) {
        ++begin;
    }
    while (end > begin && text.at(end - 1).unicode() <= 0x20) {
        --end;
    }
    return text.mid(begin, end - begin);
}
