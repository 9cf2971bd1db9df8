// The computer's ways of choosing a move from its list of legal moves. Each
// returns one entry of the list as it stands there (the square's digits), or
// the empty text when there is nothing to choose.
#include <array>
#include <string>
#include <string_view>

#include "engine/SquareList.h"
#include "window/MW.h"

using classlib::Integer;
using classlib::RuntimeBackgroundTask;

namespace {

// Square groups are written ",a,b,c," so that membership is a text match.
struct Tier {
  Integer tier;  // 0 is preferred most
  std::string_view squares;
};

// Strong play: the first group that holds an entry gives its tier.
constexpr std::array<Tier, 9> kTiers{{
    {0, ",0,7,56,63,"},                  // corners
    {1, ",2,5,16,23,40,47,58,61,"},      // edge squares two from a corner
    {2, ",18,21,42,45,"},                // diagonal squares two from a corner
    {3, ",3,4,24,31,32,39,59,60,"},      // middle squares of the edges
    {3, ",10,13,17,22,41,46,50,53,"},    // second line in, two from the corner's line
    {4, ",11,12,19,20,25,26,29,30,"},    // inner squares, upper half
    {4, ",33,34,37,38,43,44,51,52,"},    // inner squares, lower half
    {5, ",1,6,8,15,48,55,57,62,"},       // edge squares next to a corner
    {6, ",9,14,49,54,"},                 // squares diagonally next to a corner
}};
constexpr Integer kTierCount = 7;

// The squares that hand a corner to the other side.
constexpr std::string_view kCornerNeighbours = ",1,8,9,6,14,15,48,49,57,54,55,62,";

struct Preference {
  std::string_view squares;
  bool endsScan;  // a match is taken at once
};

// Tested in this order on every entry; each match overwrites the choice.
constexpr std::array<Preference, 6> kPreferences{{
    {",0,7,56,63,", true},                           // corners
    {",2,10,16,17,18,", false},                      // L near corner 0
    {",5,13,21,22,23,", false},                      // L near corner 7
    {",32,33,34,42,50,", false},                     // L in the lower left
    {",37,38,39,45,53,", false},                     // L in the lower right
    {",18,19,20,21,26,29,34,37,42,43,44,45,", true}, // ring around the centre
}};

}  // namespace

std::string MW::Mac0(const std::string& list) {
  const Integer fields = classlib::CountFields(list, ",");
  const double r = classlib::Rnd();
  const Integer k = static_cast<Integer>(static_cast<double>(fields - 1) * r + 1.0);
  return engine::EntryText(list, k);
}

std::string MW::Mac1(const std::string& list) {
  Integer best = 0;
  Integer bestK = 0;
  const Integer last = engine::EntryCount(list);
  for (Integer k = 1; k <= last; ++k) {
    const Integer v = engine::EntrySquare(list, k);
    const Integer flips = engine::EntryCount(ReturnableBox(v % 8, v / 8));
    if (best < flips) {  // strict: the earlier entry keeps a tie
      best = flips;
      bestK = k;
    }
    RuntimeBackgroundTask();
  }
  return engine::EntryText(list, bestK);
}

std::string MW::Mac2(const std::string& list) {
  std::array<std::string, kTierCount> tiers;
  const Integer entries = engine::EntryCount(list);
  for (Integer k = 1; k <= entries; ++k) {
    const std::string entry = engine::EntryText(list, k);
    for (const Tier& group : kTiers) {
      if (engine::InGroup(entry, group.squares)) {
        engine::AppendEntry(tiers[static_cast<std::size_t>(group.tier)], entry);
        break;
      }
    }
    RuntimeBackgroundTask();
  }
  for (const std::string& candidates : tiers) {
    if (!candidates.empty()) return Mac1(candidates);
  }
  return Mac1("");
}

std::string MW::Mac5(const std::string& list) {
  std::string moves = list;
  const Integer entries = engine::EntryCount(list);
  if (entries >= 2) {
    // Drop the squares next to a corner, unless nothing else is left.
    std::string kept;
    for (Integer k = entries; k >= 1; --k) {
      const std::string entry = engine::EntryText(list, k);
      if (!engine::InGroup(entry, kCornerNeighbours)) engine::AppendEntry(kept, entry);
      RuntimeBackgroundTask();
    }
    if (!kept.empty()) moves = kept;
  }

  std::string chosen;
  const Integer count = engine::EntryCount(moves);
  bool scanEnded = false;
  for (Integer k = 1; k <= count && !scanEnded; ++k) {
    const std::string entry = engine::EntryText(moves, k);
    for (const Preference& preference : kPreferences) {
      if (engine::InGroup(entry, preference.squares)) {
        chosen = entry;
        if (preference.endsScan) {
          scanEnded = true;
          break;
        }
      }
    }
    if (!scanEnded) RuntimeBackgroundTask();
  }

  if (chosen.empty()) {
    Integer j = static_cast<Integer>(static_cast<double>(count) * classlib::Rnd());
    if (count != 0) j = j % count;
    chosen = engine::EntryText(moves, j + 1);
  }
  return chosen;
}
