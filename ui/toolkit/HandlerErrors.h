#pragma once

#include <functional>

namespace orvendale::ui {

// Runs an event handler. An error that escapes it is reported, on stderr with the handler's
// name and in a message box, and the program goes on.
void runReportingErrors(const char* handlerName, const std::function<void()>& handler);

}  // namespace orvendale::ui
