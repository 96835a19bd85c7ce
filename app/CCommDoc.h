#pragma once

#include <string>

namespace vistrel {

// The one document of the run. It holds no data: the program never opens or saves a document
// file, and "Open" runs the camera configuration instead. Its title names the loaded description;
// the frame's caption does not show it.
class CCommDoc {
public:
    bool OnNewDocument() { return true; }

    void SetTitle(std::string title) { m_title = std::move(title); }
    const std::string& GetTitle() const { return m_title; }

private:
    std::string m_title;
};

} // namespace vistrel
