#include "reports/ReportPreview.h"

#include <QAction>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "reports/ReportOutput.h"

namespace reports {

namespace {

constexpr double kGap = 16;
constexpr double kMinZoom = 0.01;
constexpr double kMaxZoom = 1;
const QColor kGround(128, 128, 128);
const QColor kShadow(70, 70, 70);

}  // namespace

PageView::PageView(const ReportOutput& output, QWidget* parent)
    : QAbstractScrollArea(parent), output_(output) {
    setObjectName(QStringLiteral("PageView"));
    setAccessibleName(QStringLiteral("Σελίδες της αναφοράς"));
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(40);
    horizontalScrollBar()->setSingleStep(40);
}

double PageView::pageStride() const {
    return output_.paperSize().height() * zoom_ + kGap;
}

int PageView::currentPage() const {
    const double middle = verticalScrollBar()->value() + viewport()->height() / 2.0 - kGap;
    return std::clamp(int(middle / pageStride()), 0, std::max(output_.pageCount() - 1, 0));
}

void PageView::showPage(int page) {
    page = std::clamp(page, 0, std::max(output_.pageCount() - 1, 0));
    verticalScrollBar()->setValue(qRound(page * pageStride()));
}

void PageView::setZoom(double zoom, Fit fit) {
    const int page = currentPage();
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    fit_ = fit;
    updateScrollBars();
    showPage(page);
    viewport()->update();
}

void PageView::zoomBy(double factor) {
    setZoom(zoom_ * factor, Fit::None);
}

void PageView::fitWidth() {
    setZoom((viewport()->width() - 2 * kGap) / output_.paperSize().width(), Fit::Width);
}

void PageView::fitPage() {
    const QSizeF paper = output_.paperSize();
    setZoom(std::min((viewport()->width() - 2 * kGap) / paper.width(),
                     (viewport()->height() - 2 * kGap) / paper.height()),
            Fit::Page);
}

void PageView::applyFit() {
    if (fit_ == Fit::Width) {
        fitWidth();
    } else if (fit_ == Fit::Page) {
        fitPage();
    }
}

void PageView::updateScrollBars() {
    const QSizeF page = output_.paperSize() * zoom_;
    const double height = output_.pageCount() * pageStride() + kGap;
    verticalScrollBar()->setRange(0, std::max(0, qRound(height - viewport()->height())));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(
        0, std::max(0, qRound(page.width() + 2 * kGap - viewport()->width())));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void PageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    applyFit();
    updateScrollBars();
}

void PageView::scrollContentsBy(int, int) {
    viewport()->update();
    if (currentPage() != shownPage_) {
        shownPage_ = currentPage();
        Q_EMIT currentPageChanged(shownPage_);
    }
}

void PageView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home) {
        showPage(0);
    } else if (event->key() == Qt::Key_End) {
        showPage(output_.pageCount() - 1);
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void PageView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        zoomBy(event->angleDelta().y() > 0 ? 1.25 : 0.8);
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

// Only the pages in view are drawn, each straight from its laid-out pieces.
void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kGround);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QSizeF page = output_.paperSize() * zoom_;
    const double left =
        std::max(kGap, (viewport()->width() - page.width()) / 2) - horizontalScrollBar()->value();
    const double scrolled = verticalScrollBar()->value();
    for (int i = std::max(0, int((scrolled - kGap) / pageStride())); i < output_.pageCount(); ++i) {
        const QRectF sheet(left, kGap + i * pageStride() - scrolled, page.width(), page.height());
        if (sheet.top() > viewport()->height()) {
            break;
        }
        painter.fillRect(sheet.translated(3, 3), kShadow);
        painter.fillRect(sheet, Qt::white);
        painter.save();
        painter.setClipRect(sheet);
        painter.translate(sheet.topLeft());
        painter.scale(zoom_, zoom_);
        painter.translate(output_.bodyOrigin());
        output_.paintPage(painter, i);
        painter.restore();
    }
}

ReportPreview::ReportPreview(ReportOutput& output, const QString& title, QWidget* parent)
    : QDialog(parent),
      output_(output),
      view_(new PageView(output, this)),
      pageLabel_(new QLabel(this)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(title);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addTool(bar, "PrintAction", QStringLiteral("&Εκτύπωση…"), QString(), QKeySequence::Print,
            [this] { printReport(); });
    addTool(bar, "SavePdfAction", QStringLiteral("&Αποθήκευση PDF…"), QString(), QKeySequence::Save,
            [this] { saveAsPdf(); });
    bar->addSeparator();
    addTool(bar, "ZoomOutAction", QStringLiteral("−"), QStringLiteral("Σμίκρυνση"),
            QKeySequence::ZoomOut, [this] { view_->zoomBy(0.8); });
    addTool(bar, "ZoomInAction", QStringLiteral("+"), QStringLiteral("Μεγέθυνση"),
            QKeySequence::ZoomIn, [this] { view_->zoomBy(1.25); });
    addTool(bar, "FitWidthAction", QStringLiteral("Πλάτος"), QStringLiteral("Πλάτος σελίδας"),
            QKeySequence(), [this] { view_->fitWidth(); });
    addTool(bar, "FitPageAction", QStringLiteral("Σελίδα"), QStringLiteral("Ολόκληρη σελίδα"),
            QKeySequence(), [this] { view_->fitPage(); });
    bar->addSeparator();
    addTool(bar, "PreviousPageAction", QStringLiteral("◀"), QStringLiteral("Προηγούμενη σελίδα"),
            QKeySequence(), [this] { view_->showPage(view_->currentPage() - 1); });
    bar->addWidget(pageLabel_);
    addTool(bar, "NextPageAction", QStringLiteral("▶"), QStringLiteral("Επόμενη σελίδα"),
            QKeySequence(), [this] { view_->showPage(view_->currentPage() + 1); });
    bar->addSeparator();
    addTool(bar, "CloseAction", QStringLiteral("&Κλείσιμο"), QString(), QKeySequence(),
            [this] { reject(); });
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    pageLabel_->setContentsMargins(8, 0, 8, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(view_);
    connect(view_, &PageView::currentPageChanged, this, &ReportPreview::showPageNumber);
    showPageNumber(0);
    view_->setFocus();
    // A page is read comfortably only when the preview takes most of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(screen->availableGeometry().size() * 0.9);
    }
}

// A tool shown as a sign says its name in its tooltip and to a screen reader.
QAction* ReportPreview::addTool(QToolBar* bar, const char* name, const QString& text,
                                const QString& spoken, const QKeySequence& key,
                                const std::function<void()>& run) {
    QAction* action = bar->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    if (!spoken.isEmpty()) {
        action->setToolTip(spoken);
        bar->widgetForAction(action)->setAccessibleName(spoken);
    }
    connect(action, &QAction::triggered, this, run);
    return action;
}

void ReportPreview::showPageNumber(int page) {
    pageLabel_->setText(QStringLiteral("Σελίδα %1 από %2").arg(page + 1).arg(output_.pageCount()));
}

void ReportPreview::printReport() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(output_.pageLayout());
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("ReportPrintDialog"));
    dialog.setMinMax(1, output_.pageCount());
    if (dialog.exec() == QDialog::Accepted) {
        output_.print(printer, this);
    }
}

void ReportPreview::saveAsPdf() {
    QFileDialog dialog(this, QStringLiteral("Αποθήκευση ως PDF"));
    dialog.setObjectName(QStringLiteral("SavePdfDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QString(windowTitle()).replace(QLatin1Char('/'), QLatin1Char('-')) +
                      QStringLiteral(".pdf"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        output_.saveAsPdf(dialog.selectedFiles().constFirst(), this);
    }
}

}  // namespace reports
