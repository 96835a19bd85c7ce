#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vistrel {

// Longest piece of a line that one read takes; a longer line is read as several pieces.
inline constexpr int kCamPieceLength = 99;

// What one key lookup met on its way through the file. Offsets are raw byte offsets in the file,
// so that a lint can turn them into line numbers afterwards without slowing the lookup down.
struct CamKeyLookup {
    enum class Outcome {
        CannotOpen,   // not a readable regular file
        NoSection,    // end of file before the section line
        SectionEnded, // a line with "[" ended the section before the key
        EndOfSection, // end of file inside the section before the key
        Found,        // the key line was found; value may still be empty
    };
    Outcome outcome = Outcome::CannotOpen;
    std::string value;               // the value as returned, trailing blanks removed
    std::int64_t sectionOffset = -1; // start of the piece that opened the section
    std::int64_t lineOffset = -1;    // start of the key piece, or of the piece that ended the section
    std::string piece;               // that piece as written, without its line feed
    bool continuation = false;       // that piece is not the start of its line (line longer than 99)
};

// One lookup: opens the file, scans it from the top for the first section named `section` and the
// first line in it that holds `key`, closes it again. Names compare without regard to ASCII case.
CamKeyLookup LookupCamKey(const std::string& camFilePath, std::string_view section, std::string_view key);

// The reader every camera value goes through. Returns the value's length with `out` set to it;
// 0 with `out` emptied when the key is missing or empty; 0 with `out` untouched when the file
// cannot be opened (a directory, device or pipe counts as a file that cannot be opened).
int ReadCamKey(const std::string& camFilePath, std::string_view section, std::string_view key, std::string& out);

} // namespace vistrel
