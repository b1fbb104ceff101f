// error.cpp - raising runtime errors.
#include "core/error.h"

void RuntimeError(const std::string& message) { throw TRuntimeError(message); }
