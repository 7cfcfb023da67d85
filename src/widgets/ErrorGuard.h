#pragma once

#include <functional>

class QWidget;

namespace widgets {

// Runs an event handler's action and shows what it throws in the
// application's standard error box, so that no error leaves an event
// handler. The window stays usable.
void RunReportingErrors(QWidget* parent, const std::function<void()>& action);

}  // namespace widgets
