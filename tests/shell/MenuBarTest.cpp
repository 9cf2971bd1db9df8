// The shared menu bar as the player finds it: menus, items, shortcuts.
#include <string>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "shell/MainMenuBar.h"

using namespace classlib;

TEST(MainMenuBar, TreeOfMenusItemsShortcutsAndSeparators) {
  auto describe = [](const Ref<MenuItem>& item) {
    return item->Name() + " " + item->ClassName() + " " + item->Text() + " [" + item->KeyboardShortcut() + "]" +
           (item->AutoEnable() && item->Visible() ? "" : " off");
  };
  Ref<class MainMenuBar> bar = MainMenuBar();
  std::string tree;
  for (Integer m = 0; m < bar->Count(); ++m) {
    tree += describe(bar->Item(m)) + "\n";
    for (Integer i = 0; i < bar->Item(m)->Count(); ++i) tree += "  " + describe(bar->Item(m)->Item(i)) + "\n";
  }
  EXPECT_EQ(tree,
            "FileMenu MenuItem ファイル []\n"
            "  FileQuit QuitMenuItem 終了 [Cmd+Q]\n"
            "EditMenu MenuItem 編集 []\n"
            "  EditUndo MenuItem 取り消す [Cmd+Z]\n"
            "  EditSeparator1 MenuItem - []\n"
            "  EditCut MenuItem カット [Cmd+X]\n"
            "  EditCopy MenuItem コピー [Cmd+C]\n"
            "  EditPaste MenuItem 貼り付け [Cmd+V]\n"
            "  EditClear MenuItem 削除 []\n"
            "  EditSeparator2 MenuItem - []\n"
            "  EditSelectAll MenuItem すべてを選択 [Cmd+A]\n"
            "  UntitledSeparator MenuItem - []\n"
            "HelpMenu MenuItem ヘルプ []\n"
            "  VistrelHelp MenuItem Tovarine ヘルプ(HelpViewer) [Cmd+?]\n"
            "  About ApplicationMenuItem Tovarine について []\n");

}
