// The shared menu bar's tree and the main window's accessors of its items.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "shell/MainMenuBar.h"
#include "window/MW.h"

using namespace classlib;

namespace {

std::string Describe(const Ref<MenuItem>& item) {
  return item->Name() + " " + item->ClassName() + " " + item->Text() + " [" + item->KeyboardShortcut() + "]" +
         (item->AutoEnable() && item->Visible() ? "" : " off");
}

// The window's fifteen accessors, with the item name each finds.
const std::vector<std::pair<std::string, std::function<Ref<MenuItem>(class MW&)>>> kAccessors = {
    {"HelpMenu", &MW::HelpMenu}, {"About", &MW::About}, {"VistrelHelp", &MW::VistrelHelp},
    {"EditMenu", &MW::EditMenu}, {"UntitledSeparator", &MW::UntitledSeparator},
    {"EditSelectAll", &MW::EditSelectAll}, {"EditSeparator2", &MW::EditSeparator2},
    {"EditClear", &MW::EditClear}, {"EditPaste", &MW::EditPaste}, {"EditCopy", &MW::EditCopy},
    {"EditCut", &MW::EditCut}, {"EditSeparator1", &MW::EditSeparator1}, {"EditUndo", &MW::EditUndo},
    {"FileMenu", &MW::FileMenu}, {"FileQuit", &MW::FileQuit},
};

}  // namespace

TEST(MainMenuBar, OneSharedTreeOfMenusAndItems) {
  Ref<class MainMenuBar> bar = MainMenuBar();
  EXPECT_TRUE(MainMenuBar() == bar);
  std::string tree;
  for (Integer m = 0; m < bar->Count(); ++m) {
    tree += Describe(bar->Item(m)) + "\n";
    for (Integer i = 0; i < bar->Item(m)->Count(); ++i) tree += "  " + Describe(bar->Item(m)->Item(i)) + "\n";
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

TEST(MainWindowMenus, AccessorsFindEveryItemOfTheWindowsBarOrRaiseWithoutOne) {
  Ref<class MW> w = MW();
  EXPECT_TRUE(w->MenuBar() == MainMenuBar());
  for (const auto& [name, accessor] : kAccessors) EXPECT_EQ(accessor(*w)->Name(), name);
  EXPECT_EQ(w->About()->ClassName(), "ApplicationMenuItem");
  EXPECT_EQ(w->FileQuit()->ClassName(), "QuitMenuItem");
  auto bare = std::make_shared<class MW>();  // no menu bar
  for (const auto& [name, accessor] : kAccessors) EXPECT_THROW(accessor(*bare), NilObjectException) << name;
}
