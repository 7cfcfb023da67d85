#include "reports/ReportOutput.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>

#include "reports/BusyCursor.h"
#include "reports/ReportError.h"

namespace reports {

namespace {

constexpr double kFooterMm = 8;
constexpr double kRunningTitleMm = 8;

double Millimetres(const QPagedPaintDevice& device, double mm) {
    return mm * device.logicalDpiY() / 25.4;
}

QFont SmallFont(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Draws one page's slice of the document; text outside the slice is left
// out, so a PDF holds every line once.
void PaintBodySlice(QPainter& painter, QTextDocument& document, int page, double top) {
    const QSizeF body = document.pageSize();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    context.clip = QRectF(QPointF(0, page * body.height()), body);
    painter.save();
    painter.translate(0, top - page * body.height());
    painter.setClipRect(context.clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
}

}  // namespace

ReportOutput::ReportOutput(const ReportLayout& layout, const BandRows& rows,
                           const QDateTime& printed)
    : layout_(layout), rows_(rows), printed_(printed) {}

QString ReportOutput::footerText(QString text, int page, int pages) const {
    text.replace(QLatin1String("{printed}"), printed_.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    text.replace(QLatin1String("{title}"), layout_.title);
    text.replace(QLatin1String("{pages}"), QString::number(pages));
    text.replace(QLatin1String("{page}"), QString::number(page));
    return text;
}

void ReportOutput::paintRunningTitle(QPainter& painter, const QString& text,
                                     const QRectF& area) const {
    if (text.isEmpty()) {
        return;
    }
    painter.setFont(SmallFont(layout_.fontPoints * 0.9, true));
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(text, Qt::ElideMiddle, int(area.width())));
    painter.setPen(QPen(kRuleColour, 0));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
}

void ReportOutput::paintFooter(QPainter& painter, const QRectF& area, int page, int pages) const {
    painter.setPen(QPen(kRuleColour, 0));
    painter.drawLine(area.topLeft(), area.topRight());
    painter.setFont(SmallFont(8));
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     footerText(layout_.footerLeft, page, pages));
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter,
                     footerText(layout_.footerRight, page, pages));
}

bool ReportOutput::paint(QPagedPaintDevice& device) const {
    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const double footer = Millimetres(device, kFooterMm);
    const double header = layout_.hasRecords() ? Millimetres(device, kRunningTitleMm) : 0;
    const QSizeF body(area.width(), area.height() - header - footer);
    ReportDocument report(layout_, rows_, &device, body);
    const int pages = report.pageCount();

    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            device.newPage();
        }
        paintRunningTitle(painter, report.continuedTitle(page),
                          QRectF(0, 0, body.width(), header * 0.8));
        PaintBodySlice(painter, report.document(), page, header);
        paintFooter(painter,
                    QRectF(0, header + body.height() + footer * 0.25, body.width(), footer * 0.75),
                    page + 1, pages);
    }
    return painter.end();
}

void ReportOutput::writePdf(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw ReportError(
            QStringLiteral("Cannot write the report to \"%1\": %2.").arg(path, file.errorString()));
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(layout_.pageLayout);
        writer.setTitle(layout_.title);
        writer.setCreator(QStringLiteral("KAVELO ORGANIZER"));
        painted = paint(writer);
    }
    if (!painted) {
        throw ReportError(
            QStringLiteral("Cannot write the report to \"%1\": the pages could not be drawn.")
                .arg(path));
    }
    if (!file.commit()) {
        throw ReportError(
            QStringLiteral("Cannot write the report to \"%1\": %2.").arg(path, file.errorString()));
    }
}

void ReportOutput::showPreview(QWidget* parent) const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(layout_.pageLayout);
    printer.setDocName(layout_.title);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("ReportPreview"));
    dialog.setWindowTitle(layout_.title);
    // A page is read comfortably only when the preview takes most of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dialog.resize(screen->availableGeometry().size() * 0.9);
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* target) {
                         const BusyCursor busy;
                         paint(*target);
                     });
    dialog.exec();
}

}  // namespace reports
