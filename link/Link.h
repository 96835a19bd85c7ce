#pragma once

#include <string>

namespace vistrel {

// What one link operation gave: its result code, its status text and, for an exchange, the raw
// reply bytes as received (at most 200).
struct LinkResult {
    int result = 0;
    std::string status;
    std::string reply;
    // The line is gone (device unplugged, other end hung up): the link closed itself, and nothing
    // more should be attempted on it until it is opened again.
    bool lost = false;
    // A link that did not open: why, and what the user can do about it (empty when not known). Given
    // a default, so that a result written {result, status, reply} needs none.
    std::string reason{};
};

// The status text of a lost line.
inline constexpr const char* kTextConnexionLost = "Connexion lost";

// The one way to the camera. Every exchange, from the panel, the special commands, vistrelctl or
// a test, goes through this interface; the system implementation applies the link in use and the
// COM1/COM2 device mapping.
class Link {
public:
    virtual ~Link() = default;

    // Opens the link in use: Halvex32 on the serial device COM1 or COM2 stands for, at the link's
    // baud rate, or clSerialInit on the Camera Link port. result: 1 connected, -1 already
    // connected (counts as connected), 0 failed; status: the text for status bar pane 0
    // ("Connection OK", "Connexion Already Done", "Connexion OK", "Connexion Error", ...).
    virtual LinkResult open() = 0;

    // Sends `command` (without its carriage return) and collects the reply. `charDelayMs` paces an
    // RS-232 line and is ignored on Camera Link. result: the reply's length when one was
    // received, else 0 or a negative code; status: the link's text; reply: the raw bytes.
    virtual LinkResult exchange(const std::string& command, int charDelayMs) = 0;

    // Closes the link: "Connexion Closed" or "No Connexion to Close" in status. On Camera Link
    // only a channel that clSerialInit opened and that is still open is closed.
    virtual LinkResult close() = 0;

    // Tells, without blocking and without a byte on the line, whether the open link is still
    // there. result: 1 alive (also where a loss cannot be seen, as on Camera Link), 0 not open,
    // -1 lost ("Connexion lost", `lost` set; the link is then closed). Never called while another
    // operation of the link runs.
    virtual LinkResult checkLink() { return {1, {}, {}, false}; }
};

} // namespace vistrel
