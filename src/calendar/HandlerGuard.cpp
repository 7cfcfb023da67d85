#include "calendar/HandlerGuard.h"

#include <exception>

#include "store/DatabaseError.h"
#include "widgets/Messages.h"

void RunReportingErrors(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const store::DatabaseError& error) {
        widgets::ShowStandardError(parent, error.message());
    } catch (const std::exception& error) {
        widgets::ShowStandardError(parent, QString::fromLocal8Bit(error.what()));
    }
}
