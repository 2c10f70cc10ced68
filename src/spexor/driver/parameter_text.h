#pragma once

#include <string>
#include <string_view>
#include <vector>

// Removes from both ends every space, tab, line feed, carriage return,
// vertical tab, form feed, bell and backspace.
std::string TrimParameterText(std::string_view text);

// The items of a list separated by vertical bars, empty items dropped.
std::vector<std::string> SplitBarList(std::string_view text);
