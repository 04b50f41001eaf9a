// The system code page: texts inside records and the business layer are bytes
// in one configured code page (default CP936, set by LINKORA_CODEPAGE).
// Conversion to and from QString happens only at the window edge.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <string>

namespace codepage {

// The configured code page's iconv name.
const std::string& Name();
// Used by tests; later conversions use the new code page.
void SetName(const std::string& name);

// Bytes in the code page -> text. Stops at the first NUL or after maxBytes.
// Bytes that do not decode become U+FFFD.
QString ToQString(const char* bytes, std::size_t maxBytes = std::string::npos);
QString ToQString(const QByteArray& bytes);
// Text -> bytes in the code page. Characters the code page lacks become '?'.
QByteArray FromQString(const QString& text);

// The byte length of the character starting at p (1 to 4), given that at
// most `left` bytes follow; 1 for bytes that start no valid character.
std::size_t CharLength(const char* p, std::size_t left);
// The longest prefix of s[0..len) that is at most maxBytes long and does not
// end inside a multi-byte character.
std::size_t CutLength(const char* s, std::size_t len, std::size_t maxBytes);
// Copies a NUL-terminated (or `srcMax`-bounded) text into dst[dstSize],
// always terminated, cut on a character boundary. Returns the bytes copied.
std::size_t CopyText(char* dst, std::size_t dstSize, const char* src, std::size_t srcMax = std::string::npos);
// strnlen: the length of a text field that may lack its terminator.
std::size_t FieldLength(const char* field, std::size_t width);

// UCS-2 (UTF-16 little-endian, no BOM) conversions of code-page text.
QByteArray AnsiToUcs2(const char* s, std::size_t len);
QByteArray Ucs2ToAnsi(const char* ucs2, std::size_t bytes);

}  // namespace codepage
