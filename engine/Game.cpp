// A new game, the turn switch, the disc pictures, the disc counts and the
// verdict at the end of a game.
#include <string>

#include "shell/Resources.h"
#include "window/MW.h"

using classlib::Integer;
using classlib::Picture;
using classlib::Ref;
using classlib::RuntimeBackgroundTask;
using classlib::Str;

namespace {

constexpr Integer kWhite = 1;  // the computer's discs
constexpr Integer kBlack = 2;  // the player's discs

struct DiscCounts {
  Integer black = 0;
  Integer white = 0;
};

// Walks the 64 squares; empty squares count for neither side.
DiscCounts CountDiscs(class MW& window) {
  DiscCounts counts;
  for (Integer i = 0; i <= 63; ++i) {
    const Integer value = window.Box(i)->value;
    if (value == kWhite) {
      ++counts.white;
    } else if (value == kBlack) {
      ++counts.black;
    }
    RuntimeBackgroundTask();
  }
  return counts;
}

void ShowCounts(class MW& window, const DiscCounts& counts) {
  window.St(2)->SetText(Str(counts.black));
  window.St(4)->SetText(Str(counts.white));
}

}  // namespace

void MW::Initialize() {
  for (Integer i = 0; i <= 63; ++i) {
    Box(i)->value = 0;
    RuntimeBackgroundTask();
  }
  Box(27)->value = kWhite;
  Box(28)->value = kBlack;
  Box(35)->value = kBlack;
  Box(36)->value = kWhite;
  St(0)->SetText("黒が先手です。");
  St(2)->SetText("2");
  St(4)->SetText("2");
  player = kBlack;
  playing = false;
  RefreshBox();
}

void MW::Change() {
  if (player == kBlack) {
    player = kWhite;
    St(0)->SetText("マックが考えています...");
  } else if (player == kWhite) {
    player = kBlack;
    St(0)->SetText("貴方の番です。");
  }
  // Shown at once: the computer's turn that follows runs before the next paint.
  St(0)->Refresh(true);
}

void MW::RefreshBox() {
  // The disc set is read anew for every disc, so a change of set shows at the
  // next redraw without being stored anywhere.
  for (Integer i = 0; i <= 63; ++i) {
    const Integer value = Box(i)->value;
    if (value == 0) {
      Box(i)->SetBackdrop(Ref<Picture>());
    } else if (value == kWhite) {
      Box(i)->SetBackdrop(RB(3)->Value() ? White1() : RB(4)->Value() ? White2() : White());
    } else if (value == kBlack) {
      Box(i)->SetBackdrop(RB(3)->Value() ? Black1() : RB(4)->Value() ? Black2() : Black());
    }
    RuntimeBackgroundTask();
  }
}

void MW::Count() { ShowCounts(*this, CountDiscs(*this)); }

void MW::Score() {
  pass[1] = true;
  const DiscCounts counts = CountDiscs(*this);
  ShowCounts(*this, counts);
  if (counts.white == counts.black) {
    St(0)->SetText("引き分け");
    Finish()->Play();
  } else if (counts.black < counts.white) {
    St(0)->SetText("Macの勝ちです！");
    Bad()->Play();
  } else {
    St(0)->SetText("貴方の勝ちです！");
    Finish()->Play();
  }
}
