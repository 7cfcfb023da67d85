#include "reports/ReportProgress.h"

#include <QProgressDialog>

namespace reports {

namespace {

constexpr int kUsualDelayMs = 500;
constexpr int kUpdateMs = 40;
std::optional<int> delayForTests;

}  // namespace

void SetProgressDelayForTests(std::optional<int> milliseconds) {
    delayForTests = milliseconds;
}

ReportProgress::ReportProgress(QWidget* parent, const QString& title)
    : dialog_(std::make_unique<QProgressDialog>(parent)) {
    dialog_->setObjectName(QStringLiteral("ReportProgress"));
    dialog_->setWindowTitle(title);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setCancelButtonText(QStringLiteral("Ακύρωση"));
    dialog_->setLabelText(QStringLiteral("Διάταξη σελίδων…"));
    dialog_->setMinimumDuration(delayForTests.value_or(kUsualDelayMs));
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    // One bar for both stages: the layout fills its first half.
    dialog_->setRange(0, 1000);
    dialog_->setValue(0);
}

ReportProgress::~ReportProgress() = default;

void ReportProgress::show(int permille, const QString& label) {
    if (dialog_->wasCanceled()) {
        throw ReportCancelled{};
    }
    // A few updates a second are enough for the eye and cost the run nothing.
    if (sinceUpdate_.isValid() && sinceUpdate_.elapsed() < kUpdateMs) {
        return;
    }
    sinceUpdate_.start();
    if (dialog_->isVisible()) {
        dialog_->setLabelText(label);
    }
    // Shows the dialog once the run is long enough, and lets its button be
    // pressed while the run goes on.
    dialog_->setValue(std::max(permille, 1));
    if (dialog_->wasCanceled()) {
        throw ReportCancelled{};
    }
}

void ReportProgress::laidOut(int rowsPlaced, int rows, int pages) {
    show(rows > 0 ? 500 * rowsPlaced / rows : 0, QStringLiteral("Διάταξη σελίδων: %1").arg(pages));
}

void ReportProgress::written(int page, int pages) {
    show(500 + 500 * page / std::max(pages, 1),
         QStringLiteral("Εγγραφή σελίδας %1 από %2").arg(page).arg(pages));
}

void ReportProgress::finish() {
    dialog_->hide();
}

}  // namespace reports
