#pragma once

#include <QAbstractScrollArea>
#include <QDialog>
#include <QKeySequence>
#include <functional>

class QLabel;
class QToolBar;

namespace reports {

class ReportOutput;

// The laid-out pages one under the other on a grey ground; a page is drawn
// only while it is in view, so that a report of hundreds of pages opens at
// once. Zoom is in screen pixels per dot of the pages.
class PageView : public QAbstractScrollArea {
    Q_OBJECT

public:
    PageView(const ReportOutput& output, QWidget* parent);

    int currentPage() const;
    void showPage(int page);
    void zoomBy(double factor);
    void fitWidth();
    void fitPage();

Q_SIGNALS:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Fit { None, Width, Page };

    double pageStride() const;
    void setZoom(double zoom, Fit fit);
    void applyFit();
    void updateScrollBars();

    const ReportOutput& output_;
    double zoom_ = 0.1;
    Fit fit_ = Fit::Width;
    int shownPage_ = -1;
};

// The preview of a report: its pages, the page shown ("Σελίδα N από M"),
// zoom, printing through the print dialog and saving as a PDF.
class ReportPreview : public QDialog {
    Q_OBJECT

public:
    ReportPreview(ReportOutput& output, const QString& title, QWidget* parent);

private:
    QAction* addTool(QToolBar* bar, const char* name, const QString& text, const QString& spoken,
                     const QKeySequence& key, const std::function<void()>& run);
    void printReport();
    void saveAsPdf();
    void showPageNumber(int page);

    ReportOutput& output_;
    PageView* view_;
    QLabel* pageLabel_;
};

}  // namespace reports
