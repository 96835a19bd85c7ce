#include "camera/CamPieceReader.h"
#include "camera/CamFileReader.h"
#include "support/TempDir.h"
#include "support/TimeLimit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vistrel {
namespace {

using test::ChildOutcome;
using test::runWithTimeLimit;

// A pipe is refused without blocking; a file whose bytes cannot be read (/proc/self/mem fails with
// EIO) counts as one that cannot be opened, not as an empty file with its keys missing.
TEST(CamPieceReader, SpecialFilesNeitherBlockNorReadAsAnEmptyFile) {
    test::TempDir dir;
    const std::string fifo = dir.path() + "fifo.cam";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(runWithTimeLimit(5,
                               [&] {
                                   std::string out = "kept";
                                   return ReadCamKey(fifo, "A", "K", out) == 0 && out == "kept";
                               }),
              ChildOutcome::Passed);

    CamPieceReader reader;
    EXPECT_FALSE(reader.open("/proc/self/mem"));
    std::string_view piece;
    EXPECT_FALSE(reader.next(piece));
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(LookupCamKey("/proc/self/mem", "A", "K").outcome, CamKeyLookup::Outcome::CannotOpen);
    std::string out = "kept";
    EXPECT_EQ(ReadCamKey("/proc/self/mem", "A", "K", out), 0);
    EXPECT_EQ(out, "kept");

    // A file that reads to its end has not failed.
    const std::string plain = dir.write("plain.cam", "[A]\nK=v\n");
    CamPieceReader whole;
    ASSERT_TRUE(whole.open(plain));
    while (whole.next(piece)) {
    }
    EXPECT_FALSE(whole.failed());
}

} // namespace
} // namespace vistrel
