// Menu commands reach the handlers bound by item name on the front window, then the application's; menu cycles fail.
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
  item->SetName(name), item->SetText(text), item->SetKeyboardShortcut(shortcut);
  return Ref<MenuItem>(item);
}

Ref<MenuBar> MakeBar() {
  auto bar = Ref<MenuBar>(std::make_shared<MenuBar>());
  for (auto [name, text] : {std::pair{"FileMenu", "ファイル"}, {"EditMenu", "編集"}, {"HelpMenu", "ヘルプ"}}) {
    bar->Append(Item(name, text));
  }
  bar->Child("FileMenu")->Append(Item<QuitMenuItem>("FileQuit", "終了", "Cmd+Q"));
  bar->Child("EditMenu")->Append(Item("EditUndo", "取り消す", "Cmd+Z"));
  bar->Child("EditMenu")->Append(Item("EditCut", "カット & 貼り", "Cmd+X"));
  bar->Child("HelpMenu")->Append(Item<ApplicationMenuItem>("About", "について"));
  return bar;
}

struct MenuWindow : Window {
  void Layout() override { SetMenuBar(MakeBar()); }
};

}  // namespace

TEST(MenuView, WindowShowsTheTreeAndItsItemsRunHandlersByName) {
  auto app = std::make_shared<Application>();
  RuntimeRegisterAppObject(Ref<Application>(app));
  auto window = std::make_shared<MenuWindow>();
  window->Constructor();
  QWidget* top = internal::TopLevelWidget(*window);
  const auto menus = top->findChild<QMenuBar*>()->actions();
  ASSERT_EQ(menus.size(), 3);  // what the items show is checked on the game's own bar (shell suite)
  EXPECT_THROW(window->MenuBar()->Item(0)->Append(window->MenuBar()), RuntimeException);
  const auto edit = menus[1]->menu()->actions();
  EXPECT_EQ(edit[1]->text(), QStringLiteral("カット && 貼り"));  // shown with its '&'

  std::string ran, unhandled;
  bool windowTakes = true;
  window->AddMenuHandler("FileNew", [&] { return ran += "new;", true; });  // no item has it
  window->AddMenuHandler("FileQuit", [&] { return ran += "quit;", true; });
  window->AddMenuHandler("EditCut", [&] { return ran += "cut;", windowTakes; });
  app->AddMenuHandler("EditCut", [&] { return ran += "app cut;", true; });
  window->AddMenuHandler("EditUndo", []() -> bool { throw NilObjectException("no undo"); });
  SetUnhandledExceptionHookForTesting([&](const std::exception& e) { unhandled = e.what(); });
  for (QAction* menu : menus) {
    for (QAction* action : menu->menu()->actions()) action->trigger();
  }
  EXPECT_EQ(unhandled, "no undo");  // an escaping error reaches the routine
  windowTakes = false;               // declined: on to the application
  edit[1]->trigger();
  top->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(top));
  QTest::keyClick(top, Qt::Key_Q, Qt::ControlModifier);
  QTest::keyClick(top, Qt::Key_Q);  // without the modifier: nothing
  window->Close();
  EXPECT_TRUE(SendMenuCommand("EditCut"));  // no window open
  EXPECT_FALSE(SendMenuCommand("EditCopy"));
  EXPECT_EQ(ran, "quit;cut;cut;app cut;quit;app cut;");
  SetUnhandledExceptionHookForTesting(nullptr);
  RuntimeRegisterAppObject(nullptr);
}
