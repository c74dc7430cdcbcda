#include "ui/toolkit/HandlerErrors.h"

#include <cstdio>
#include <exception>
#include <new>

#include "runtime/msgbox.h"

namespace orvendale::ui {

namespace {
void report(const char* handlerName, const char* message) {
  std::fprintf(stderr, "orvendale: %s: %s\n", handlerName, message);
  rtcMsgBox(message);
}
}  // namespace

void runReportingErrors(const char* handlerName, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::bad_alloc&) {
    // A literal: building the usual error object would allocate while memory is short.
    report(handlerName, "Error 7: Out of memory");
  } catch (const std::exception& error) {  // RuntimeError carries "Error <code>: <text>"
    report(handlerName, error.what());
  }
}

}  // namespace orvendale::ui
