#include "reports/TextWidths.h"

#include <algorithm>

namespace reports {

namespace {

const QString kAmountSigns = QStringLiteral("0123456789,.-/: ");

}  // namespace

TextWidths::TextWidths(const QFontMetricsF& metrics) : metrics_(metrics) {
    pairFree_ = FindsNoKerning();
}

bool TextWidths::IsPairFreeCandidate(QChar c) {
    return kAmountSigns.contains(c);
}

// Every pair of the amount signs, shaped, must be as wide as its two
// advances; a face that kerns one of them is measured whole.
bool TextWidths::FindsNoKerning() const {
    for (const QChar first : kAmountSigns) {
        for (const QChar second : kAmountSigns) {
            const double pair = metrics_.horizontalAdvance(QString(first) + second);
            if (qAbs(pair - metrics_.horizontalAdvance(first) -
                     metrics_.horizontalAdvance(second)) > 1e-6 * pair) {
                return false;
            }
        }
    }
    return true;
}

double TextWidths::advanceSum(const QString& text) {
    double sum = 0;
    for (const QChar c : text) {
        if (c.isSurrogate() || c.isMark() || c.category() == QChar::Other_Control ||
            c.category() == QChar::Other_Format) {
            return -1;
        }
        auto advance = advances_.constFind(c.unicode());
        if (advance == advances_.cend()) {
            advance = advances_.insert(c.unicode(), metrics_.horizontalAdvance(c));
        }
        sum += *advance;
    }
    return sum;
}

double TextWidths::width(const QString& text, double sum) {
    if (sum >= 0 && pairFree_ && std::all_of(text.begin(), text.end(), IsPairFreeCandidate)) {
        return sum;
    }
    return metrics_.horizontalAdvance(text);
}

}  // namespace reports
