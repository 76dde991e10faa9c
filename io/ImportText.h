#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace braxel {

// The words of a text: runs of characters without blanks, tabs or line ends.
std::vector<std::string_view> SplitWords(std::string_view text);

// The word at index, or an empty text when the line has fewer words.
std::string_view WordAt(const std::vector<std::string_view>& words, std::size_t index);

// The text as a message may show it: blanks for tabs and line ends, "?" for bytes that are not
// printable ASCII.
std::string Printable(std::string_view text);

// The text without its trailing blanks, tabs and line end.
std::string_view TrimRight(std::string_view text);

// A number with its standard uncertainty, 5.4307(2): the part before the "(" when the word holds
// one after its first character, else the whole word; a word without a number gives 0.
double ValueBeforeUncertainty(std::string_view word);

// A coordinate: as above, or a fraction 1/3 when the word holds "/" after its first character.
double CoordinateValue(std::string_view word);

}  // namespace braxel
