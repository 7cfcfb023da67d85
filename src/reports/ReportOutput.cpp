#include "reports/ReportOutput.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include "reports/BusyCursor.h"
#include "reports/ReportError.h"
#include "reports/ReportPreview.h"
#include "reports/ReportProgress.h"
#include "widgets/Messages.h"

namespace reports {

namespace {

constexpr double kFooterMm = 8;
constexpr double kRunningTitleMm = 8;

double Millimetres(const QPagedPaintDevice& device, double mm) {
    return mm * device.logicalDpiY() / 25.4;
}

// The pages the print dialog asked for, 0 first; all when it asked for no range.
ReportOutput::PageSpan SpanOf(const QPrinter& printer) {
    if (printer.printRange() != QPrinter::PageRange) {
        return {};
    }
    return {printer.fromPage() - 1, printer.toPage() - 1};
}

QString CannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write the report to \"%1\": %2.").arg(path, reason);
}

}  // namespace

ReportOutput::ReportOutput(const ReportLayout& layout, const BandRows& rows,
                           const QDateTime& printed, const QHash<QString, QString>& parameters)
    : layout_(layout), rows_(rows), printed_(printed), parameters_(parameters) {}

ReportOutput::~ReportOutput() = default;

QString ReportOutput::filled(QString text) const {
    text.replace(QLatin1String("{printed}"), printed_.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    for (auto it = parameters_.cbegin(); it != parameters_.cend(); ++it) {
        text.replace(QLatin1Char('{') + it.key() + QLatin1Char('}'), it.value());
    }
    return text;
}

QString ReportOutput::footerText(const QString& text, int page, int pages) const {
    return filled(QString(text)
                      .replace(QLatin1String("{title}"), layout_.title)
                      .replace(QLatin1String("{pages}"), QString::number(pages))
                      .replace(QLatin1String("{page}"), QString::number(page)));
}

ReportOutput::Frame ReportOutput::frameOf(const QPagedPaintDevice& device) const {
    Frame frame;
    frame.dpi = device.logicalDpiY();
    frame.area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    frame.paper = device.pageLayout().fullRectPixels(device.logicalDpiX());
    frame.footer = Millimetres(device, kFooterMm);
    frame.header = layout_.hasRecords() ? Millimetres(device, kRunningTitleMm) : 0;
    return frame;
}

// The pages are laid out again only when the paper or the resolution changed.
const ReportPages& ReportOutput::pagesFor(QPagedPaintDevice& device, ReportProgress* progress) {
    const Frame frame = frameOf(device);
    if (pages_ != nullptr && frame == frame_) {
        return *pages_;
    }
    const int rows = ReportPages::RowCount(rows_);
    ReportPages::Progress step;
    if (progress != nullptr) {
        step = [progress, rows](int placed, int pages) { progress->laidOut(placed, rows, pages); };
    }
    pages_ = std::make_unique<ReportPages>(layout_, rows_, filled(layout_.title),
                                           filled(layout_.subtitle), &device, frame.body(), step);
    frame_ = frame;
    return *pages_;
}

void ReportOutput::paintRunningTitle(QPainter& painter, const QString& text,
                                     const QRectF& area) const {
    if (text.isEmpty()) {
        return;
    }
    painter.setFont(ReportFont(layout_.fontPoints * 0.9, frame_.dpi, true));
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(text, Qt::ElideMiddle, int(area.width())));
    painter.setPen(QPen(kRuleColour, 0));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
}

void ReportOutput::paintFooter(QPainter& painter, const QRectF& area, int page, int pages) const {
    painter.setPen(QPen(kRuleColour, 0));
    painter.drawLine(area.topLeft(), area.topRight());
    painter.setFont(ReportFont(8, frame_.dpi));
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     footerText(layout_.footerLeft, page, pages));
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter,
                     footerText(layout_.footerRight, page, pages));
}

void ReportOutput::paintPage(QPainter& painter, int page) const {
    const QSizeF body = frame_.body();
    paintRunningTitle(painter, pages_->runningTitle(page),
                      QRectF(0, 0, body.width(), frame_.header * 0.8));
    painter.save();
    painter.translate(0, frame_.header);
    pages_->paintBody(painter, page);
    painter.restore();
    paintFooter(painter,
                QRectF(0, frame_.header + body.height() + frame_.footer * 0.25, body.width(),
                       frame_.footer * 0.75),
                page + 1, pages_->count());
}

void ReportOutput::paintPages(QPainter& painter, QPagedPaintDevice& device, const PageSpan& span,
                              ReportProgress* progress) const {
    for (int page = span.first; page <= span.last; ++page) {
        if (page > span.first) {
            device.newPage();
        }
        paintPage(painter, page);
        if (progress != nullptr) {
            progress->written(page - span.first + 1, span.last - span.first + 1);
        }
    }
}

void ReportOutput::writePdf(const QString& path, ReportProgress& progress) {
    writePdfPages(path, layout_.pageLayout, {}, progress);
}

void ReportOutput::writePdfPages(const QString& path, const QPageLayout& pageLayout,
                                 const PageSpan& span, ReportProgress& progress) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw ReportError(CannotWrite(path, file.errorString()));
    }
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(pageLayout);
        writer.setTitle(filled(layout_.title));
        writer.setCreator(QStringLiteral("KAVELO ORGANIZER"));
        const ReportPages& pages = pagesFor(writer, &progress);
        QPainter painter;
        if (!painter.begin(&writer)) {
            throw ReportError(CannotWrite(path, QStringLiteral("the pages could not be drawn")));
        }
        paintPages(painter, writer, span.clamped(pages.count()), &progress);
        painter.end();
    }
    if (!file.commit()) {
        throw ReportError(CannotWrite(path, file.errorString()));
    }
}

void ReportOutput::printPages(QPrinter& printer, ReportProgress& progress) {
    const ReportPages& pages = pagesFor(printer, &progress);
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw ReportError(QStringLiteral("Cannot print the report on \"%1\": the printer did not "
                                         "accept the job.")
                              .arg(printer.printerName()));
    }
    try {
        paintPages(painter, printer, SpanOf(printer).clamped(pages.count()), &progress);
    } catch (const ReportCancelled&) {
        printer.abort();
        throw;
    }
    painter.end();
    if (printer.printerState() == QPrinter::Error) {
        throw ReportError(QStringLiteral("Cannot print the report on \"%1\": the printer "
                                         "reported an error.")
                              .arg(printer.printerName()));
    }
}

// A failure is told in the standard error box, a stop in silence.
void ReportOutput::runFromPreview(QWidget* preview,
                                  const std::function<void(ReportProgress&)>& run) {
    const BusyCursor busy;
    ReportProgress progress(preview, layout_.title);
    try {
        run(progress);
    } catch (const ReportCancelled&) {
    } catch (const ReportError& error) {
        progress.finish();
        widgets::ShowStandardError(preview, error.message());
    }
}

// A PDF chosen in the print dialog is written like any other, replaced only
// when whole.
void ReportOutput::print(QPrinter& printer, QWidget* preview) {
    runFromPreview(preview, [this, &printer](ReportProgress& progress) {
        if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
            writePdfPages(printer.outputFileName(), printer.pageLayout(), SpanOf(printer),
                          progress);
        } else {
            printPages(printer, progress);
        }
    });
}

void ReportOutput::saveAsPdf(const QString& path, QWidget* preview) {
    runFromPreview(preview, [this, &path](ReportProgress& progress) { writePdf(path, progress); });
}

int ReportOutput::pageCount() const {
    return pages_ != nullptr ? pages_->count() : 0;
}

QSizeF ReportOutput::paperSize() const {
    return frame_.paper.size();
}

QPointF ReportOutput::bodyOrigin() const {
    return frame_.area.topLeft() - frame_.paper.topLeft();
}

// The pages are laid out for a PDF of the layout's paper before the preview
// opens; a printer of the same resolution prints them as they are.
void ReportOutput::showPreview(QWidget* parent) {
    QBuffer sink;
    QPdfWriter device(&sink);
    device.setPageLayout(layout_.pageLayout);
    {
        const BusyCursor busy;
        ReportProgress progress(parent, layout_.title);
        pagesFor(device, &progress);
    }
    ReportPreview preview(*this, filled(layout_.title), parent);
    preview.exec();
}

}  // namespace reports
