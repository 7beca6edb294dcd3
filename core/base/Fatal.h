#pragma once

#include <string_view>

namespace quillet {

// Ends the process after saying what happened, for a failure no caller can recover from: the
// system's random generator gone, a pattern fixed in the program that does not compile, an
// exception nothing caught. The message goes to standard error and stays readable through
// fatalReason(); the abort then lets a crash reporter, when one is started, write its report.
[[noreturn]] void fatal(std::string_view what);

// What the last call to fatal() said; empty before one. Safe to read inside a signal handler.
const char* fatalReason();

// Makes std::terminate (an exception that escaped everything, a broken noexcept) end through
// fatal() with the exception's message. Every program installs it first thing.
void reportTerminations();

} // namespace quillet
