#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brixel {

// Windows-1252, the 8-bit character set of the texts of animated cursors (their name, artist
// and copyright), as Windows reads and writes them: bytes 0x00 .. 0x7F and 0xA0 .. 0xFF are the
// Unicode characters of the same number, bytes 0x80 .. 0x9F the 27 characters of its table;
// the five bytes it leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control
// characters of the same number, as Windows reads them, so that every byte reads and writes
// back as itself.

// The bytes as UTF-8 text.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 text as Windows-1252 bytes; nullopt when a character has no byte there (or the text
// is not valid UTF-8), with the first such character in refused when given (U+FFFD for bytes
// that are not UTF-8).
std::optional<std::string> Utf8ToWindows1252(std::string_view text, char32_t* refused = nullptr);

// A character appended to UTF-8 text.
void AppendUtf8(std::string& out, char32_t character);

// A character for a message: itself in quotes and its code point, as in "“€” (U+20AC)".
std::string DescribeCharacter(char32_t character);

}  // namespace brixel
