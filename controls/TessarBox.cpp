// The board square.
#include "controls/TessarBox.h"

#include <memory>

#include "window/MW.h"

void TessarBox::Event_Open() {
  m = Index() % 8;  // column
  n = Index() / 8;  // row
  // A blank backdrop of the square's own size; the board view replaces it.
  classlib::Integer width = Width();
  classlib::Integer height = Height();
  SetBackdrop(std::make_shared<classlib::Picture>(width, height));
  // The square opens while the window is being built: the accessor finds that
  // window, it does not make another.
  classlib::Ref<classlib::Graphics> g = Backdrop()->Graph();
  g->SetForeColor(MW()->BackColor());
}

void TessarBox::DeclareProperties(classlib::PropertyTable& table) {
  Canvas::DeclareProperties(table);
  table.Add("m", &TessarBox::m);
  table.Add("n", &TessarBox::n);
  table.Add("value", &TessarBox::value);
}
