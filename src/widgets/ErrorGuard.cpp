#include "widgets/ErrorGuard.h"

#include <exception>

#include "reports/ReportError.h"
#include "store/DatabaseError.h"
#include "widgets/Messages.h"

namespace widgets {

void RunReportingErrors(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const store::DatabaseError& error) {
        ShowStandardError(parent, error.message());
    } catch (const reports::ReportError& error) {
        ShowStandardError(parent, error.message());
    } catch (const std::exception& error) {
        ShowStandardError(parent, QString::fromLocal8Bit(error.what()));
    }
}

}  // namespace widgets
