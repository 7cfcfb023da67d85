#pragma once

#include <QDateTime>

#include "reports/ReportDocument.h"
#include "reports/ReportLayout.h"

class QPagedPaintDevice;
class QPainter;
class QRectF;
class QWidget;

namespace reports {

// Puts a report on paper: every page with the body, a running title where a
// record continues, and the footer ("Σελίδα N από M", the print time).
class ReportOutput {
public:
    ReportOutput(const ReportLayout& layout, const BandRows& rows, const QDateTime& printed);

    // Writes the PDF to path, replacing it only once the whole file is
    // written; throws ReportError naming path when it cannot.
    void writePdf(const QString& path) const;
    // Qt's print preview, from which the user prints or saves a PDF.
    void showPreview(QWidget* parent) const;
    // Paints every page on a device whose page layout is set; false when the
    // device cannot be painted on.
    bool paint(QPagedPaintDevice& device) const;

private:
    QString footerText(QString text, int page, int pages) const;
    void paintRunningTitle(QPainter& painter, const QString& text, const QRectF& area) const;
    void paintFooter(QPainter& painter, const QRectF& area, int page, int pages) const;

    const ReportLayout& layout_;
    const BandRows& rows_;
    QDateTime printed_;
};

}  // namespace reports
