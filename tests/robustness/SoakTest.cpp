// Thousands of whole games played through the real window with real mouse input: random moves at random strengths,
// disc sets changed, "後手" and "再ゲーム" clicked at random moments, illegal clicks mixed in, and every click's effect
// checked against the independent rules model.
#include <cstdlib>

#include "tests/support/Game.h"

namespace {

using game::GameDriver;

int EnvInt(const char* name, int fallback) { return std::getenv(name) ? std::atoi(std::getenv(name)) : fallback; }

TEST(Soak, ThousandsOfGamesThroughClicksFollowTheRules) {
  const int games = EnvInt("TOVARINE_SOAK_GAMES", 2000);
  const unsigned seed = static_cast<unsigned>(EnvInt("TOVARINE_SOAK_SEED", 20240611));
  std::mt19937 random(seed);
  classlib::SeedRnd(seed);
  GameDriver driver;
  driver.NewGame();

  int completed = 0;
  for (int game = 0; completed < games && !HasFailure(); ++game) {
    SCOPED_TRACE(::testing::Message() << "game " << game << " of seed " << seed);
    if (random() % 2 == 0) driver.Choose(random() % 3);
    if (random() % 4 == 0) driver.Choose(3 + random() % 3);
    // "後手" waits a real second before the computer opens, so only a few games begin with it; its refusal while a game
    // is under way is tried at random moments in every game.
    if (game % 400 == 399) driver.ComputerOpens();

    for (int step = 0; !HasFailure(); ++step) {
      ASSERT_LT(step, 400) << "the game did not end within 400 clicks";
      const rules::Position p = driver.Now();
      const rules::Bits legal = rules::LegalMoves(p.black, p.white);
      if (rules::GameOver(p)) {
        // Once the verdict stands, clicks anywhere change nothing.
        if (game % 5 == 0) driver.ExpectUnchanged([&] { driver.ClickSquare(random() % 64); });
        ++completed;
        break;
      }
      ASSERT_NE(legal, 0u) << "the player cannot move in a game that is not over:" << game::Describe(p);
      const unsigned roll = random() % 1000;
      if (roll < 15) {
        driver.Choose(random() % 3);
      } else if (roll < 30) {
        driver.Choose(3 + random() % 3);
      } else if (roll < 80) {
        driver.ExpectUnchanged([&] { driver.ClickSquare(driver.Any(random, ~legal)); });
      } else if (roll < 88 && MW()->playing) {
        driver.ExpectUnchanged([] { game::Click(MW()->BCV(3)); });  // "後手"
      } else if (roll < 92 && step > 0) {
        break;  // "再ゲーム" in the middle of the game
      } else {
        driver.PlayLegal(p, driver.Any(random, legal));
      }
    }
    driver.NewGame();
  }
}

}  // namespace
