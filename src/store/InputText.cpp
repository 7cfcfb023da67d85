#include "store/InputText.h"

namespace {

// In the order they are tested.
const QString kRejected = QStringLiteral("'\"&*-=!#$[]?%+\\|@_~`(){}<>.;^:,");

}  // namespace

bool IsCleanInputText(const QString& text) {
    for (const QChar ch : text) {
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
