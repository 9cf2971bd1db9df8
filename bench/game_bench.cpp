// The game's own work, measured on the real main window (Qt's offscreen
// platform) with real mouse input: building the window, one click of the
// player with the computer's whole answer, a whole game, and the flip
// search over every square.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "classlib/src/Internal.h"
#include "tests/support/RulesModel.h"
#include "window/MW.h"

namespace {

using classlib::Integer;
using rules::Position;

// The board of a game 20 plies in (the player to move), reached by a fixed
// line of play: the player takes its lowest legal square, the computer
// plays its strong rule.
Position MiddleGame() {
  Position p = Position::Start();
  bool black = true;
  for (int ply = 0; ply < 20; ++ply) {
    rules::Bits moves = black ? rules::LegalMoves(p.black, p.white) : rules::LegalMoves(p.white, p.black);
    if (moves) {
      int square = black ? rules::Squares(moves).front() : rules::ComputerChoice(p, rules::Strength::Strong);
      p = rules::Play(p, square, black);
    }
    black = !black;
  }
  if (!black || !rules::LegalMoves(p.black, p.white)) std::abort();
  return p;
}

void SetBoard(class MW& w, const Position& p) {
  for (int i = 0; i < 64; ++i) {
    w.Box(i)->value = (p.black & rules::Bit(i)) ? 2 : (p.white & rules::Bit(i)) ? 1 : 0;
  }
  w.player = 2;
  w.playing = true;
  w.RefreshBox();
}

Position ReadBoard(class MW& w) {
  Position p;
  for (int i = 0; i < 64; ++i) {
    if (w.Box(i)->value == 2) p.black |= rules::Bit(i);
    if (w.Box(i)->value == 1) p.white |= rules::Bit(i);
  }
  return p;
}

void ChooseStrength(class MW& w, Integer strength) { w.RB(strength)->SetValue(true); }

void ClickSquare(const classlib::Ref<class MW>& w, int square) {
  auto box = w->Box(square);
  classlib::testing::ClickAt(w, box->Left() + 32, box->Top() + 32);
}

const char* const kStrengthNames[] = {"weak", "medium", "strong"};

// A fresh main window built as start-up builds it: field initialisers,
// then the library's Constructor (layout, 85 controls from their design
// streams, their Open events, the window's Open, shown). Closing and
// freeing it is not timed.
void BM_BuildWindow(benchmark::State& state) {
  if (!classlib::GetImplicitWindow("MW.MW").IsNil()) {
    state.SkipWithError("a main window is already open");
    return;
  }
  for (auto _ : state) {
    auto w = std::make_shared<class MW>();
    w->Constructor();
    state.PauseTiming();
    if (w->ControlCount() < 85) state.SkipWithError("the window has fewer than 85 controls");
    w->Close();
    w.reset();
    classlib::testing::ProcessEvents();
    classlib::internal::ResetQuitForTesting();  // closing the main window asks to quit
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildWindow)->Unit(benchmark::kMillisecond);

// One click of the player and the computer's whole answer, through the
// toolkit's mouse path, with the paint work it leaves. The position is laid
// again before each click, untimed. Arguments: strength, and 0 for the first
// move of a game (square 19) or 1 for a move 20 plies in.
void BM_ClickWithAnswer(benchmark::State& state) {
  auto w = MW();
  const Integer strength = state.range(0);
  const bool middle = state.range(1) == 1;
  ChooseStrength(*w, strength);
  const Position start = middle ? MiddleGame() : Position::Start();
  const int square = middle ? rules::Squares(rules::LegalMoves(start.black, start.white)).front() : 19;
  classlib::SeedRnd(1);
  for (auto _ : state) {
    state.PauseTiming();
    if (middle) {
      SetBoard(*w, start);
    } else {
      w->Initialize();
    }
    classlib::testing::ProcessEvents();
    state.ResumeTiming();
    ClickSquare(w, square);
    classlib::testing::ProcessEvents();
    state.PauseTiming();
    if (ReadBoard(*w) == start) {
      state.SkipWithError("the click made no move");
    }
    state.ResumeTiming();
  }
  state.SetLabel(std::string(kStrengthNames[strength]) + (middle ? ", 20 plies in" : ", first move"));
  w->Initialize();
  ChooseStrength(*w, 2);
}
BENCHMARK(BM_ClickWithAnswer)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// A whole game through clicks: the player takes a random legal square (a
// fixed sequence), the computer answers at the given strength.
// Plays the game on the window to its end, each of the player's moves drawn
// from `random` among the legal ones; returns the number of clicks.
Integer PlayRandomGame(const classlib::Ref<class MW>& w, std::mt19937& random) {
  Integer clicks = 0;
  for (int move = 0; move < 64; ++move) {
    Position p = ReadBoard(*w);
    rules::Bits legal = rules::LegalMoves(p.black, p.white);
    if (!legal) break;
    std::vector<int> squares = rules::Squares(legal);
    ClickSquare(w, squares[random() % squares.size()]);
    classlib::testing::ProcessEvents();
    ++clicks;
  }
  return clicks;
}

void BM_WholeGame(benchmark::State& state) {
  auto w = MW();
  const Integer strength = state.range(0);
  ChooseStrength(*w, strength);
  std::mt19937 random(3);
  classlib::SeedRnd(3);
  Integer clicks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w->Initialize();
    classlib::testing::ProcessEvents();
    state.ResumeTiming();
    clicks += PlayRandomGame(w, random);
  }
  state.counters["clicks/game"] =
      benchmark::Counter(static_cast<double>(clicks), benchmark::Counter::kAvgIterations);
  state.SetLabel(kStrengthNames[strength]);
  w->Initialize();
  ChooseStrength(*w, 2);
}
BENCHMARK(BM_WholeGame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Resident memory over a long session in one process: 600 whole games
// through clicks at the strong strength, with their sounds. Memory settles
// over the first games (caches of the toolkit and the fonts fill); what
// grows after that grows with play.
Integer ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6));
  }
  return 0;
}

void BM_LongSessionMemory(benchmark::State& state) {
  auto w = MW();
  ChooseStrength(*w, 2);
  std::mt19937 random(11);
  classlib::SeedRnd(11);
  Integer first = 0, settled = 0, last = 0;
  for (auto _ : state) {
    for (int game = 0; game < 600; ++game) {
      w->Initialize();
      PlayRandomGame(w, random);
      if (game == 0) first = ResidentKiB();
      if (game == 49) settled = ResidentKiB();
    }
    last = ResidentKiB();
  }
  state.counters["RSS_after_1_MiB"] = static_cast<double>(first) / 1024.0;
  state.counters["RSS_after_50_MiB"] = static_cast<double>(settled) / 1024.0;
  state.counters["RSS_after_600_MiB"] = static_cast<double>(last) / 1024.0;
  state.counters["growth_50_to_600_KiB"] = static_cast<double>(last - settled);
  w->Initialize();
}
BENCHMARK(BM_LongSessionMemory)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);

// The flip search asked about all 64 squares, as the computer's legal-move
// scan does: at the start position and 20 plies in.
void BM_ReturnableBoxAllSquares(benchmark::State& state) {
  auto w = MW();
  const bool middle = state.range(0) == 1;
  SetBoard(*w, middle ? MiddleGame() : Position::Start());
  for (auto _ : state) {
    for (Integer i = 0; i < 64; ++i) benchmark::DoNotOptimize(w->ReturnableBox(i % 8, i / 8));
  }
  state.SetLabel(middle ? "20 plies in" : "start position");
  w->Initialize();
}
BENCHMARK(BM_ReturnableBoxAllSquares)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  classlib::RuntimeInitForTesting(argc, argv);
  const char* resources = std::getenv("TOVARINE_TEST_RESOURCES");
  classlib::SetApplicationBundleResourcesForTesting(resources ? resources : TOVARINE_BENCH_RESOURCES);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
