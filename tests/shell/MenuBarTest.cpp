// The shared menu bar as the player finds it on the main window: menus, items, shortcuts ("Cmd" is Ctrl), separators.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"
#include "window/MW.h"

using namespace classlib;

TEST(MainMenuBar, ShownOnTheMainWindow) {
  auto* bar = internal::TopLevelWidget(*MW())->findChild<QMenuBar*>();
  ASSERT_TRUE(bar);
  std::string shown;
  for (QAction* menu : bar->actions()) {
    shown += menu->text().toStdString() + "\n";
    for (QAction* item : menu->menu()->actions()) {
      shown += "  " + (item->isSeparator() ? std::string("-") : item->text().toStdString()) + " [" +
               item->shortcut().toString().toStdString() + "]\n";
    }
  }
  EXPECT_EQ(shown,
            "ファイル\n  終了 [Ctrl+Q]\n"
            "編集\n  取り消す [Ctrl+Z]\n  - []\n  カット [Ctrl+X]\n  コピー [Ctrl+C]\n  貼り付け [Ctrl+V]\n  削除 []\n"
            "  - []\n  すべてを選択 [Ctrl+A]\n  - []\n"
            "ヘルプ\n  Tovarine ヘルプ(HelpViewer) [Ctrl+?]\n  Tovarine について []\n");
}
