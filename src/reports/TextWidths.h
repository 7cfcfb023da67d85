#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <vector>

namespace reports {

// The widths of texts in one face on one device, fast enough for the tens
// of thousands of cells of a long report. Shaping a whole text costs as much
// as printing it, so a text is measured by the sum of its characters'
// advances wherever that sum is its width, and shaped whole otherwise.
class TextWidths {
public:
    explicit TextWidths(const QFontMetricsF& metrics);

    const QFontMetricsF& metrics() const { return metrics_; }
    // The sum of the advances of text's characters, or a negative number
    // when text holds one that shaping may join to its neighbour (a mark,
    // half of a surrogate pair, a control). Kerning narrows a text by far
    // more often than it widens it, and never by much.
    double advanceSum(const QString& text);
    // The width of text as printed: the sum when its characters are all of
    // the set the face was found not to kern (digits and the signs of
    // amounts and dates), otherwise text shaped whole.
    double width(const QString& text, double sum);
    // The advance of one character; kShaped for one that cannot be summed.
    double advanceOf(QChar c);
    static constexpr double kShaped = -2;

private:
    static bool IsPairFreeCandidate(QChar c);
    bool FindsNoKerning() const;

    // The advances of the characters below kTableSize (Latin, Greek,
    // Cyrillic and their signs), filled as they are met: kUnknown until
    // measured, kShaped for a character that needs the whole text shaped.
    static constexpr int kTableSize = 0x800;
    static constexpr double kUnknown = -1;
    double measure(QChar c) const;

    QFontMetricsF metrics_;
    std::vector<double> table_;
    QHash<char16_t, double> others_;
    bool pairFree_ = false;
};

}  // namespace reports
