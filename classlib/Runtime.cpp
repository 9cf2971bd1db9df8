// Text and number functions, the clock, random numbers, the cooperative yield
// point, quitting, and the toolkit set-up for tests.
#include "classlib/Runtime.h"

#include <QApplication>
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>
#include <thread>

#include "classlib/Application.h"
#include "classlib/src/Internal.h"

namespace classlib {

// --- Fields ----------------------------------------------------------------

Integer CountFields(std::string_view text, std::string_view separator) {
  if (separator.empty()) return 1;
  Integer count = 1;
  for (std::size_t at = text.find(separator); at != std::string_view::npos;
       at = text.find(separator, at + separator.size())) {
    ++count;
  }
  return count;
}

std::string NthField(std::string_view text, std::string_view separator, Integer n) {
  if (n < 1) return {};
  if (separator.empty()) return n == 1 ? std::string(text) : std::string();
  std::size_t start = 0;
  for (Integer field = 1; field < n; ++field) {
    const std::size_t at = text.find(separator, start);
    if (at == std::string_view::npos) return {};
    start = at + separator.size();
  }
  const std::size_t end = text.find(separator, start);
  return std::string(text.substr(start, end == std::string_view::npos ? text.size() - start : end - start));
}

// --- Numbers as text --------------------------------------------------------

std::string Str(Integer n) { return std::to_string(n); }

Double Val(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  Double value = 0.0;
  const auto result = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond what a Double holds: huge when a whole part has a non-zero
    // digit, otherwise too small to tell from zero.
    const std::string_view number = text.substr(start, i - start);
    const std::string_view whole = number.substr(0, number.find('.'));
    value = whole.find_first_not_of('0') != std::string_view::npos ? HUGE_VAL : 0.0;
  } else if (result.ec != std::errc()) {
    return 0.0;
  }
  return negative ? -value : value;
}

// --- The clock --------------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;
using TickDuration = std::chrono::duration<Integer, std::ratio<1, 60>>;

// The monotonic clock's own epoch is the start of the system, as a desktop's
// clock counts: a program's first reading is already far from 0, so nothing
// compared with an initial 0 takes the first event for a recent one.
Integer ClockTicks(Clock::time_point at) {
  return std::chrono::duration_cast<TickDuration>(at.time_since_epoch()).count();
}

std::atomic<Integer> tickOffset{0};
// While frozen (tests), the clock stands at frozenAt and only moves by
// AdvanceTicks, and a wait for the next tick advances it instead of sleeping.
std::atomic<bool> ticksFrozen{false};
std::atomic<Integer> frozenAt{0};

}  // namespace

Integer Ticks() {
  const Integer base = ticksFrozen.load() ? frozenAt.load() : ClockTicks(Clock::now());
  return base + tickOffset.load();
}

void RuntimeSleepUntilNextTick() {
  if (ticksFrozen.load()) {
    tickOffset.fetch_add(1);
    return;
  }
  // The start of the clock's next tick, a sixtieth of a second at most away.
  const Integer next = ClockTicks(Clock::now()) + 1;
  std::this_thread::sleep_until(Clock::time_point(std::chrono::ceil<Clock::duration>(TickDuration(next))));
}

// --- Random numbers ---------------------------------------------------------

namespace {

// Uniform in [0, 1): the top 53 bits of one draw, so 1.0 never comes out.
Double UnitInterval(std::mt19937_64& generator) {
  return static_cast<Double>(generator() >> 11) * 0x1.0p-53;
}

std::uint64_t FreshSeed() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

std::mt19937_64& ProgramGenerator() {
  static std::mt19937_64 generator(FreshSeed());
  return generator;
}

}  // namespace

Double Rnd() { return UnitInterval(ProgramGenerator()); }

void SeedRnd(std::uint64_t seed) { ProgramGenerator().seed(seed); }

struct Random::Impl {
  std::mt19937_64 generator{FreshSeed()};
};

Random::Random() : impl_(std::make_unique<Impl>()) {}
Random::~Random() = default;

void Random::Seed(Double seed) {
  // Every distinct seed value gives its own sequence: the bits of the number,
  // not its rounded value, seed the generator.
  impl_->generator.seed(std::bit_cast<std::uint64_t>(seed == 0.0 ? 0.0 : seed));
}

Double Random::Number() { return UnitInterval(impl_->generator); }

Integer Random::InRange(Integer low, Integer high) {
  if (high < low) std::swap(low, high);
  return std::uniform_int_distribution<Integer>(low, high)(impl_->generator);
}

// --- The yield point --------------------------------------------------------

void RuntimeBackgroundTask() {
  // About once a frame; the clock read is all a call costs in between.
  static Clock::time_point lastRun{};
  static bool running = false;
  const Clock::time_point now = Clock::now();
  if (running || now - lastRun < std::chrono::milliseconds(16)) return;
  // Inside a paint (a window's Paint event sets pictures and yields) nothing
  // runs: a nested round would paint again, or move and resize widgets, while
  // the toolkit is still painting them.
  if (internal::PaintDepth() > 0) return;
  if (QCoreApplication::instance() == nullptr) return;
  lastRun = now;
  // Work run from here that yields again does not nest another round.
  struct Running {
    Running() { running = true; }
    ~Running() { running = false; }
  } guard;
  // Pending paints and other posted work run; presses, drags and keys wait
  // for the handler that is running now to return.
  internal::ProcessEventsWithoutInput();
}

namespace {
bool processedWithoutInput = false;
}  // namespace

void internal::ProcessEventsWithoutInput() {
  processedWithoutInput = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int& internal::HandlerDepth() {
  static int depth = 0;
  return depth;
}

int& internal::PaintDepth() {
  static int depth = 0;
  return depth;
}

void internal::OutermostHandlerReturned() {
  if (!processedWithoutInput) return;
  processedWithoutInput = false;
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

// --- Quitting ---------------------------------------------------------------

namespace {
bool quitRequested = false;
Integer quitExitCode = 0;
}  // namespace

void Quit(Integer exitCode) {
  quitRequested = true;
  quitExitCode = exitCode;
  // A running event loop ends once the current handler has returned.
  if (QCoreApplication::instance() != nullptr) QCoreApplication::exit(static_cast<int>(exitCode));
}

bool QuitRequested() { return quitRequested; }

namespace internal {

void AdvanceTicks(Integer ticks) { tickOffset.fetch_add(ticks); }

void FreezeTicks(bool frozen) {
  if (frozen == ticksFrozen.load()) return;
  if (frozen) {
    frozenAt = ClockTicks(Clock::now());
  } else {
    // Going on from the reading it stood at, never backwards.
    tickOffset.fetch_add(frozenAt.load() - ClockTicks(Clock::now()));
  }
  ticksFrozen = frozen;
}

Integer QuitExitCode() { return quitExitCode; }

void ResetQuitForTesting() {
  const bool wasRequested = quitRequested;
  quitRequested = false;
  quitExitCode = 0;
  // The toolkit remembers an exit asked for while no loop ran and would end
  // the next local loop at once; one short turn of the main loop clears it.
  if (wasRequested && QCoreApplication::instance() != nullptr) {
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }
}

}  // namespace internal

// --- Toolkit set-up for tests -------------------------------------------------

void RuntimeInitForTesting(int argc, char** argv) {
  if (QCoreApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The toolkit keeps a reference to the argument count for its whole life.
  static int argumentCount = 0;
  static char programName[] = "classlib-test";
  static char* defaultArguments[] = {programName, nullptr};
  argumentCount = argc > 0 && argv != nullptr ? argc : 1;
  char** arguments = argc > 0 && argv != nullptr ? argv : defaultArguments;
  // Never destroyed: windows held by static references may outlive main, and
  // they must not outlive the application object.
  static QApplication* application = new QApplication(argumentCount, arguments);
  (void)application;
}

}  // namespace classlib
