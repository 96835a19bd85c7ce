#pragma once

namespace vistrel {

// The one document of the run. It holds no data: the program never opens or saves a document
// file, and "Open" runs the camera configuration instead.
class CCommDoc {
public:
    bool OnNewDocument() { return true; }
};

} // namespace vistrel
