#pragma once

#include <QColor>
#include <QSizeF>
#include <QStringList>
#include <QTextDocument>
#include <QVector>

#include "reports/BarChart.h"
#include "reports/ReportLayout.h"

class QPaintDevice;

namespace reports {

// The grey of the rules under a report's titles and between its pages' parts.
inline const QColor kRuleColour(150, 150, 150);

// The rows a report read, per band in layout order; each row holds the
// band's fields() in that order.
using BandRows = QVector<QVector<QStringList>>;

// A report laid out as one paginated text document for one paint device:
// tables repeat their header row on every page, records flow across pages.
class ReportDocument {
public:
    ReportDocument(const ReportLayout& layout, const BandRows& rows, QPaintDevice* device,
                   const QSizeF& pageSize);
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    QTextDocument& document() { return document_; }
    int pageCount() const { return document_.pageCount(); }
    // The running title of a page (0 first) that begins inside a record, as
    // "Title (συνέχεια)"; empty for a page that does not.
    QString continuedTitle(int page);

private:
    struct RecordSpan {
        int titleBlock = 0;
        int lastBlock = 0;
        QString runningTitle;
        double top = 0;
        double bottom = 0;
    };

    // Lengths in text formats are in document units, which the layout scales
    // from the screen's resolution to the device's; object sizes are in dots.
    double mm(double millimetres) const { return millimetres * unitsPerMm_; }
    double dots(double millimetres) const { return millimetres * dotsPerMm_; }
    void addHeading(const QString& text, double points, double spaceBeforeMm);
    void addTable(const Band& band, const QVector<QStringList>& rows);
    void addTotals(const Band& band, const QVector<QStringList>& rows);
    void addRecords(const Band& band, const QVector<QStringList>& rows);
    void addChart(const Band& band, const QVector<QStringList>& rows);
    void locateRecords();

    QTextDocument document_;
    QTextCursor cursor_;
    BarChart chart_;
    double unitsPerMm_;
    double dotsPerMm_;
    double width_;
    double fontPoints_;
    QVector<RecordSpan> records_;
    bool recordsLocated_ = false;
};

}  // namespace reports
