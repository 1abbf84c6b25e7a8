// Bytes from a user's file (or from a module) made safe to show in a message: printable
// ASCII stays as it is, every other byte is written as \xNN, so that binary garbage and
// terminal escape sequences never reach the user's terminal raw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace printabletext {

// The most bytes of a file's text that a message quotes; the rest is cut to "...".
constexpr std::size_t kMaxQuotedBytes = 40;

bool isPrintable(std::uint8_t byte);

// Every byte, printable ones as they are, the others as \xNN (two upper-case hex digits).
std::string escaped(const std::uint8_t* bytes, std::size_t size);
std::string escaped(const std::string& bytes);

// 'text' for a message: escaped, in single quotes, at most kMaxQuotedBytes of the bytes
// followed by "..." when there are more.
std::string quoted(const std::string& bytes);

}  // namespace printabletext
