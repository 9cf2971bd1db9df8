// Sets of squares travel between the game's methods as text: each square's
// index in decimal followed by a comma ("35,43,"); the empty text is the empty
// set. These helpers read and write that form and nothing else.
#pragma once

#include <string>
#include <string_view>

#include "classlib/ClassLib.h"

namespace engine {

// Number of squares in a list: the fields minus the empty one after the last
// comma.
inline classlib::Integer EntryCount(std::string_view list) {
  return classlib::CountFields(list, ",") - 1;
}

// Entry k (from 1) as the text the list holds.
inline std::string EntryText(std::string_view list, classlib::Integer k) {
  return classlib::NthField(list, ",", k);
}

// Entry k (from 1) as a square index, truncated toward zero.
inline classlib::Integer EntrySquare(std::string_view list, classlib::Integer k) {
  return static_cast<classlib::Integer>(classlib::Val(EntryText(list, k)));
}

// Appends one entry and its comma.
inline void AppendEntry(std::string& list, std::string_view entry) {
  list += entry;
  list += ',';
}

inline void AppendSquare(std::string& list, classlib::Integer square) {
  AppendEntry(list, classlib::Str(square));
}

// Whether an entry's text is one of the squares of a group written as
// ",a,b,c,": entries are compared as text, never as numbers.
inline bool InGroup(std::string_view entry, std::string_view group) {
  if (entry.empty()) return false;
  std::string needle;
  needle.reserve(entry.size() + 2);
  needle += ',';
  needle += entry;
  needle += ',';
  return group.find(needle) != std::string_view::npos;
}

}  // namespace engine
