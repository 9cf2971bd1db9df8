// The real main window, reset for every test, with boards written as text:
// 64 characters row by row, '.' empty, 'W' the computer's disc, 'B' the
// player's, '?' a value that is neither; blanks are ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "shell/Resources.h"
#include "window/MW.h"

namespace enginetest {

using classlib::Integer;
using classlib::Ref;

inline std::string SoundName(const Ref<classlib::Sound>& s) { return s.IsNil() ? "" : s->Name(); }
inline std::vector<std::string> Played() { return classlib::Sound::PlayLog(); }

inline std::string Compact(std::string_view rows) {
  std::string text;
  for (char c : rows) {
    if (c != ' ') text += c;
  }
  return text;
}

inline const std::string kStart = Compact("........ ........ ........ ...WB... ...BW... ........ ........ ........");

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w->RB(2)->SetValue(true);
    w->RB(3)->SetValue(true);
    w->Initialize();
    w->pass = {false, false};
    classlib::Sound::ClearPlayLog();
  }

  void SetBoard(std::string_view rows, Integer toMove = 2) {
    const std::string board = Compact(rows);
    ASSERT_EQ(board.size(), 64u);
    for (Integer i = 0; i < 64; ++i) {
      const char c = board[static_cast<std::size_t>(i)];
      w->Box(i)->value = c == 'W' ? 1 : c == 'B' ? 2 : c == '?' ? 7 : 0;
    }
    w->player = toMove;
  }

  std::string Board() {
    std::string board;
    for (Integer i = 0; i < 64; ++i) board += ".WB?"[w->Box(i)->value & 3];
    return board;
  }

  // A press and release at the centre of the square.
  void Click(Integer i) { classlib::testing::ClickAt(w, w->Box(i)->Left() + 32, w->Box(i)->Top() + 32); }

  std::string Status() { return w->St(0)->Text(); }
  std::string Counts() { return w->St(2)->Text() + "/" + w->St(4)->Text(); }

  Ref<class MW> w = MW();
};

}  // namespace enginetest
