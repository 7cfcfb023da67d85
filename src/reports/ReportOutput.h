#pragma once

#include <QDateTime>
#include <QHash>
#include <QRectF>
#include <algorithm>
#include <climits>
#include <functional>
#include <memory>

#include "reports/ReportLayout.h"
#include "reports/ReportPages.h"

class QPageLayout;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace reports {

class ReportProgress;

// Puts a report on paper: every page with its body, a running title where a
// record continues, and the footer ("Σελίδα N από M", the print time). The
// pages are laid out once for a page size and resolution and painted from
// that one layout as often as needed: the preview, then the print.
class ReportOutput {
public:
    // parameters fill the {name} places of the title, the subtitle and the
    // footers ("criteria": what the window searched).
    ReportOutput(const ReportLayout& layout, const BandRows& rows, const QDateTime& printed,
                 const QHash<QString, QString>& parameters);
    ~ReportOutput();

    // Writes the PDF to path, replacing it only once the whole file is
    // written; throws ReportError naming path when it cannot, and
    // ReportCancelled, leaving no file, when the user stops it.
    void writePdf(const QString& path, ReportProgress& progress);
    // The preview, from which the user prints or saves a PDF; the pages are
    // laid out before it opens and drawn as they come into view.
    void showPreview(QWidget* parent);

    // What the preview shows and does. Sizes are in the dots of the device
    // the pages were laid out for; the body starts at bodyOrigin on the paper.
    int pageCount() const;
    QSizeF paperSize() const;
    QPointF bodyOrigin() const;
    const QPageLayout& pageLayout() const { return layout_.pageLayout; }
    void paintPage(QPainter& painter, int page) const;
    // Prints on the printer the print dialog set up (a printer or a PDF),
    // or writes the PDF at path; a failure is shown in the standard error
    // box over preview, a cancelled run ends in silence.
    void print(QPrinter& printer, QWidget* preview);
    void saveAsPdf(const QString& path, QWidget* preview);

    // Pages first to last, 0 first; the whole report by default.
    struct PageSpan {
        int first = 0;
        int last = INT_MAX;
        PageSpan clamped(int count) const {
            const int from = std::clamp(first, 0, std::max(count - 1, 0));
            return {from, std::clamp(last, from, std::max(count - 1, 0))};
        }
    };

private:
    // Where the parts of a page go on a device, in its dots.
    struct Frame {
        int dpi = 0;
        QRectF paper;
        QRectF area;
        double header = 0;
        double footer = 0;
        QSizeF body() const { return {area.width(), area.height() - header - footer}; }
        bool operator==(const Frame& other) const {
            return dpi == other.dpi && paper == other.paper && area == other.area &&
                   header == other.header;
        }
    };

    Frame frameOf(const QPagedPaintDevice& device) const;
    const ReportPages& pagesFor(QPagedPaintDevice& device, ReportProgress* progress);
    void paintPages(QPainter& painter, QPagedPaintDevice& device, const PageSpan& span,
                    ReportProgress* progress) const;
    void writePdfPages(const QString& path, const QPageLayout& pageLayout, const PageSpan& span,
                       ReportProgress& progress);
    void printPages(QPrinter& printer, ReportProgress& progress);
    void runFromPreview(QWidget* preview, const std::function<void(ReportProgress&)>& run);
    QString filled(QString text) const;
    QString footerText(const QString& text, int page, int pages) const;
    void paintRunningTitle(QPainter& painter, const QString& text, const QRectF& area) const;
    void paintFooter(QPainter& painter, const QRectF& area, int page, int pages) const;

    const ReportLayout& layout_;
    const BandRows& rows_;
    QDateTime printed_;
    QHash<QString, QString> parameters_;
    Frame frame_;
    std::unique_ptr<ReportPages> pages_;
};

}  // namespace reports
