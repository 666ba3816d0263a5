#pragma once

#include <QApplication>
#include <memory>
#include <string>

namespace pellark {

// Creates the QApplication; see CreateQtWindowSystem for what happens without a display.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, std::string& error);

}  // namespace pellark
