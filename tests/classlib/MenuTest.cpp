// Menu trees, the menu bar a window shows for one, and menu commands reaching
// the handlers bound by item name.
#include <memory>
#include <string>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

using namespace classlib;

namespace {

template <class T = MenuItem>
Ref<MenuItem> Item(const std::string& name, const std::string& text, const std::string& shortcut = "") {
  auto item = std::make_shared<T>();
  item->SetName(name);
  item->SetText(text);
  item->SetKeyboardShortcut(shortcut);
  return Ref<MenuItem>(item);
}

// File: Quit; Edit: Undo, separator, Cut; Help: Help, About.
Ref<MenuBar> MakeBar() {
  auto bar = Ref<MenuBar>(std::make_shared<MenuBar>());
  bar->Append(Item("FileMenu", "ファイル"));
  bar->Child("FileMenu")->Append(Item<QuitMenuItem>("FileQuit", "終了", "Cmd+Q"));
  bar->Append(Item("EditMenu", "編集"));
  bar->Child("EditMenu")->Append(Item("EditUndo", "取り消す", "Cmd+Z"));
  bar->Child("EditMenu")->Append(Item("EditSeparator1", "-"));
  bar->Child("EditMenu")->Append(Item("EditCut", "カット & 貼り", "Cmd+X"));
  bar->Append(Item("HelpMenu", "ヘルプ"));
  bar->Child("HelpMenu")->Append(Item("VistrelHelp", "ヘルプ", "Cmd+?"));
  bar->Child("HelpMenu")->Append(Item<ApplicationMenuItem>("About", "について"));
  return bar;
}

class MenuWindow : public Window {
 public:
  Ref<classlib::MenuBar> bar;
  int enableMenuItems = 0;
  void Layout() override { SetMenuBar(bar); }
  void Event_EnableMenuItems() override { ++enableMenuItems; }
};

std::shared_ptr<MenuWindow> OpenMenuWindow(Ref<MenuBar> bar) {
  auto window = std::make_shared<MenuWindow>();
  window->bar = bar;
  window->Constructor();
  return window;
}

QMenuBar* MenuBarWidget(const Window& window) {
  return internal::TopLevelWidget(window)->findChild<QMenuBar*>();
}

}  // namespace

TEST(MenuTree, ChildIsDirectLookupSearchesDepthFirst) {
  Ref<MenuBar> bar = MakeBar();
  EXPECT_EQ(bar->Count(), 3);
  EXPECT_EQ(bar->Item(1)->Name(), "EditMenu");
  EXPECT_TRUE(bar->Item(3).IsNil());
  EXPECT_TRUE(bar->Item(-1).IsNil());

  EXPECT_TRUE(bar->Child("FileQuit").IsNil());  // not a direct child of the bar
  Ref<MenuItem> quit = bar->Lookup("FileQuit");
  ASSERT_FALSE(quit.IsNil());
  EXPECT_EQ(quit->ClassName(), "QuitMenuItem");
  EXPECT_EQ(bar->Lookup("About")->ClassName(), "ApplicationMenuItem");
  EXPECT_TRUE(bar->Lookup("EditSeparator1")->IsSeparator());
  EXPECT_TRUE(bar->Lookup("FileNew").IsNil());

  // A deeper item of an earlier menu comes before a later menu's item.
  bar->Child("EditMenu")->Item(0)->Append(Item("Twin", "deep"));
  bar->Child("HelpMenu")->Append(Item("Twin", "shallow"));
  EXPECT_EQ(bar->Lookup("Twin")->Text(), "deep");
}

TEST(MenuTree, RefusesNilAndCycles) {
  Ref<MenuBar> bar = MakeBar();
  EXPECT_THROW(bar->Append(Ref<MenuItem>()), NilObjectException);
  Ref<MenuItem> edit = bar->Child("EditMenu");
  EXPECT_THROW(edit->Append(edit), RuntimeException);
  EXPECT_THROW(edit->Item(0)->Append(bar), RuntimeException);
  EXPECT_EQ(edit->Count(), 3);
}

TEST(MenuView, WindowShowsTheTreeWithShortcutsAndRoles) {
  auto window = OpenMenuWindow(MakeBar());
  QMenuBar* widget = MenuBarWidget(*window);
  ASSERT_NE(widget, nullptr);
  const auto menus = widget->actions();
  ASSERT_EQ(menus.size(), 3);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("ファイル"));
  EXPECT_EQ(menus[2]->text(), QStringLiteral("ヘルプ"));

  const auto edit = menus[1]->menu()->actions();
  ASSERT_EQ(edit.size(), 3);
  EXPECT_EQ(edit[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_TRUE(edit[1]->isSeparator());
  EXPECT_EQ(edit[2]->text(), QStringLiteral("カット && 貼り"));  // shown with its '&'
  EXPECT_EQ(edit[2]->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));

  QAction* quit = menus[0]->menu()->actions().at(0);
  EXPECT_EQ(quit->menuRole(), QAction::QuitRole);
  const auto help = menus[2]->menu()->actions();
  EXPECT_EQ(help[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Question));
  EXPECT_EQ(help[1]->menuRole(), QAction::AboutRole);
  EXPECT_TRUE(help[1]->shortcut().isEmpty());

  Q_EMIT menus[1]->menu()->aboutToShow();
  EXPECT_EQ(window->enableMenuItems, 1);
  window->Close();
}

TEST(MenuView, ChoosingAnItemRunsItsHandlerAndUnboundNamesNeverRun) {
  auto window = OpenMenuWindow(MakeBar());
  std::string ran;
  int fileNew = 0;
  window->AddMenuHandler("FileNew", [&] { ++fileNew; return true; });
  window->AddMenuHandler("EditCut", [&] { ran += "cut;"; return true; });
  window->AddMenuHandler("EditUndo", [] () -> bool { throw NilObjectException("no undo"); });

  std::string unhandled;
  SetUnhandledExceptionHookForTesting([&](const std::exception& e) { unhandled = e.what(); });
  for (QAction* menu : MenuBarWidget(*window)->actions()) {
    for (QAction* action : menu->menu()->actions()) action->trigger();
  }
  SetUnhandledExceptionHookForTesting(nullptr);

  EXPECT_EQ(ran, "cut;");
  EXPECT_EQ(fileNew, 0);
  EXPECT_EQ(unhandled, "no undo");  // an escaping error reaches the routine
  window->Close();
}

TEST(MenuView, CmdQShortcutWorksInTheActiveWindow) {
  auto window = OpenMenuWindow(MakeBar());
  int quits = 0;
  window->AddMenuHandler("FileQuit", [&] { ++quits; return true; });
  QWidget* top = internal::TopLevelWidget(*window);
  top->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(top));
  QTest::keyClick(top, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(quits, 1);
  QTest::keyClick(top, Qt::Key_Q);  // without the modifier: nothing
  EXPECT_EQ(quits, 1);
  window->Close();
}
