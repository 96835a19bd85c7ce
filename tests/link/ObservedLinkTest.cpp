// Every operation of the program's link heard by its observers, over the camera simulator on a
// pseudo-terminal, and each as the JSON line of a transcript.
#include "link/ObservedLink.h"
#include "link/LinkWords.h"
#include "link/SystemLink.h"
#include "link/TranscriptJson.h"
#include "tools/camsim/SimServer.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace vistrel {
namespace {

struct Heard : LinkObserver {
    void onLinkEvent(const LinkEvent& event) override { events.push_back(event); }
    std::vector<LinkEvent> events;
};

TEST(ObservedLink, EveryOperationAndTheLossReachEachObserverAsAJsonLine) {
    std::string error;
    const auto server = camsim::SimServer::openPty(camsim::CameraModel(camsim::GainOnlyCamera()), error);
    ASSERT_TRUE(server) << error;
    server->start();
    LinkState state;
    state.LinkBaudRate = 9600;
    state.ComDevice[0] = server->devicePath();
    SystemLink system(state);
    ObservedLink link(system, state);
    Heard first, second;
    link.addObserver(first);
    link.addObserver(second);

    const auto before = std::chrono::system_clock::now();
    EXPECT_EQ(link.open().result, 1);
    EXPECT_EQ(link.exchange(std::string("G=\xff\x01", 4), 0).result, 3); // refused: ">2\r"
    EXPECT_EQ(link.exchange("G=2", 0).reply, ">OK\r");
    EXPECT_EQ(link.checkLink().result, 1);
    server->hangUp();
    const LinkResult lost = link.exchange("G=1", 0);
    EXPECT_TRUE(lost.lost);
    EXPECT_EQ(link.checkLink().result, 0);
    EXPECT_EQ(link.close().status, "No Connexion to Close");

    const std::string words = "COM1 " + server->devicePath() + " 9600 bd";
    struct Row {
        const char* op;
        const char* command; // null: none
        const char* reply;
        int result;
        const char* status;
    };
    const std::vector<Row> rows = {
        {"open", nullptr, nullptr, 1, "Connection OK"},
        {"exchange", "G=\u00ff\u0001", ">2\r", 3, "Sending & Receipt OK"},
        {"exchange", "G=2", ">OK\r", 4, "Sending & Receipt OK"},
        {"exchange", "G=1", "", -2, "Connexion lost"},
        {"lost", nullptr, nullptr, -1, "Connexion lost"},
        {"close", nullptr, nullptr, 0, "No Connexion to Close"},
    };
    ASSERT_EQ(first.events.size(), rows.size());
    ASSERT_EQ(second.events.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LinkEvent& event = first.events[i];
        EXPECT_EQ(transcriptJsonLine(event), transcriptJsonLine(second.events[i]));
        const auto json = nlohmann::ordered_json::parse(transcriptJsonLine(event));
        std::vector<std::string> keys;
        for (const auto& item : json.items()) {
            keys.push_back(item.key());
        }
        std::vector<std::string> wanted = {"time", "op", "link", "result", "status", "ms"};
        if (rows[i].command) {
            wanted.insert(wanted.begin() + 3, {"command", "reply"});
        }
        EXPECT_EQ(keys, wanted) << i;
        EXPECT_EQ(json["op"], rows[i].op);
        EXPECT_EQ(json["link"], words);
        EXPECT_EQ(json["result"], rows[i].result) << i;
        EXPECT_EQ(json["status"], rows[i].status) << i;
        if (rows[i].command) {
            EXPECT_EQ(json["command"], rows[i].command);
            EXPECT_EQ(json["reply"], rows[i].reply);
        }
        EXPECT_GE(event.startUtcMs,
                  std::chrono::duration_cast<std::chrono::milliseconds>(before.time_since_epoch()).count());
        EXPECT_EQ(json["time"], utcTimeText(event.startUtcMs));
        EXPECT_GE(json["ms"].get<double>(), 0.0);
    }
    EXPECT_EQ(server->lines().size(), 2u);
}

TEST(TranscriptJson, TimesAndLinksInWords) {
    EXPECT_EQ(utcTimeText(1796794272345), "2026-12-09T05:31:12.345Z");
    EXPECT_EQ(utcTimeText(0), "1970-01-01T00:00:00.000Z");
    EXPECT_EQ(utcTimeText(951782400999), "2000-02-29T00:00:00.999Z");
    EXPECT_EQ(utcTimeText(-1), "1969-12-31T23:59:59.999Z");
    LinkState state;
    state.LinkKind = kLinkCom2;
    state.LinkBaudRate = 38400;
    state.ComDevice[1] = "/dev/ttyUSB0";
    EXPECT_EQ(linkInWords(state), "COM2 /dev/ttyUSB0 38400 bd");
    state.LinkKind = kLinkCameraLink;
    state.CameraLinkLibraryPath = "/opt/grabber/lib/libclserxyz.so";
    EXPECT_EQ(linkInWords(state), "Camera Link port 0 (libclserxyz.so)");
    // A status in Latin-1 still makes valid JSON; milliseconds keep a decimal.
    LinkEvent event;
    event.op = LinkOp::Open;
    event.status = "Fehler \xe4";
    event.duration = std::chrono::microseconds(27400);
    const std::string line = transcriptJsonLine(event);
    EXPECT_EQ(nlohmann::json::parse(line)["status"], "Fehler \u00e4");
    EXPECT_NE(line.find("\"ms\":27.4}"), std::string::npos) << line;
    event.duration = std::chrono::nanoseconds(1049600);
    EXPECT_NE(transcriptJsonLine(event).find("\"ms\":1.05}"), std::string::npos);
}

} // namespace
} // namespace vistrel
