// The main window as start-up builds it: one window, its look, its 85 controls with what they show, and the selectors.
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "tests/support/Game.h"

using namespace game;

TEST(MainWindow, OneWindowWithTheBoardLookAndItsControlsAsDesigned) {
  Ref<class MW> w = MW();
  EXPECT_EQ(w->ClassName() + " " + Str(w->Width()) + "x" + Str(w->Height()), "MW.MW 640x670");
  EXPECT_TRUE(w->Backdrop() == TessarBoard() && !w->Backdrop().IsNil());
  // The 64 squares asked for the window while it opened: they found this one.
  Integer mainWindows = 0;
  for (const Ref<Window>& open : OpenWindows()) mainWindows += open->ClassName() == "MW.MW";
  EXPECT_EQ(mainWindows, 1);

  EXPECT_EQ(w->ControlCount(), 85);
  // The buttons' captions lie on them: a press at a button's middle lands on its caption and must reach the button.
  EXPECT_TRUE(w->St(5)->ParentControl() == w->BCV(3) && w->St(6)->ParentControl() == w->BCV(4));

  // What a player sees of the labels, the selectors, the picture buttons and the squares (rows 5 to 7 one point lower),
  // read back from their widgets after a new game: the text (a button's help tag), the place in the window, the text's
  // size and colour, and the labels' alignment (code 1 on the status line, 0 elsewhere: both at the left).
  NewGame();
  struct Look { const char* set; Integer index, left, top, width, height; const char* text; int size; QRgb colour; };
  std::vector<Look> looks = {
      {"St", 0, 314, 22, 200, 28, "黒が先手です。", 18, 0xFF00FF}, {"St", 1, 122, 21, 76, 27, "Player:", 18, 0},
      {"St", 2, 186, 19, 53, 31, "2", 18, 0x00FFFF},             {"St", 3, 236, 20, 77, 31, "Mac:", 18, 0},
      {"St", 4, 281, 21, 64, 31, "2", 18, 0x00FFFF},             {"St", 5, 422, 607, 44, 27, "後手", 14, 0xFFFF66},
      {"St", 6, 514, 608, 58, 27, "再ゲーム", 14, 0xFFFF66},
      {"GB", 0, 35, 598, 160, 50, "強さ", 14, 0},                {"GB", 1, 213, 598, 150, 50, "石の変更", 14, 0},
      {"RB", 0, 44, 622, 40, 19, "弱", 14, 0},  {"RB", 1, 95, 622, 38, 19, "中", 14, 0},
      {"RB", 2, 142, 624, 43, 15, "強", 14, 0}, {"RB", 3, 220, 621, 40, 19, "石1", 14, 0},
      {"RB", 4, 266, 621, 45, 20, "石2", 14, 0}, {"RB", 5, 312, 621, 45, 20, "石3", 14, 0},
      {"BCV", 0, 20, 15, 20, 20, "", 0, 0},     {"BCV", 1, 40, 15, 20, 20, "", 0, 0},
      {"BCV", 2, 60, 15, 25, 20, "", 0, 0},     {"BCV", 3, 393, 602, 82, 42, "後手になります。", 0, 0},
      {"BCV", 4, 496, 602, 82, 42, "", 0, 0}};
  // Every square, 64 x 64, by its column's left and its row's top.
  const Integer lefts[] = {59, 124, 189, 254, 319, 384, 449, 514}, tops[] = {62, 127, 192, 257, 322, 388, 453, 518};
  for (Integer i = 0; i < 64; ++i) looks.push_back({"Box", i, lefts[i % 8], tops[i / 8], 64, 64, "", 0, 0});
  for (const Look& look : looks) {
    SCOPED_TRACE(std::string(look.set) + Str(look.index));
    QWidget* widget = internal::WidgetOf(*w->ControlByNameIndex(look.set, look.index));
    QString text = widget->toolTip();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      text = label->text();
      EXPECT_EQ(label->palette().color(QPalette::WindowText).rgb(), 0xFF000000 | look.colour);
      EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) text = radio->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) text = group->title();
    EXPECT_EQ(text.toStdString(), look.text);
    const QPoint at = widget->mapTo(internal::ContentWidget(*w), QPoint());
    EXPECT_EQ(Str(at.x()) + "," + Str(at.y()) + " " + Str(widget->width()) + "x" + Str(widget->height()),
              Str(look.left) + "," + Str(look.top) + " " + Str(look.width) + "x" + Str(look.height));
    EXPECT_EQ(look.size ? widget->font().pixelSize() : 0, look.size);
  }
}

// The choices a player finds on the window as start-up makes it: Mac plays "強", the discs are "石1".
TEST(MainWindow, StartsStrongWithTheFirstDiscSet) {
  MW()->Close();
  internal::ResetQuitForTesting();
  EXPECT_EQ(Choices(), "001100");
}
