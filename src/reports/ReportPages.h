#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

#include "reports/ReportLayout.h"

class QPaintDevice;
class QPainter;
class QTextLayout;

namespace reports {

// The grey of the rules under a report's titles and between its pages' parts.
inline const QColor kRuleColour(150, 150, 150);

// The rows a report read, per band in layout order; each row holds the
// band's fields() in that order.
using BandRows = QVector<QVector<QStringList>>;

// The report's face at a size in points, given in the dots of a device of
// dpi, so that the laid-out pages paint alike on paper and, scaled, on the
// screen.
QFont ReportFont(double points, int dpi, bool bold = false);

// The faces a report is set in; every piece of text names one.
enum class FontRole : quint8 { Body, Bold, Title, Heading, RecordTitle, Chart, Count };

// A report cut into pages: every band is laid out once, line by line, and
// each page keeps only the pieces that fall on it, so that painting a page
// costs what is on it, and every text is drawn exactly once.
class ReportPages {
public:
    // Called after every page laid out with the number of rows placed so
    // far; it may throw to stop the run.
    using Progress = std::function<void(int rowsPlaced, int pagesLaidOut)>;

    // Lays the report out for a body of bodySize device dots on device,
    // whose resolution the font metrics follow. title and subtitle are
    // already filled in.
    ReportPages(const ReportLayout& layout, const BandRows& rows, const QString& title,
                const QString& subtitle, QPaintDevice* device, const QSizeF& bodySize,
                const Progress& progress = {});
    ~ReportPages();
    ReportPages(const ReportPages&) = delete;
    ReportPages& operator=(const ReportPages&) = delete;

    int count() const { return int(pages_.size()); }
    // "Title (συνέχεια)" on a page (0 first) that begins inside a record.
    const QString& runningTitle(int page) const { return pages_[page].runningTitle; }
    // Paints one page's body with its top left corner at the painter's origin.
    void paintBody(QPainter& painter, int page) const;
    // The total number of rows across all bands, for progress.
    static int RowCount(const BandRows& rows);

    // A text on one line: its own string, or, for a paragraph that had to be
    // broken by QTextLayout (marks or other joined characters, or a text
    // that is not at the left), one line of that paragraph's kept layout,
    // drawn without being shaped again.
    struct TextPiece {
        QPointF baseline;
        QString text;
        FontRole font = FontRole::Body;
        int layout = -1;
        int line = 0;
    };
    struct ShadePiece {
        QRectF area;
        QColor colour;
    };
    struct ChartPiece {
        QRectF area;
        QStringList labels;
        QVector<double> values;
    };
    struct Page {
        QString runningTitle;
        QVector<ShadePiece> shades;
        QVector<QLineF> rules;
        QVector<TextPiece> texts;
        QVector<ChartPiece> charts;
    };

private:
    friend class PageBuilder;

    QFont fonts_[int(FontRole::Count)];
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
    double ruleWidth_ = 0;
    QVector<Page> pages_;
};

}  // namespace reports
