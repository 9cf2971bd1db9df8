// The menu bar's tree, built from one table in creation order.
#include "shell/MainMenuBar.h"

#include <memory>

using classlib::Ref;

namespace {

enum class ItemClass { Plain, Quit, Application };

struct MenuEntry {
  int builder;           // 0 File, 1 Edit, 2 Help
  const char* name;
  ItemClass itemClass;
  const char* text;      // "-" makes a separator
  const char* shortcut;  // nullptr: the shortcut is never assigned
  const char* menu;      // nullptr: a menu title, appended to the bar
};

const MenuEntry kEntries[] = {
    {0, "FileMenu", ItemClass::Plain, "ファイル", "", nullptr},
    {0, "FileQuit", ItemClass::Quit, "終了", "Cmd+Q", "FileMenu"},
    {1, "EditMenu", ItemClass::Plain, "編集", "", nullptr},
    {1, "EditUndo", ItemClass::Plain, "取り消す", "Cmd+Z", "EditMenu"},
    {1, "EditSeparator1", ItemClass::Plain, "-", nullptr, "EditMenu"},
    {1, "EditCut", ItemClass::Plain, "カット", "Cmd+X", "EditMenu"},
    {1, "EditCopy", ItemClass::Plain, "コピー", "Cmd+C", "EditMenu"},
    {1, "EditPaste", ItemClass::Plain, "貼り付け", "Cmd+V", "EditMenu"},
    {1, "EditClear", ItemClass::Plain, "削除", "", "EditMenu"},
    {1, "EditSeparator2", ItemClass::Plain, "-", nullptr, "EditMenu"},
    {1, "EditSelectAll", ItemClass::Plain, "すべてを選択", "Cmd+A", "EditMenu"},
    {1, "UntitledSeparator", ItemClass::Plain, "-", nullptr, "EditMenu"},
    {2, "HelpMenu", ItemClass::Plain, "ヘルプ", "", nullptr},
    {2, "VistrelHelp", ItemClass::Plain, "Tovarine ヘルプ(HelpViewer)", "Cmd+?", "HelpMenu"},
    {2, "About", ItemClass::Application, "Tovarine について", "", "HelpMenu"},
};

Ref<classlib::MenuItem> NewItem(ItemClass itemClass) {
  switch (itemClass) {
    case ItemClass::Quit: return std::make_shared<classlib::QuitMenuItem>();
    case ItemClass::Application: return std::make_shared<classlib::ApplicationMenuItem>();
    case ItemClass::Plain: break;
  }
  return std::make_shared<classlib::MenuItem>();
}

// Creates the entries of one builder in table order. Each item's menu is found
// on the bar right before the item is appended to it.
void BuildMenu(class MainMenuBar& bar, int builder) {
  for (const MenuEntry& entry : kEntries) {
    if (entry.builder != builder) continue;
    Ref<classlib::MenuItem> item = NewItem(entry.itemClass);
    item->SetName(entry.name);
    item->SetAutoEnable(true);
    item->SetText(entry.text);
    item->SetVisible(true);
    if (entry.shortcut) item->SetKeyboardShortcut(entry.shortcut);
    if (entry.menu) {
      bar.Child(entry.menu)->Append(item);
    } else {
      bar.Append(item);
    }
  }
}

// The shared instance; set only once its tree is complete.
Ref<class MainMenuBar> implicitInstance;

}  // namespace

void MainMenuBar::Constructor() {
  Untitled0();
  Untitled1();
  Untitled2();
}

void MainMenuBar::Untitled0() { BuildMenu(*this, 0); }
void MainMenuBar::Untitled1() { BuildMenu(*this, 1); }
void MainMenuBar::Untitled2() { BuildMenu(*this, 2); }

Ref<class MainMenuBar> MainMenuBar() {
  if (implicitInstance) return implicitInstance;
  auto bar = std::make_shared<class MainMenuBar>();
  bar->Constructor();
  implicitInstance = bar;
  return implicitInstance;
}
