#include "reports/TextWidths.h"

#include <algorithm>

namespace reports {

namespace {

const QString kAmountSigns = QStringLiteral("0123456789,.-/: ");

}  // namespace

TextWidths::TextWidths(const QFontMetricsF& metrics)
    : metrics_(metrics), table_(kTableSize, kUnknown) {
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

// A character that shaping may join to its neighbour cannot be summed.
double TextWidths::measure(QChar c) const {
    const bool joins = c.isSurrogate() || c.isMark() || c.category() == QChar::Other_Control ||
                       c.category() == QChar::Other_Format;
    return joins ? kShaped : metrics_.horizontalAdvance(c);
}

double TextWidths::advanceOf(QChar c) {
    if (c.unicode() < kTableSize) {
        double& known = table_[c.unicode()];
        if (known == kUnknown) {
            known = measure(c);
        }
        return known;
    }
    auto known = others_.constFind(c.unicode());
    if (known == others_.cend()) {
        known = others_.insert(c.unicode(), measure(c));
    }
    return *known;
}

double TextWidths::advanceSum(const QString& text) {
    double sum = 0;
    for (const QChar c : text) {
        const double advance = advanceOf(c);
        if (advance == kShaped) {
            return -1;
        }
        sum += advance;
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
