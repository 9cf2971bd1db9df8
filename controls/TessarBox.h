// The board square: a canvas that holds the value of its square and knows its
// column and row.
#pragma once

#include "classlib/ClassLib.h"

class TessarBox : public classlib::Canvas {
 public:
  classlib::Integer m = 0;      // column, 0 at the left
  classlib::Integer n = 0;      // row, 0 at the top
  classlib::Integer value = 0;  // 0 empty, 1 White (the computer), 2 Black (the player)

  // Derives m and n from the square's Index and gives the square a blank
  // backdrop of its own size.
  void Event_Open() override;

  std::string ClassName() const override { return "TessarBox"; }
  void DeclareProperties(classlib::PropertyTable& table) override;
};
