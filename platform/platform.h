// Platform services: the runtime-exception base, ending the process, events and polled input,
// the display module with frame pacing, the timer, the clock and random numbers.
// Depends on nothing but the C++ library; the SDL2 implementation lives in platform/sdl/.
#pragma once

#include <stdexcept>
#include <string>

// Base of every error the framework raises (stream errors, "Too many hook ids",
// "Unable to calculate tex size"). Expected failures are reported by results instead.
class TRuntimeException : public std::runtime_error {
 public:
  explicit TRuntimeException(const std::string& message) : std::runtime_error(message) {}
  virtual std::string ToString() const { return what(); }
};
