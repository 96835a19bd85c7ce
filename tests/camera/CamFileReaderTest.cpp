#include "camera/CamFileReader.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"

namespace vistrel {
namespace {

class CamFileReaderTest : public ::testing::Test {
protected:
    // Writes the file and looks one key up in it; `out` starts as a marker.
    int read(const std::string& contents, const std::string& section, const std::string& key) {
        const std::string path = m_dir.write("camera.cam", contents);
        m_out = "marker";
        return ReadCamKey(path, section, key, m_out);
    }

    test::TempDir m_dir;
    std::string m_out;
};

TEST_F(CamFileReaderTest, MatchesSectionsAndKeysWithoutRegardToCase) {
    const std::string file = "[special cmd]\n"
                             "cameraident = !=0\n"
                             "[combobox1]  remark after the bracket\n"
                             "title = Gain Low\n";
    EXPECT_EQ(read(file, "ComboBox1", "Title"), 9);
    EXPECT_EQ(m_out, " Gain Low") << "leading blank and case of the value are kept";
    EXPECT_EQ(read(file, "Special Cmd", "CameraIdent"), 4);
    EXPECT_EQ(m_out, " !=0");

    // The key is a substring of the whole upper-cased line, value included.
    const std::string shadowed = "[ComboBox1]\nValue10=ten\nValue1=one\nText1=A Title here\nTitle=Real\n";
    EXPECT_EQ(read(shadowed, "ComboBox1", "Value1"), 3);
    EXPECT_EQ(m_out, "ten");
    EXPECT_EQ(read(shadowed, "ComboBox1", "Title"), 12);
    EXPECT_EQ(m_out, "A Title here");

    // Only the first section of a name is searched.
    EXPECT_EQ(read("[Check1]\nTitle=first\n[Check1]\nCharacter=C\n", "Check1", "Character"), 0);
    EXPECT_EQ(m_out, "");

    // No comment syntax: a semicolon line of key form is a key line.
    EXPECT_EQ(read("[Check1]\n;Title=commented\nTitle=real\n", "Check1", "Title"), 9);
    EXPECT_EQ(m_out, "commented");

    // A line holding the key but no "=", or "=" first, is passed over.
    EXPECT_EQ(read("[Check1]\nTitle\n=Title\nTitle=real\n", "Check1", "Title"), 4);
    EXPECT_EQ(m_out, "real");

    // The section pattern must be whole: "[Check1" without "]" does not open it.
    EXPECT_EQ(read("[Check1\nTitle=x\n", "Check1", "Title"), 0);
    EXPECT_EQ(m_out, "");
}

TEST_F(CamFileReaderTest, BracketAnywhereEndsTheSection) {
    const std::string file = "[ComboBox1]\n"
                             "Title=Gain [dB]\n"
                             "Character=G\n"
                             "[ComboBox2]\n"
                             "Character=H\n";
    EXPECT_EQ(read(file, "ComboBox1", "Title"), 9) << "the line with [ is still its own key's line";
    EXPECT_EQ(m_out, "Gain [dB]");
    EXPECT_EQ(read(file, "ComboBox1", "Character"), 0);
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(read(file, "ComboBox2", "Character"), 1);
    EXPECT_EQ(m_out, "H");
    // A bracket line that holds the key without "=" ends the section.
    EXPECT_EQ(read("[Check1]\n[Title]\nTitle=x\n", "Check1", "Title"), 0);
    // End of file inside the section, and a missing section.
    EXPECT_EQ(read("[Check1]\nCharacter=C", "Check1", "Title"), 0);
    EXPECT_EQ(read("[Check1]\nTitle=C\n", "Check2", "Title"), 0);
    EXPECT_EQ(m_out, "");
}

TEST_F(CamFileReaderTest, ValuesLoseTrailingBlanksAndLineEnds) {
    EXPECT_EQ(read("[A]\nK=v  \n", "A", "K"), 1);
    EXPECT_EQ(m_out, "v");
    EXPECT_EQ(read("[A]\nK=\tv\t\n", "A", "K"), 3) << "tabs stay";
    EXPECT_EQ(m_out, "\tv\t");
    EXPECT_EQ(read("[A]\nK=\n", "A", "K"), 0);
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(read("[A]\nK=    \n", "A", "K"), 0);
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(read("[A]\r\nK=a=b \r\n", "A", "K"), 3) << "CR LF read as LF, value after the first =";
    EXPECT_EQ(m_out, "a=b");
    EXPECT_EQ(read("[A]\nK=last", "A", "K"), 4) << "no line feed at end of file";
    EXPECT_EQ(m_out, "last");
    EXPECT_EQ(read("[A]\nK=cr\r\r\n", "A", "K"), 3) << "only the CR before the LF goes";
    EXPECT_EQ(m_out, "cr\r");
}

TEST_F(CamFileReaderTest, LongLinesAreReadInPiecesOf99) {
    // 150 characters: a piece of 99 and one of 51; each piece is a line of its own to the reader.
    const std::string head = "K=" + std::string(97, 'a');
    const std::string tail = "Z=" + std::string(49, 'b');
    EXPECT_EQ(read("[A]\n" + head + tail + "\n", "A", "K"), 97);
    EXPECT_EQ(m_out, std::string(97, 'a'));
    EXPECT_EQ(read("[A]\n" + head + tail + "\n", "A", "Z"), 49);
    EXPECT_EQ(m_out, std::string(49, 'b'));

    // A bracket in the second piece ends the section for the lines after it.
    EXPECT_EQ(read("[A]\n" + std::string(99, 'x') + "[\nK=v\n", "A", "K"), 0);
    // 98 characters plus CR LF is still one piece; 99 plus CR LF leaves the line feed to a second.
    EXPECT_EQ(read("[A]\nK=" + std::string(96, 'c') + "\r\nZ=1\n", "A", "Z"), 1);
    EXPECT_EQ(read("[A]\nK=" + std::string(97, 'c') + "\r\nZ=1\n", "A", "K"), 97);
    // A section line longer than 99 characters: its own rest is the first line after it.
    EXPECT_EQ(read(std::string(95, ' ') + "[A]" + std::string(10, ' ') + "K=split\n", "A", "K"), 5);
    EXPECT_EQ(m_out, "split");
    // A section pattern cut by the piece boundary is not found.
    EXPECT_EQ(read(std::string(97, ' ') + "[A]\nK=v\n", "A", "K"), 0);
}

TEST_F(CamFileReaderTest, UnopenableFileLeavesTheVariableAlone) {
    std::string out = "kept";
    EXPECT_EQ(ReadCamKey(m_dir.path() + "missing.cam", "A", "K", out), 0);
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(ReadCamKey(m_dir.path(), "A", "K", out), 0) << "a directory cannot be opened";
    EXPECT_EQ(out, "kept");
}

TEST_F(CamFileReaderTest, LookupReportsWhereItStopped) {
    const std::string path = m_dir.write("c.cam", "[A]\nK=v\nX=[\n" + std::string(120, 'y') + "L=w\n");
    CamKeyLookup found = LookupCamKey(path, "A", "K");
    EXPECT_EQ(found.outcome, CamKeyLookup::Outcome::Found);
    EXPECT_EQ(found.sectionOffset, 0);
    EXPECT_EQ(found.lineOffset, 4);
    EXPECT_EQ(found.piece, "K=v");
    CamKeyLookup ended = LookupCamKey(path, "A", "L");
    EXPECT_EQ(ended.outcome, CamKeyLookup::Outcome::SectionEnded);
    EXPECT_EQ(ended.lineOffset, 8);
    EXPECT_EQ(LookupCamKey(path, "B", "K").outcome, CamKeyLookup::Outcome::NoSection);
    EXPECT_EQ(LookupCamKey(path, "X", "L").outcome, CamKeyLookup::Outcome::NoSection);
}

} // namespace
} // namespace vistrel
