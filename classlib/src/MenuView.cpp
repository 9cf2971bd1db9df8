// The menu bar widget of a menu tree. Each item becomes an action whose
// trigger (a click or its keyboard shortcut) sends the item's Name as a menu
// command; captions "-" become separator lines.
#include <string>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

namespace classlib::internal {
namespace {

// Captions are shown as they stand: '&' would otherwise mark a mnemonic.
QString Caption(const std::string& text) {
  QString caption = QString::fromStdString(text);
  caption.replace(QLatin1Char('&'), QLatin1String("&&"));
  return caption;
}

// "Cmd+Q" -> Ctrl+Q (Qt shows Ctrl as Cmd on macOS by itself), "Cmd+Shift+Z",
// "Option+X". Empty or unreadable text: no shortcut.
QKeySequence ShortcutFor(const std::string& text) {
  const QString s = QString::fromStdString(text).trimmed();
  if (s.isEmpty()) return QKeySequence();
  QString modifierPart;
  QString keyPart;
  if (s == QLatin1String("+")) {
    keyPart = s;
  } else if (s.endsWith(QLatin1String("++"))) {
    modifierPart = s.left(s.size() - 2);
    keyPart = QStringLiteral("+");
  } else {
    const qsizetype split = s.lastIndexOf(QLatin1Char('+'));
    modifierPart = split < 0 ? QString() : s.left(split);
    keyPart = s.mid(split + 1);
  }
  Qt::KeyboardModifiers modifiers;
  if (!modifierPart.isEmpty()) {
    for (const QString& token : modifierPart.split(QLatin1Char('+'))) {
      const QString t = token.trimmed().toLower();
      if (t == QLatin1String("cmd") || t == QLatin1String("command") || t == QLatin1String("ctrl")) {
        modifiers |= Qt::ControlModifier;
      } else if (t == QLatin1String("shift")) {
        modifiers |= Qt::ShiftModifier;
      } else if (t == QLatin1String("option") || t == QLatin1String("alt")) {
        modifiers |= Qt::AltModifier;
      } else {
        return QKeySequence();
      }
    }
  }
  const QKeySequence key = QKeySequence::fromString(keyPart, QKeySequence::PortableText);
  if (key.count() != 1 || key[0].key() == Qt::Key_unknown || key[0].keyboardModifiers() != Qt::NoModifier) {
    return QKeySequence();
  }
  return QKeySequence(QKeyCombination(modifiers, key[0].key()));
}

QAction::MenuRole RoleOf(const MenuItem& item) {
  if (dynamic_cast<const QuitMenuItem*>(&item)) return QAction::QuitRole;
  if (dynamic_cast<const ApplicationMenuItem*>(&item)) return QAction::AboutRole;
  // Plain items stay where they are put: no guessing from their captions.
  return QAction::NoRole;
}

void RaiseEnableMenuItems() {
  Guarded([] {
    const auto windows = OpenWindows();
    if (!windows.empty()) windows.front()->Event_EnableMenuItems();
  });
}

void FillMenu(QMenu* menu, const MenuItem& source, QWidget* shortcutHost);

QAction* ActionFor(QMenu* menu, const Ref<MenuItem>& item, QWidget* shortcutHost) {
  if (item->Count() > 0) {
    // An item with items of its own is a submenu.
    QMenu* sub = menu->addMenu(Caption(item->Text()));
    sub->setObjectName(QString::fromStdString(item->Name()));
    FillMenu(sub, *item, shortcutHost);
    sub->menuAction()->setVisible(item->Visible());
    return sub->menuAction();
  }
  QAction* action = menu->addAction(Caption(item->Text()));
  action->setObjectName(QString::fromStdString(item->Name()));
  action->setMenuRole(RoleOf(*item));
  action->setVisible(item->Visible());
  const QKeySequence shortcut = ShortcutFor(item->KeyboardShortcut());
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    // Also on the window itself, so that the shortcut works whenever the
    // window is active, even where the bar is hidden or elsewhere.
    if (shortcutHost) shortcutHost->addAction(action);
  }
  const std::string name = item->Name();
  QObject::connect(action, &QAction::triggered, action,
                   [name] { Guarded([&] { SendMenuCommand(name); }); });
  return action;
}

void FillMenu(QMenu* menu, const MenuItem& source, QWidget* shortcutHost) {
  QObject::connect(menu, &QMenu::aboutToShow, menu, [] { RaiseEnableMenuItems(); });
  for (Integer i = 0; i < source.Count(); ++i) {
    const Ref<MenuItem> item = source.Item(i);
    if (item->IsSeparator()) {
      menu->addSeparator()->setObjectName(QString::fromStdString(item->Name()));
    } else {
      ActionFor(menu, item, shortcutHost);
    }
  }
}

}  // namespace

QMenuBar* BuildMenuBar(const Ref<MenuBar>& bar, QWidget* parent) {
  if (bar.IsNil()) return nullptr;
  auto* widget = new QMenuBar(parent);
  widget->setObjectName(QString::fromStdString(bar->Name()));
  QWidget* shortcutHost = parent ? parent->window() : nullptr;
  for (Integer i = 0; i < bar->Count(); ++i) {
    const Ref<MenuItem> item = bar->Item(i);
    QMenu* menu = widget->addMenu(Caption(item->Text()));
    menu->setObjectName(QString::fromStdString(item->Name()));
    FillMenu(menu, *item, shortcutHost);
    menu->menuAction()->setVisible(item->Visible());
  }
  return widget;
}

}  // namespace classlib::internal
