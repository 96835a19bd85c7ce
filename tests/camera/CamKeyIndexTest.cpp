#include "camera/CamKeyIndex.h"
#include "camera/CamFileLint.h"
#include "camera/CamFileLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "support/TempDir.h"

namespace vistrel {
namespace {

using namespace std::string_literals;

// Every section asked for with every key, through one index, each answer against the per-file
// reader on the same file.
void expectSameAsReader(const std::string& path, const std::vector<std::string>& sections,
                        const std::vector<std::string>& keys) {
    std::optional<CamFileSnapshot> snapshot = CamFileSnapshot::read(path);
    ASSERT_TRUE(snapshot.has_value()) << path;
    CamKeyIndex index(std::move(*snapshot));
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            SCOPED_TRACE(path + " [" + section + "] " + key);
            const CamKeyLookup indexed = index.lookup(section, key);
            const CamKeyLookup scanned = LookupCamKey(path, section, key);
            EXPECT_EQ(indexed.outcome, scanned.outcome);
            EXPECT_EQ(indexed.value, scanned.value);
            EXPECT_EQ(indexed.sectionOffset, scanned.sectionOffset);
            EXPECT_EQ(indexed.lineOffset, scanned.lineOffset);
            EXPECT_EQ(indexed.piece, scanned.piece);
            EXPECT_EQ(indexed.continuation, scanned.continuation);
        }
    }
}

std::string valueOf(const std::string& path, const std::string& section, const std::string& key) {
    std::optional<CamFileKeys> keys = CamFileKeys::open(path);
    std::string out = "untouched";
    if (keys) {
        keys->read(section, key, out);
    }
    return out;
}

TEST(CamKeyIndex, AnswersAsThePerFileReaderOnTrickyFiles) {
    test::TempDir dir;
    const std::string pad(97, 'p');
    const std::vector<std::pair<std::string, std::string>> files = {
        // Lines cut at 99: a key in the second piece, a "[" that only the second piece holds, a
        // CR LF falling either side of the cut.
        {"long.cam", "[A]\nTitle=" + pad + "Value2=second piece\nK=" + pad + "[\nValue1=" + std::string(90, 'x') +
                         "\r\n" + std::string(98, 'y') + "\r\nValue3=" + std::string(91, 'z') + "\r\n[B]\n"},
        // Case of sections and keys, duplicates, a later section of the same name.
        {"case.cam", "[a]\ntitle = low \nTITLE=up\n[A] remark\nTitle=second\n[b][c]\ncharacter=bc\n"},
        // Numbered keys: Value10 first, leading zeros, a word inside another, gaps.
        {"numbers.cam", "[ListBox1]\nValue01=zero-one\nValue10=ten\nValue1=one\nValue0=zero\nMyValue2=mine\n"
                        "Value123456789012345678901=long\nvalue3\t=tab\n=Value4\nValue5\n[ListBox2]\nValue1=b\n"},
        // NUL bytes: in a section line, before a "[", after an "=".
        {"nul.cam", "[A\0]\n[B]\0x\nK=ab\0cd\nL\0=x\nM=[\0\nN=n\n[C]\nValue1\0=1\nValue2=2\0[\n"s},
        // CR handling: CR CR LF, a lone CR, a CR at the end of the file, padding before the first bracket.
        {"cr.cam", std::string(3000, 'q') + "\r\n\r\n[A]\r\nK=one\r\r\nL=two\rM=three\r\nN=four\r"},
        // Brackets in section names, an empty name, sections on one line.
        {"brackets.cam", "[[A]]\nK=inner\n[]\nK=empty\n[x]y]\nK=closing\n[P][Q]\nK=pq\n"},
    };
    const std::vector<std::string> sections = {"A", "a", "B",        "C",        "[A", "",       "x]y",
                                               "P", "Q", "ListBox1", "ListBox2", "b",  "Missing"};
    const std::vector<std::string> keys = {
        "Title",  "Character", "K",      "L",       "M",      "N",      "Value1",  "Value2",
        "Value3", "Value10",   "Value0", "Value01", "Value4", "Value5", "Value12", "Value123456789012",
        "",       "E\n"};
    for (const auto& [name, contents] : files) {
        expectSameAsReader(dir.write(name, contents), sections, keys);
    }

    // A few answers spelled out, so that a rule both readers got wrong would show.
    const std::string numbers = dir.path() + "numbers.cam";
    EXPECT_EQ(valueOf(numbers, "ListBox1", "Value1"), "ten");
    EXPECT_EQ(valueOf(numbers, "ListBox1", "Value0"), "zero-one");
    EXPECT_EQ(valueOf(numbers, "ListBox1", "Value2"), "mine");
    EXPECT_EQ(valueOf(numbers, "ListBox1", "Value3"), "tab");
    EXPECT_EQ(valueOf(numbers, "ListBox1", "Value12345678901234567"), "long");
    EXPECT_EQ(valueOf(numbers, "listbox2", "VALUE1"), "b");
    EXPECT_EQ(valueOf(dir.path() + "case.cam", "A", "Title"), " low");
    EXPECT_EQ(valueOf(dir.path() + "long.cam", "A", "Value2"), "second piece");
    EXPECT_EQ(valueOf(dir.path() + "cr.cam", "A", "L"), "two\rM=three");
    EXPECT_EQ(valueOf(dir.path() + "brackets.cam", "x]y", "K"), "closing");
}

TEST(CamKeyIndex, OneSnapshotOfARegularFile) {
    test::TempDir dir;
    const std::string path = dir.write("a.cam", "[A]\nK=before\n");
    std::optional<CamFileKeys> keys = CamFileKeys::open(path);
    ASSERT_TRUE(keys.has_value());
    dir.write("a.cam", "[A]\nK=after\n");
    std::string out;
    EXPECT_EQ(keys->read("A", "K", out), 6);
    EXPECT_EQ(out, "before") << "every read answers from the file as it was opened";

    const std::string fifo = dir.path() + "pipe.cam";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(CamFileKeys::open(fifo).has_value()) << "a FIFO is refused without blocking";
    EXPECT_FALSE(CamFileKeys::open(dir.path()).has_value());
    EXPECT_FALSE(CamFileKeys::open(dir.path() + "none.cam").has_value());
    EXPECT_FALSE(CamFileKeys::open("/dev/null").has_value());
    // A file whose bytes cannot be read counts as one that cannot be opened, not as an empty one.
    EXPECT_FALSE(CamFileKeys::open("/proc/self/mem").has_value());

    std::optional<CamFileKeys> empty = CamFileKeys::open(dir.write("empty.cam", ""));
    ASSERT_TRUE(empty.has_value());
    out = "old";
    EXPECT_EQ(empty->read("A", "K", out), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(empty->lastLookup().outcome, CamKeyLookup::Outcome::NoSection);
}

TEST(CamKeyIndex, LintLinesComeFromSnapshotOffsets) {
    // CR LF lines before and after the first bracket: each dropped CR shifts the offsets after it.
    test::TempDir dir;
    const std::string path = dir.write("lint.cam", "pad\r\npad\r\npad\r\n[ComboBox1]\r\nCharacter=C\r\nValue10=ten\r\n"
                                                   "Value1=one\r\nText1=t\r\n");
    const LintedCamera linted = lintCamFile(path);
    ASSERT_EQ(linted.warnings.size(), 1U);
    EXPECT_EQ(linted.warnings[0].line, 6);
    EXPECT_NE(linted.warnings[0].message.find("\"Value10\""), std::string::npos) << linted.warnings[0].message;
}

} // namespace
} // namespace vistrel
