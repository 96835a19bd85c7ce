#include "tools/camsim/CameraModel.h"

#include <algorithm>
#include <utility>

namespace vistrel::camsim {

namespace {

// A camera's line buffer is finite; what does not fit is dropped rather than kept without bound.
constexpr std::size_t kMaxLineLength = 4096;
constexpr std::size_t kOverlongAnswer = 250;

bool isDecimalNumber(const std::string& text) {
    std::size_t start = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    return text.size() > start && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(),
                                              [](char c) { return c >= '0' && c <= '9'; });
}

// Appends, dropping the older half once the records reach twice the number kept: amortised constant
// time, and the records stay a plain vector for their readers.
template <class Record> void keepRecent(std::vector<Record>& records, Record record) {
    if (records.size() >= 2 * CameraModel::kKeptRecords) {
        records.erase(records.begin(), records.end() - static_cast<std::ptrdiff_t>(CameraModel::kKeptRecords));
    }
    records.push_back(std::move(record));
}

} // namespace

CameraModel::CameraModel(SimCamera camera, FaultKnobs knobs) : m_camera(std::move(camera)), m_knobs(std::move(knobs)) {
    for (const SimControl& control : m_camera.controls)
        m_values.push_back(control.startValue);
}

bool CameraModel::ctsAsserted() const {
    switch (m_knobs.cts) {
    case FaultKnobs::Cts::Asserted:
        return !m_hungUp;
    case FaultKnobs::Cts::Low:
        return false;
    case FaultKnobs::Cts::DropAfter:
        return !m_hungUp && m_commands < m_knobs.ctsDropAfter;
    }
    return false;
}

int CameraModel::valueErrorNumber() const {
    if (m_knobs.valueError >= 0)
        return m_knobs.valueError;
    const std::vector<int>& numbers = m_camera.errorNumbers;
    if (std::find(numbers.begin(), numbers.end(), 2) != numbers.end())
        return 2;
    return numbers.empty() ? 0 : numbers.back();
}

int CameraModel::commandErrorNumber() const {
    if (m_knobs.commandError >= 0)
        return m_knobs.commandError;
    const std::vector<int>& numbers = m_camera.errorNumbers;
    if (std::find(numbers.begin(), numbers.end(), 1) != numbers.end())
        return 1;
    return numbers.empty() ? 0 : numbers.front();
}

std::string CameraModel::valueOf(char commandChar) const {
    int index = findControl(commandChar);
    return index < 0 ? std::string() : m_values[static_cast<std::size_t>(index)];
}

int CameraModel::findControl(char commandChar) const {
    for (std::size_t i = 0; i < m_camera.controls.size(); ++i) {
        if (!m_camera.controls[i].character.empty() && m_camera.controls[i].character[0] == commandChar)
            return static_cast<int>(i);
    }
    return -1;
}

bool CameraModel::accepts(const SimControl& control, const std::string& value) {
    if (std::find(control.allowed.begin(), control.allowed.end(), value) != control.allowed.end())
        return true;
    return control.kind == SimControl::Kind::List && isDecimalNumber(value);
}

std::string CameraModel::frame(const std::string& answer) const {
    return ">" + answer + "\r";
}

std::string CameraModel::answerFor(const std::string& line) {
    const std::string ack = frame(m_camera.ackText);
    if (line == m_camera.identCommand)
        return m_camera.modelLine + "\r" + ack;
    if (line == m_camera.configCommand) {
        std::string report;
        for (std::size_t i = 0; i < m_camera.controls.size(); ++i)
            report += m_camera.controls[i].character + "=" + m_values[i] + "\r";
        return report + ack;
    }
    if (line == m_camera.factoryCommand) {
        for (std::size_t i = 0; i < m_camera.controls.size(); ++i)
            m_values[i] = m_camera.controls[i].startValue;
        return ack;
    }
    if (line.size() >= 2 && line[1] == '=') {
        int index = findControl(line[0]);
        if (index >= 0 && m_camera.controls[static_cast<std::size_t>(index)].character != "-") {
            std::string value = line.substr(2);
            if (!accepts(m_camera.controls[static_cast<std::size_t>(index)], value))
                return frame(std::to_string(valueErrorNumber()));
            m_values[static_cast<std::size_t>(index)] = value;
            return ack;
        }
    }
    // A control whose character is "-" is sent its value alone.
    for (std::size_t i = 0; i < m_camera.controls.size(); ++i) {
        if (m_camera.controls[i].character == "-" && accepts(m_camera.controls[i], line)) {
            m_values[i] = line;
            return ack;
        }
    }
    return frame(std::to_string(commandErrorNumber()));
}

void CameraModel::appendPieces(Response& response, const std::string& bytes) const {
    const std::string nuls(static_cast<std::size_t>(std::max(0, m_knobs.nulBytes)), '\0');
    if (m_knobs.byteDelay.count() == 0) {
        std::string out;
        for (char c : bytes)
            out += nuls + c;
        if (!out.empty())
            response.pieces.push_back({m_knobs.answerDelay, out});
        return;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i)
        response.pieces.push_back({i == 0 ? m_knobs.answerDelay : m_knobs.byteDelay, nuls + bytes[i]});
}

Response CameraModel::receive(std::string_view bytes, Clock::time_point now) {
    Response response;
    if (m_hungUp || bytes.empty())
        return response;
    keepRecent(m_transcript, TranscriptEntry{std::chrono::duration_cast<Micros>(now - m_start), std::string(bytes)});
    for (char c : bytes) {
        if (c == '\n')
            continue; // a terminal's CR LF ends a line as CR does
        if (c != '\r') {
            if (m_pending.size() < kMaxLineLength)
                m_pending += c;
            continue;
        }
        std::string line = std::exchange(m_pending, std::string());
        keepRecent(m_lines, line);
        ++m_linesTaken;
        std::string answer = answerFor(line);
        ++m_commands;
        switch (m_knobs.answer) {
        case FaultKnobs::Answer::Normal:
            appendPieces(response, m_knobs.leadingBytes + answer);
            break;
        case FaultKnobs::Answer::Never:
            break;
        case FaultKnobs::Answer::WithoutCr:
            answer.pop_back();
            appendPieces(response, m_knobs.leadingBytes + answer);
            break;
        case FaultKnobs::Answer::Garbage:
            appendPieces(response, m_knobs.leadingBytes + "#?garbage\r");
            break;
        case FaultKnobs::Answer::Overlong:
            appendPieces(response, m_knobs.leadingBytes + ">" + std::string(kOverlongAnswer, 'x') + "\r");
            break;
        }
        if (m_knobs.hangUpAfter > 0 && m_commands >= m_knobs.hangUpAfter) {
            response.hangUp = true;
            m_hungUp = true;
            break;
        }
    }
    return response;
}

} // namespace vistrel::camsim
