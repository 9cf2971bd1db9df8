// Text and number functions, the clock, random numbers, the cooperative yield
// point and Quit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "classlib/Types.h"

namespace classlib {

// Fields of `text` separated by `separator`, counting the empty field after a
// final separator: "35,43," has 3 fields, "" has 1 (an empty field).
Integer CountFields(std::string_view text, std::string_view separator);
// Field n, counted from 1; the empty text when there is no such field.
std::string NthField(std::string_view text, std::string_view separator, Integer n);
// The decimal text of an Integer ("0", "63", "-5").
std::string Str(Integer n);
// The decimal number at the start of a text (leading blanks skipped, an
// optional sign, digits, an optional fraction); 0 when there is none.
Double Val(std::string_view text);

// Sixtieths of a second since the system started (a monotonic clock).
Integer Ticks();

// Uniform in [0, 1) from one seeded generator of the program.
Double Rnd();
// Reseeds the generator behind Rnd, so that tests can repeat a game.
void SeedRnd(std::uint64_t seed);

// A generator of its own, seeded through Seed.
class Random : public Object {
 public:
  Random();
  ~Random() override;
  void Seed(Double seed);
  Double Number();                            // uniform in [0, 1)
  Integer InRange(Integer low, Integer high);  // both ends included
  std::string ClassName() const override { return "Random"; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The cooperative yield point that every loop of the program calls. It is
// cheap: at most about once a frame it lets pending paint work run. It never
// delivers user input, so no handler is re-entered.
void RuntimeBackgroundTask();
// For waits that yield: sleeps until the clock's next tick begins (at most a
// sixtieth of a second), so that a wait holds no core busy. Nothing is
// delivered meanwhile.
void RuntimeSleepUntilNextTick();

// Asks the application to quit with this exit code. It returns to its caller;
// the event loop ends once the current handler has returned.
void Quit(Integer exitCode = 0);
// True once Quit has been asked for.
bool QuitRequested();

}  // namespace classlib
