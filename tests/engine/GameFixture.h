// The real main window, reset for every test, with boards written as text:
// row by row, '.' empty, 'W' the computer's disc, 'B' the player's, '?' a
// value that is neither; blanks are ignored and missing squares are empty.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "shell/Resources.h"
#include "window/MW.h"

namespace enginetest {

using classlib::Integer;

inline std::string Compact(std::string rows) {
  std::erase(rows, ' ');
  if (rows.size() < 64) rows.resize(64, '.');
  return rows;
}

inline const std::string kStart = Compact("........ ........ ........ ...WB... ...BW...");

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w->RB(2)->SetValue(true);  // strong
    w->RB(3)->SetValue(true);  // the first disc set
    w->Initialize();
    w->pass = {false, false};
    classlib::Sound::ClearPlayLog();
  }

  // A hand-made position, the player to move, neither side having passed.
  void SetBoard(const std::string& rows) {
    const std::string board = Compact(rows);
    ASSERT_EQ(board.size(), 64u) << rows;
    for (Integer i = 0; i < 64; ++i) {
      const char c = board[static_cast<std::size_t>(i)];
      w->Box(i)->value = c == 'W' ? 1 : c == 'B' ? 2 : c == '?' ? 7 : 0;
    }
    w->player = 2;
    w->pass = {false, false};
  }

  std::string Board() {
    std::string board;
    for (Integer i = 0; i < 64; ++i) board += ".WB?"[w->Box(i)->value & 3];
    return board;
  }

  // A press and release at the centre of the square, through the toolkit.
  void Click(Integer i) { classlib::testing::ClickAt(w, w->Box(i)->Left() + 32, w->Box(i)->Top() + 32); }

  std::string Counts() { return w->St(2)->Text() + "/" + w->St(4)->Text(); }
  // The rest of the game's state in one line: status, counts, side to move,
  // the two pass flags, whether a game is under way, and the sounds played
  // since the last look, by file name without extension.
  std::string State() {
    std::string sounds;
    for (const std::string& name : classlib::Sound::PlayLog()) {
      sounds += (sounds.empty() ? "" : " ") + name.substr(0, name.find('.'));
    }
    classlib::Sound::ClearPlayLog();
    return w->St(0)->Text() + " " + Counts() + " p" + classlib::Str(w->player) + " pass" + "01"[w->pass[0]] +
           "01"[w->pass[1]] + (w->playing ? " playing" : "") + " [" + sounds + "]";
  }

  classlib::Ref<class MW> w = MW();
};

}  // namespace enginetest
