#pragma once

#include <QApplication>
#include <memory>

namespace orvendale::ui {

// Creates the application object. Where no window system can be reached (no display named, or
// the one named does not answer), ends the program instead with one line on stderr that says
// what to do, and exit status 1.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv);

}  // namespace orvendale::ui
