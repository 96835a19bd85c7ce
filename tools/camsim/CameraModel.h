#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::camsim {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::microseconds;

// One control of the simulated camera: the command character is the first character of
// `character`, which is also the key of its line in the settings report.
struct SimControl {
    enum class Kind { Combo, Check, List };
    Kind kind = Kind::Combo;
    std::string character;
    std::vector<std::string> allowed; // drop-down and check values; empty for a list (any decimal number)
    std::string startValue;           // value at power-up and after the factory command
};

// What the camera knows, taken from a camera description file.
struct SimCamera {
    std::string identCommand = "!=0";
    std::string configCommand = "!=3";
    std::string factoryCommand = "!=4";
    std::string ackText = "OK";
    std::string modelLine = "CamSim";
    std::vector<int> errorNumbers; // numbers whose text the description defines, ascending
    std::vector<SimControl> controls;
};

// The smallest camera worth talking to, for tests and figures: "CamSim Demo", one drop-down list G
// (0, 1, 2), error texts 0 to 2.
inline SimCamera GainOnlyCamera() {
    SimCamera camera;
    camera.modelLine = "CamSim Demo";
    camera.errorNumbers = {0, 1, 2};
    camera.controls = {{SimControl::Kind::Combo, "G", {"0", "1", "2"}, "0"}};
    return camera;
}

// Builds a SimCamera from a .cam file with the program's own description reader. Returns false,
// with a message in `error`, when the file cannot be read.
bool LoadSimCamera(const std::string& camPath, SimCamera& camera, std::string& error);

// Ways the camera can misbehave, for tests and demonstrations. Defaults: a camera that answers at once.
struct FaultKnobs {
    enum class Answer {
        Normal,
        Never,     // swallow the command, answer nothing
        WithoutCr, // the answer stops before its closing CR
        Garbage,   // bytes and a CR, but no ">"
        Overlong,  // ">" then more than 200 bytes before the CR
    };
    enum class Cts {
        Asserted,
        Low,       // never asserted
        DropAfter, // falls after `ctsDropAfter` commands
    };
    Answer answer = Answer::Normal;
    Micros answerDelay{0};    // pause between the command's CR and the first byte of the answer
    Micros byteDelay{0};      // pause before each further byte of the answer
    std::string leadingBytes; // sent before the ">" of every answer
    int nulBytes = 0;         // NUL bytes sent before every byte of an answer
    int hangUpAfter = 0;      // hang up after answering this many commands; 0: never
    Cts cts = Cts::Asserted;
    int ctsDropAfter = 0;
    int valueError = -1;   // error number for a refused value; -1: chosen from the description
    int commandError = -1; // error number for an unknown command; -1: chosen from the description
};

// A piece of an answer: `bytes` go out `after` the previous piece (the first piece: after the CR of
// the command arrived).
struct TimedBytes {
    Micros after{0};
    std::string bytes;
};

// What the camera sends in return for some received bytes.
struct Response {
    std::vector<TimedBytes> pieces;
    bool hangUp = false; // end the link once the pieces are out
};

// Everything received, as it came, with the time since the model was made.
struct TranscriptEntry {
    Micros at{0};
    std::string bytes;
};

// A camera that speaks the line protocol: bytes in, timed bytes out. It knows nothing of how the
// bytes travel, so a pseudo-terminal server and a simulated Camera Link library can both carry it.
// Not thread-safe: whoever drives it serialises the calls.
class CameraModel {
public:
    explicit CameraModel(SimCamera camera, FaultKnobs knobs = {});

    // Takes bytes as they arrived; every line completed by a CR is answered, in order.
    Response receive(std::string_view bytes, Clock::time_point now = Clock::now());

    bool ctsAsserted() const;
    bool hungUp() const { return m_hungUp; }
    int commandsAnswered() const { return m_commands; }

    // The most recent pieces received and command lines taken (without the CR), oldest first: at
    // least the last kKeptRecords of each and never twice as many, so a long run keeps a bounded
    // memory. A complete record goes to the receive hook of the server, which may stream it to a file.
    static constexpr std::size_t kKeptRecords = 1000;
    const std::vector<TranscriptEntry>& transcript() const { return m_transcript; }
    Clock::time_point startedAt() const { return m_start; } // what transcript times count from
    const std::vector<std::string>& lines() const { return m_lines; }
    std::size_t linesTaken() const { return m_linesTaken; } // every command line since the start
    // Current value of the control with this command character; empty when there is none.
    std::string valueOf(char commandChar) const;

    const SimCamera& camera() const { return m_camera; }
    const FaultKnobs& knobs() const { return m_knobs; }
    void setKnobs(const FaultKnobs& knobs) { m_knobs = knobs; }

    // The number a refused value and an unknown command answer with.
    int valueErrorNumber() const;
    int commandErrorNumber() const;

private:
    std::string answerFor(const std::string& line);
    std::string frame(const std::string& answer) const;
    void appendPieces(Response& response, const std::string& bytes) const;
    int findControl(char commandChar) const;
    static bool accepts(const SimControl& control, const std::string& value);

    SimCamera m_camera;
    FaultKnobs m_knobs;
    std::vector<std::string> m_values;
    std::string m_pending;
    std::vector<TranscriptEntry> m_transcript;
    std::vector<std::string> m_lines;
    std::size_t m_linesTaken = 0;
    Clock::time_point m_start = Clock::now();
    int m_commands = 0;
    bool m_hungUp = false;
};

} // namespace vistrel::camsim
