#pragma once

#include <QString>
#include <exception>

namespace zarno {

// The text of the one error dialog an uncaught exception reaches before the
// program ends.
QString uncaughtExceptionText(const std::exception &e);
QString uncaughtUnknownExceptionText();

// Shows that text as an error dialog. The caller ends the program afterwards.
void reportUncaughtException(const std::exception &e);
void reportUncaughtUnknownException();

} // namespace zarno
