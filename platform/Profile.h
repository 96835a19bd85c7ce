#pragma once

#include "platform/FileResult.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vistrel {

// Private-profile (INI) files: "[section]" header lines and "key=value" lines.
//
// Names are compared without regard to ASCII case and with surrounding blanks ignored; the first
// matching section and the first matching key in it win. Values are taken with surrounding blanks
// removed, and a value in a matching pair of quotes is read without them. Lines starting with ';' are
// comments. LF, CR LF and a lone CR each end a line; a leading UTF-8 byte-order mark is skipped. A
// rewritten file keeps its byte-order mark, its line ending style and every line not concerned byte
// for byte.

// Files above this size are read only up to it, and never rewritten (a rewrite would lose the rest).
inline constexpr std::size_t kProfileMaxBytes = 8U * 1024U * 1024U;

// Outcome of a write: on failure, the system's reason, and the old file is left as it was.
using ProfileResult = FileResult;

// --- Reading from bytes in memory ---

// The value of `key` in `section`, or `defaultValue` when the key is absent; cut to `capacity` - 1
// bytes, as into a caller buffer of `capacity` bytes (capacity 0 gives an empty text).
std::string readProfileString(std::string_view contents, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t capacity);

// The value of `key` as an integer: leading blanks, an optional sign, then the leading decimal digits
// (none gives 0; beyond the int range the nearest limit). `defaultValue` when the key is absent or
// its value is empty.
int readProfileInt(std::string_view contents, std::string_view section, std::string_view key, int defaultValue);

// Leading-digits conversion used by readProfileInt, for values already read as text.
int profileTextToInt(std::string_view text);

// --- Editing bytes in memory ---

// Sets `key` in `section`: replaces the first matching key line where it stands, or appends a new
// line after the section's last non-blank line, or appends the section at the end of the contents.
// Names and values must not hold line breaks, and names no '=' or ']' (checked by the file writers).
std::string withProfileString(std::string_view contents, std::string_view section, std::string_view key,
                              std::string_view value);

// Removes every section named `section`: header and all lines up to the next header.
std::string withoutProfileSection(std::string_view contents, std::string_view section);

// Empty when the name can be written as a section or key name, else why not.
std::string profileNameProblem(std::string_view name);
// Empty when the text can be written as a value, else why not.
std::string profileValueProblem(std::string_view value);

// --- Files ---

// The file's bytes (at most kProfileMaxBytes). `exists` is false when it cannot be opened for reading
// or is no regular file (a FIFO or a device is never read, so it cannot block).
std::string loadProfile(const std::string& path, bool* exists = nullptr);

std::string getProfileString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue, std::size_t capacity);
int getProfileInt(const std::string& path, std::string_view section, std::string_view key, int defaultValue);

// One key write, creating the file and the section when missing. Atomic.
ProfileResult writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                                 std::string_view value);

// Reads the whole current file for an edit of several steps; fails when the file exists but cannot
// be read whole (unreadable, no regular file, or larger than kProfileMaxBytes), so a rewrite never
// loses anything and never replaces a FIFO or a device.
ProfileResult readProfileForEdit(const std::string& path, std::string& contents);

} // namespace vistrel
