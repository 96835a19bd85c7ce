#include "platform/Profile.h"
#include "platform/AtomicReplace.h"
#include "support/TempDir.h"
#include "support/TimeLimit.h"

#include <climits>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utility>

namespace vistrel {
namespace {

using test::TempDir;

TEST(Profile, ReadsStringsWithCaseInsensitiveNamesFirstMatchAndCapacity) {
    const std::string ini = "; comment=1\n"
                            "[common]\n"
                            "  Camera File =  my cam.cam  \n"
                            "no equals sign here\n"
                            "camera file=second.cam\n"
                            "Empty=\n"
                            "[Other]\n"
                            "Camera File=other.cam\n"
                            "[COMMON]\n"
                            "Late=ignored, the first section wins\n";
    EXPECT_EQ(readProfileString(ini, "Common", "CAMERA FILE", "-", 100), "my cam.cam");
    EXPECT_EQ(readProfileString(ini, " Other ", "camera file", "-", 100), "other.cam");
    EXPECT_EQ(readProfileString(ini, "Common", "Empty", "-", 100), "");
    EXPECT_EQ(readProfileString(ini, "Common", "Late", "-", 100), "-");
    EXPECT_EQ(readProfileString(ini, "Common", "no equals sign here", "-", 100), "-");
    EXPECT_EQ(readProfileString(ini, "Missing", "Camera File", "dflt", 100), "dflt");
    EXPECT_EQ(readProfileString(ini, "Common", "; comment", "-", 100), "-");

    // Cut to capacity - 1, defaults included.
    EXPECT_EQ(readProfileString(ini, "Common", "Camera File", "-", 4), "my ");
    EXPECT_EQ(readProfileString(ini, "Common", "Absent", "abcdef", 3), "ab");
    EXPECT_EQ(readProfileString(ini, "Common", "Camera File", "-", 1), "");
    EXPECT_EQ(readProfileString(ini, "Common", "Camera File", "-", 0), "");
    const std::string longValue(150, 'v');
    EXPECT_EQ(readProfileString("[s]\nk=" + longValue + "\n", "s", "k", "", 100), std::string(99, 'v'));
}

TEST(Profile, ReadsIntegersFromLeadingDigits) {
    const std::string ini = "[S]\r\na=  42abc\r\nb=-17\r\nc=+8\r\nd=letters\r\ne=\r\nf=99999999999999999999\r\n"
                            "g=-99999999999999999999\r\nh=- 5\r\n";
    const std::pair<const char*, int> expected[] = {{"a", 42},      {"b", -17},  {"c", 8},
                                                    {"d", 0},       {"e", 9600}, {"f", INT_MAX},
                                                    {"g", INT_MIN}, {"h", 0},    {"missing", 9600}};
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(readProfileInt(ini, "s", key, 9600), value) << key;
    }
    EXPECT_EQ(readProfileInt(ini, "nosection", "a", -3), -3);
}

TEST(Profile, EditsReplaceInPlaceAppendAtSectionEndAndKeepOtherBytes) {
    const std::string ini = "[A]\n"
                            "x = 1 \n"
                            "  ; kept comment\n"
                            "y=2\n"
                            "\n"
                            "[B]\n"
                            "z=3";
    // In place, the key keeps its spelling; nothing else moves.
    EXPECT_EQ(withProfileString(ini, "a", "X", "10"), "[A]\nx=10\n  ; kept comment\ny=2\n\n[B]\nz=3");
    // New key after the section's last non-blank line, before the blank separator.
    EXPECT_EQ(withProfileString(ini, "A", "w", "4"), "[A]\nx = 1 \n  ; kept comment\ny=2\nw=4\n\n[B]\nz=3");
    // Last section without a final line break.
    EXPECT_EQ(withProfileString(ini, "B", "q", ""), "[A]\nx = 1 \n  ; kept comment\ny=2\n\n[B]\nz=3\nq=\n");
    // New section at the end.
    EXPECT_EQ(withProfileString(ini, "C", "k", "v"), ini + "\n[C]\nk=v\n");
    EXPECT_EQ(withProfileString("", "Common", "Version", "6.5.0"), "[Common]\nVersion=6.5.0\n");
    // CRLF files stay CRLF; an empty section gets its key right under the header.
    const std::string crlf = "[Empty]\r\n\r\n[B]\r\nz=3\r\n";
    EXPECT_EQ(withProfileString(crlf, "empty", "k", "v"), "[Empty]\r\nk=v\r\n\r\n[B]\r\nz=3\r\n");
    EXPECT_EQ(withProfileString(crlf, "New", "k", "v"), crlf + "[New]\r\nk=v\r\n");
    EXPECT_EQ(withProfileString(crlf, "B", "Z", "4"), "[Empty]\r\n\r\n[B]\r\nz=4\r\n");

    // Section delete removes every occurrence, with all its lines, and keeps the rest.
    const std::string dup = "[Last use]\nA=1\n[Keep]\nk=1\n[LAST USE]\nhand=1\n\n";
    EXPECT_EQ(withoutProfileSection(dup, "last use"), "[Keep]\nk=1\n");
    EXPECT_EQ(withoutProfileSection(dup, "absent"), dup);

    // Binary and odd bytes pass through untouched.
    const std::string binary("[S]\nk=1\n\0\xff\xfe=\x01\n", 14);
    std::string expected = binary;
    expected[6] = '2';
    EXPECT_EQ(withProfileString(binary, "S", "k", "2"), expected);

    for (const char* bad : {"a\nb", "a=b", "", " a", "[a", "a]"}) {
        EXPECT_FALSE(profileNameProblem(bad).empty()) << bad;
    }
    EXPECT_TRUE(profileNameProblem("Last use").empty());
    EXPECT_FALSE(profileValueProblem("a\rb").empty());
    EXPECT_TRUE(profileValueProblem("C:=x ;y").empty());
}

TEST(Profile, EditsNeverChangeTheValueOfALastLineEndingInALoneCr) {
    const std::string crlf = "[Common]\r\nCamera File=a.cam\r";
    for (const auto& [section, key] : {std::pair{"Common", "BaudRate"}, std::pair{"Last use", "Xpos"}}) {
        const std::string edited = withProfileString(crlf, section, key, "9600");
        EXPECT_TRUE(edited.starts_with(crlf)) << section;
        EXPECT_EQ(readProfileString(edited, "Common", "Camera File", "-", 100), "a.cam") << section;
        EXPECT_EQ(readProfileInt(edited, section, key, 0), 9600) << section;
    }
    EXPECT_EQ(withProfileString(crlf, "Common", "BaudRate", "9600"), crlf + "BaudRate=9600\r\n");
    // A file of lone CRs only: the line is closed already, nothing is added before the new key.
    EXPECT_EQ(withProfileString("[Common]\rX=1\r", "Common", "Y", "2"), "[Common]\rX=1\rY=2\n");
}

TEST(Profile, ReadsQuotesEmptyNumbersAndLoneCrAsTheWindowsFunctions) {
    const std::string ini = "[Common]\n"
                            "Camera File=\"my camera.cam\"\n"
                            "BaudRate=\"19200\"\n"
                            "Single=' spaced '\n"
                            "Unmatched=\"a.cam'\n"
                            "Lone=\"\n"
                            "Inner=a \"b\" c\n"
                            "EmptyQuotes=\"\"\n"
                            "Empty=\n";
    EXPECT_EQ(readProfileString(ini, "Common", "Camera File", "-", 100), "my camera.cam");
    EXPECT_EQ(readProfileString(ini, "Common", "Camera File", "-", 4), "my ");
    EXPECT_EQ(readProfileInt(ini, "Common", "BaudRate", 9600), 19200);
    EXPECT_EQ(readProfileString(ini, "Common", "Single", "-", 100), " spaced ");
    EXPECT_EQ(readProfileString(ini, "Common", "Unmatched", "-", 100), "\"a.cam'");
    EXPECT_EQ(readProfileString(ini, "Common", "Lone", "-", 100), "\"");
    EXPECT_EQ(readProfileString(ini, "Common", "Inner", "-", 100), "a \"b\" c");
    EXPECT_EQ(readProfileString(ini, "Common", "EmptyQuotes", "-", 100), "");
    // An empty value read as a number gives the default; read as text it stays empty.
    EXPECT_EQ(readProfileInt(ini, "Common", "Empty", 9600), 9600);
    EXPECT_EQ(readProfileInt(ini, "Common", "EmptyQuotes", 9600), 9600);
    EXPECT_EQ(readProfileString(ini, "Common", "Empty", "-", 100), "");

    // A lone CR ends a line: both keys read, and writing one keeps the other.
    const std::string loneCr = "[S]\na=1\rk=2\n";
    EXPECT_EQ(readProfileInt(loneCr, "S", "a", 0), 1);
    EXPECT_EQ(readProfileInt(loneCr, "S", "k", 0), 2);
    EXPECT_EQ(withProfileString(loneCr, "S", "a", "5"), "[S]\na=5\rk=2\n");
    EXPECT_EQ(withProfileString(loneCr, "S", "k", "6"), "[S]\na=1\rk=6\n");
    EXPECT_EQ(readProfileInt("[S]\rk=3\r\r\n[T]\rk=4", "T", "k", 0), 4);
    EXPECT_EQ(withoutProfileSection("[S]\rk=3\r[T]\rk=4\r", "S"), "[T]\rk=4\r");
}

TEST(Profile, SkipsAByteOrderMarkWhenReadingAndKeepsItWhenRewriting) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string ini = bom + "[Common]\r\nCOM Port=1\r\nBaudRate=19200\r\n[Last use]\r\nXpos=5\r\n";
    EXPECT_EQ(readProfileString(ini, "Common", "COM Port", "2", 100), "1");
    EXPECT_EQ(readProfileInt(ini, "Common", "BaudRate", 9600), 19200);

    const std::string edited = withProfileString(ini, "Common", "BaudRate", "38400");
    EXPECT_EQ(edited, bom + "[Common]\r\nCOM Port=1\r\nBaudRate=38400\r\n[Last use]\r\nXpos=5\r\n");
    EXPECT_EQ(withoutProfileSection(ini, "Common"), bom + "[Last use]\r\nXpos=5\r\n");
    EXPECT_EQ(withProfileString(bom, "Common", "Version", "1"), bom + "[Common]\nVersion=1\n");

    // Through the file, as an editor on Windows leaves it.
    TempDir dir;
    const std::string path = dir.write("vistrel.INI", ini);
    EXPECT_EQ(getProfileString(path, "Common", "COM Port", "2", 100), "1");
    ASSERT_TRUE(writeProfileString(path, "Common", "COM Port", "3").ok);
    EXPECT_EQ(dir.read("vistrel.INI"), bom + "[Common]\r\nCOM Port=3\r\nBaudRate=19200\r\n[Last use]\r\nXpos=5\r\n");
    // Only a mark at the very start is one; elsewhere the bytes are part of a name.
    EXPECT_EQ(readProfileString("[S]\n" + bom + "k=1\n", "S", "k", "-", 100), "-");
}

TEST(Profile, FileWritesCreateReplaceAndDeleteAtomically) {
    TempDir dir;
    const std::string path = dir.path() + "vistrel.INI";

    bool exists = true;
    EXPECT_EQ(loadProfile(path, &exists), "");
    EXPECT_FALSE(exists);
    EXPECT_EQ(getProfileString(path, "Common", "COM Port", "2", 100), "2");
    EXPECT_EQ(getProfileInt(path, "Common", "BaudRate", 9600), 9600);

    ASSERT_TRUE(writeProfileString(path, "Common", "Version", "6.5.0").ok);
    ASSERT_TRUE(writeProfileString(path, "Common", "COM Port", "1").ok);
    ASSERT_TRUE(writeProfileString(path, "Last use", "Xpos", "-5").ok);
    ASSERT_TRUE(writeProfileString(path, "common", "com port", "3").ok);
    EXPECT_EQ(dir.read("vistrel.INI"), "[Common]\nVersion=6.5.0\nCOM Port=3\n[Last use]\nXpos=-5\n");
    EXPECT_EQ(getProfileInt(path, "Last use", "Xpos", 0), -5);

    // Permissions survive the replace; no temporary file is left behind.
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeProfileString(path, "Common", "BaudRate", "19200").ok);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640U);
    ASSERT_TRUE(replaceFileAtomically(path, "[X]\n").ok);
    EXPECT_EQ(dir.read("vistrel.INI"), "[X]\n");
    EXPECT_EQ(test::entriesOf(dir.path()), 1U);

    // A symbolic link is followed: its target is replaced, the link stays a link.
    const std::string target = dir.write("real.INI", "[S]\nk=1\n");
    const std::string link = dir.path() + "link.INI";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(writeProfileString(link, "S", "k", "2").ok);
    EXPECT_EQ(dir.read("real.INI"), "[S]\nk=2\n");
    struct stat linkInfo {};
    ASSERT_EQ(::lstat(link.c_str(), &linkInfo), 0);
    EXPECT_TRUE(S_ISLNK(linkInfo.st_mode));

    // Line breaks in names or values are refused, and nothing is written.
    const ProfileResult injected = writeProfileString(path, "Common", "Camera File", "a\n[Evil]\nx=1");
    EXPECT_FALSE(injected.ok);
    EXPECT_FALSE(injected.reason.empty());
    EXPECT_EQ(dir.read("vistrel.INI"), "[X]\n");
}

TEST(Profile, FailedWritesReportTheReasonAndLeaveTheOldFile) {
    TempDir dir;
    // Even root cannot create a file below a regular file.
    const std::string blocker = dir.write("plain", "not a folder");
    const ProfileResult underFile = writeProfileString(blocker + "/vistrel.INI", "Common", "Version", "6.5.0");
    EXPECT_FALSE(underFile.ok);
    EXPECT_EQ(underFile.reason, "Not a directory");
    EXPECT_EQ(dir.read("plain"), "not a folder");

    // A settings path that is a folder cannot be read for the edit: nothing is replaced.
    ::mkdir((dir.path() + "folder.INI").c_str(), 0755);
    EXPECT_FALSE(writeProfileString(dir.path() + "folder.INI", "S", "k", "v").ok);

    // A file beyond the size limit is read in part but never rewritten.
    std::string huge = "[S]\nk=1\n";
    huge.append(kProfileMaxBytes, 'x');
    huge.append("\n[T]\nt=1\n");
    const std::string hugePath = dir.write("huge.INI", huge);
    EXPECT_EQ(getProfileInt(hugePath, "S", "k", 0), 1);
    EXPECT_EQ(getProfileInt(hugePath, "T", "t", 0), 0);
    EXPECT_FALSE(writeProfileString(hugePath, "S", "k", "2").ok);
    EXPECT_EQ(dir.read("huge.INI").size(), huge.size());
}

TEST(Profile, SettingsFileThatIsAFifoReadsAsMissingAndIsNeverWrittenOver) {
    TempDir dir;
    const std::string fifo = dir.path() + "vistrel.INI";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Each step in a child with a time limit: a blocking open or read fails the test, not the run.
    const auto inTime = [](auto step) { return test::runWithTimeLimit(5, step) == test::ChildOutcome::Passed; };
    EXPECT_TRUE(inTime([&] {
        bool exists = true;
        return loadProfile(fifo, &exists).empty() && !exists;
    }));
    EXPECT_TRUE(inTime([&] { return getProfileInt(fifo, "Common", "BaudRate", 9600) == 9600; }));
    EXPECT_TRUE(inTime([&] {
        std::string contents;
        return !readProfileForEdit(fifo, contents).ok;
    }));
    EXPECT_TRUE(inTime([&] { return !writeProfileString(fifo, "Common", "Version", "6.5.0").ok; }));
    EXPECT_TRUE(inTime([&] { return !replaceFileAtomically(fifo, "[Common]\n").ok; }));

    // Through a symbolic link too, and the FIFO is still there afterwards.
    const std::string link = dir.path() + "link.INI";
    ASSERT_EQ(::symlink(fifo.c_str(), link.c_str()), 0);
    EXPECT_TRUE(inTime([&] { return !writeProfileString(link, "Common", "Version", "6.5.0").ok; }));
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(test::entriesOf(dir.path()), 2U);

    bool exists = true;
    EXPECT_TRUE(loadProfile("/dev/zero", &exists).empty());
    EXPECT_FALSE(exists);
}

} // namespace
} // namespace vistrel
