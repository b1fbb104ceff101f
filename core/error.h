// error.h - runtime errors: the framework's way of reporting misuse or failure.
//
// A runtime error is an exception carrying a message. The framework raises them; the game catches
// none, so an uncaught one ends the program with its message (see app.h). Operations that open
// things fail softly instead and return null.
#pragma once

#include <stdexcept>
#include <string>

class TRuntimeError : public std::runtime_error {
 public:
  explicit TRuntimeError(const std::string& message) : std::runtime_error(message) {}
};

[[noreturn]] void RuntimeError(const std::string& message);
