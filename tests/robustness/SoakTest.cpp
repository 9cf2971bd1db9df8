// Thousands of whole games played through the real window with real mouse
// input: random moves at random strengths, disc sets changed and games
// restarted at random moments, illegal clicks mixed in, and every click's
// effect checked against the independent rules model.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <gtest/gtest.h>

#include "tests/robustness/GameDriver.h"

namespace {

using robustness::GameDriver;
using rules::Position;
using rules::Strength;

int EnvInt(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::atoi(text) : fallback;
}

TEST(RulesModel, KnowsTheOpening) {
  Position start = Position::Start();
  EXPECT_EQ(rules::LegalMoves(start.black, start.white),
            rules::Bit(19) | rules::Bit(26) | rules::Bit(37) | rules::Bit(44));
  EXPECT_EQ(rules::LegalMoves(start.white, start.black),
            rules::Bit(20) | rules::Bit(29) | rules::Bit(34) | rules::Bit(43));
  EXPECT_EQ(rules::Flips(start.black, start.white, 19), rules::Bit(27));
  // A run that reaches the edge without a closing disc turns nothing.
  EXPECT_EQ(rules::Flips(0, 0xfeULL, 0), 0u);
  EXPECT_EQ(rules::Flips(rules::Bit(7), rules::Bit(6), 5), rules::Bit(6));
}

TEST(Soak, ThousandsOfGamesThroughClicksFollowTheRules) {
  const int games = EnvInt("TOVARINE_SOAK_GAMES", 2000);
  // "後手" waits a real second before the computer opens, so only a few
  // games begin with it; the rest of its behaviour (no effect while a game
  // is under way) is exercised at random moments in every game.
  const int computerFirstGames = EnvInt("TOVARINE_SOAK_COMPUTER_FIRST", 6);
  const unsigned seed = static_cast<unsigned>(EnvInt("TOVARINE_SOAK_SEED", 20240611));
  std::mt19937 random(seed);
  classlib::SeedRnd(seed);

  GameDriver driver;
  ASSERT_EQ(driver.NewGame(), "");

  const auto started = std::chrono::steady_clock::now();
  int completed = 0, abandoned = 0, computerOpened = 0, clicks = 0;
  const int openEvery = computerFirstGames > 0 ? std::max(1, games / computerFirstGames) : 0;
  const Strength strengths[] = {Strength::Weak, Strength::Medium, Strength::Strong};

  for (int game = 0; completed < games; ++game) {
    auto fail = [&](const std::string& what) {
      ADD_FAILURE() << "game " << game << " (seed " << seed << ", " << completed
                    << " games completed): " << what;
    };
    if (random() % 2 == 0) {
      if (auto s = driver.ChooseStrength(strengths[random() % 3]); !s.empty()) return fail(s);
    }
    if (random() % 4 == 0) {
      if (auto s = driver.ChooseDiscSet(static_cast<int>(random() % 3)); !s.empty()) return fail(s);
    }
    if (openEvery && game % openEvery == openEvery - 1 && computerOpened < computerFirstGames) {
      if (auto s = driver.ComputerOpens(); !s.empty()) return fail(s);
      ++computerOpened;
    }

    bool over = false, restarted = false;
    for (int step = 0; step < 400 && !over; ++step) {
      Position p = driver.Board();
      if (rules::GameOver(p)) {
        // Once the verdict stands, clicks anywhere change nothing.
        if (game % 5 == 0) {
          if (auto s = driver.ClickChangingNothing(static_cast<int>(random() % 64)); !s.empty()) {
            return fail("after the end: " + s);
          }
        }
        ++completed;
        over = true;
        break;
      }
      rules::Bits legal = rules::LegalMoves(p.black, p.white);
      if (legal != rules::LegalMovesBySearch(p.black, p.white)) return fail("model inconsistent");
      if (!legal) return fail("the player has no move in a game that is not over:" + robustness::Describe(p));
      const unsigned roll = random() % 1000;
      std::string fault;
      if (roll < 15) {
        fault = driver.ChooseStrength(strengths[random() % 3]);
      } else if (roll < 30) {
        fault = driver.ChooseDiscSet(static_cast<int>(random() % 3));
      } else if (roll < 80) {
        std::vector<int> others = rules::Squares(~legal);
        fault = driver.ClickChangingNothing(others[random() % others.size()]);
      } else if (roll < 88 && driver.Window()->playing) {
        fault = driver.ComputerFirstChangingNothing();
      } else if (roll < 92 && step > 0) {
        ++abandoned;
        restarted = true;
        break;  // "再ゲーム" in the middle of the game
      } else {
        std::vector<int> squares = rules::Squares(legal);
        fault = driver.PlayLegal(squares[random() % squares.size()]);
      }
      ++clicks;
      if (!fault.empty()) return fail(fault);
    }
    if (!over && !restarted) return fail("a game did not end within 400 clicks");
    if (auto s = driver.NewGame(); !s.empty()) return fail(s);
  }

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("soak: %d games completed, %d abandoned, %d opened by the computer, %d clicks "
              "checked in %.1f s\n",
              completed, abandoned, computerOpened, clicks, seconds);
  EXPECT_GE(completed, games);
}

}  // namespace
