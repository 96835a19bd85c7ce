#pragma once

#include <cstddef>
#include <string>

namespace vistrel::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; } // with a trailing '/'

    // Writes a file below the folder (bytes as given) and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::string m_path;
};

// How many entries a folder holds (0 when it cannot be listed).
std::size_t entriesOf(const std::string& folder);

} // namespace vistrel::test
