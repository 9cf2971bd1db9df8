// The flip search: the one rule routine of the game. A move is legal exactly
// when the search finds discs to turn; both players' moves turn exactly the
// squares it lists.
#include <array>
#include <string>

#include "engine/SquareList.h"
#include "window/MW.h"

using classlib::Integer;

namespace {

struct Direction {
  Integer dx;
  Integer dy;
};

// Searched in this order; the result lists the runs in the same order.
constexpr std::array<Direction, 8> kDirections{{
    {+1, 0},   // East
    {+1, -1},  // North-east
    {0, -1},   // North
    {-1, -1},  // North-west
    {-1, 0},   // West
    {-1, +1},  // South-west
    {0, +1},   // South
    {+1, +1},  // South-east
}};

// True while (cx, cy) lies on no board edge towards which the direction
// steps. Once an opposing disc sits on such an edge, its run can no longer be
// closed by a disc of the mover's own, so the run is dropped there.
bool CanStep(const Direction& d, Integer cx, Integer cy) {
  if (d.dx > 0 && cx >= 7) return false;
  if (d.dx < 0 && cx <= 0) return false;
  if (d.dy > 0 && cy >= 7) return false;
  if (d.dy < 0 && cy <= 0) return false;
  return true;
}

}  // namespace

std::string MW::ReturnableBox(Integer x, Integer y) {
  if (Box(x + 8 * y)->value != 0) return "";

  std::string result;
  for (const Direction& d : kDirections) {
    std::string run;
    Integer cx = x;
    Integer cy = y;
    while (CanStep(d, cx, cy)) {
      cx += d.dx;
      cy += d.dy;
      const Integer i = cx + 8 * cy;
      const Integer value = Box(i)->value;
      if (value == player) break;  // closed by an own disc: the run counts
      if (value == 0) {            // open end: nothing to turn this way
        run.clear();
        break;
      }
      engine::AppendSquare(run, i);
      if (!CanStep(d, cx, cy)) run.clear();  // an opposing disc on the edge
      classlib::RuntimeBackgroundTask();
    }
    result += run;
  }
  return result;
}
