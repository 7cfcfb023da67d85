#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <optional>

class QProgressDialog;
class QWidget;

namespace reports {

// Thrown out of a report run when the user stops it; the run then ends
// without a file and without a message.
struct ReportCancelled {};

// How far a report run is, in two stages (pages laid out, then pages
// written), with a button that stops it. The dialog shows itself only when
// the run lasts longer than about half a second, so short reports show none.
class ReportProgress {
public:
    ReportProgress(QWidget* parent, const QString& title);
    ~ReportProgress();
    ReportProgress(const ReportProgress&) = delete;
    ReportProgress& operator=(const ReportProgress&) = delete;

    // The first stage: rowsPlaced of rows, pages so far.
    void laidOut(int rowsPlaced, int rows, int pages);
    // The second stage: page (1 first) of pages written.
    void written(int page, int pages);
    // Hides the dialog once its run no longer needs it.
    void finish();

private:
    void show(int permille, const QString& label);

    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer sinceUpdate_;
};

// Tests make the dialog show at once (0) or return to the usual delay
// (nullopt).
void SetProgressDelayForTests(std::optional<int> milliseconds);

}  // namespace reports
