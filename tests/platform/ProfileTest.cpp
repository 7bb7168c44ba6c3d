#include "platform/Profile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "platform/FileSystem.h"
#include "support/TempFolder.h"

using platform::readIni;
using platform::writeIni;

using testsupport::TempFolder;

TEST(Profile, MissingOrEmptyFileReadsEmptyAndWriteCreatesIt) {
  testsupport::TempFolder temp;
  const std::string ini = temp.file("statind.ini");
  EXPECT_EQ(readIni(ini, "BASE", "POSIZ"), "");
  TempFolder::write(ini, "");
  EXPECT_EQ(readIni(ini, "BASE", "POSIZ"), "");
  std::filesystem::remove(ini);

  ASSERT_TRUE(writeIni(ini, "BASE", "POSIZ", "3"));
  EXPECT_EQ(TempFolder::read(ini), "[BASE]\nPOSIZ=3\n");
  EXPECT_EQ(readIni(ini, "base", "posiz"), "3");
}

TEST(Profile, ValueRules) {
  testsupport::TempFolder temp;
  const std::string ini = temp.file("statind.ini");
  TempFolder::write(ini,
                    "; a comment line\n"
                    "[Sec]\n"
                    "  Key1  =  value one  \n"
                    "key2=abc ; trailing comment\n"
                    "key3=abc;kept\n"
                    "key4=abc\tafter tab\n"
                    "key5=\"  quoted  \"\n"
                    "key6=" +
                        std::string(120, 'x') +
                        "\n"
                        "a line without equals\n"
                        "key1=later duplicate\n"
                        "[SEC]\n"
                        "onlyInSecond=1\n");
  EXPECT_EQ(readIni(ini, "sec", "KEY1"), "value one");
  EXPECT_EQ(readIni(ini, "Sec", "key2"), "abc");
  EXPECT_EQ(readIni(ini, "Sec", "key3"), "abc;kept");
  EXPECT_EQ(readIni(ini, "Sec", "key4"), "abc");
  EXPECT_EQ(readIni(ini, "Sec", "key5"), "quoted");
  EXPECT_EQ(readIni(ini, "Sec", "key6"), std::string(99, 'x'));
  // The first section of a name is the only one looked at.
  EXPECT_EQ(readIni(ini, "Sec", "onlyInSecond"), "");
  EXPECT_EQ(readIni(ini, "Sec", "a line without equals"), "");
  EXPECT_EQ(readIni(ini, "Missing", "key1"), "");
}

TEST(Profile, WriteKeepsEveryOtherLineAndTheLineEndings) {
  testsupport::TempFolder temp;
  const std::string ini = temp.file("statind.ini");
  TempFolder::write(ini,
                    "; comment\r\n"
                    "[A]\r\n"
                    "  Name = old ; note\r\n"
                    "free text\r\n"
                    "\r\n"
                    "[B]\r\n"
                    "x=1\r");  // unterminated, ending in a lone CR
  ASSERT_TRUE(writeIni(ini, "a", "NAME", "new"));
  ASSERT_TRUE(writeIni(ini, "A", "Added", "2"));
  ASSERT_TRUE(writeIni(ini, "B", "y", "3"));
  ASSERT_TRUE(writeIni(ini, "C", "z", "line\nbreak"));
  EXPECT_EQ(TempFolder::read(ini),
            "; comment\r\n"
            "[A]\r\n"
            "  Name =new\r\n"
            "free text\r\n"
            "Added=2\r\n"
            "\r\n"
            "[B]\r\n"
            "x=1\r\n"
            "y=3\r\n"
            "[C]\r\n"
            "z=line break\r\n");
  EXPECT_EQ(readIni(ini, "C", "z"), "line break");
}

TEST(Profile, Windows1252FileIsReadAsUtf8AndWrittenBackInItsOwnBytes) {
  testsupport::TempFolder temp;
  const std::string ini = temp.file("statind.ini");
  const std::string original = "[S]\ncitta=Citt\xE0 \x80\n";
  TempFolder::write(ini, original);
  EXPECT_EQ(readIni(ini, "S", "citta"), "Città €");
  ASSERT_TRUE(writeIni(ini, "S", "nome", "perché ☺"));
  EXPECT_EQ(TempFolder::read(ini), original + "nome=perch\xE9 ?\n");

  // A UTF-8 file stays UTF-8, its byte-order mark included.
  const std::string utf8 = temp.file("utf8.ini");
  TempFolder::write(utf8, "\xEF\xBB\xBF[S]\nk=è\n");
  EXPECT_EQ(readIni(utf8, "S", "k"), "è");
  ASSERT_TRUE(writeIni(utf8, "S", "k", "à"));
  EXPECT_EQ(TempFolder::read(utf8), "\xEF\xBB\xBF[S]\nk=à\n");
}

// Decided by the mode bits, which hold for root as well: the rename would replace the file.
TEST(Profile, ReadOnlyFileIsNeverReplaced) {
  namespace fs = std::filesystem;
  testsupport::TempFolder temp;
  const std::string ini = temp.file("statind.ini");
  TempFolder::write(ini, "[PARAMETRI]\r\nStartUp=1\r\n");
  const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(ini, readOnly);
  EXPECT_FALSE(writeIni(ini, "PARAMETRI", "StartUp", "2"));
  EXPECT_EQ(TempFolder::read(ini), "[PARAMETRI]\r\nStartUp=1\r\n");
  EXPECT_EQ(fs::status(ini).permissions(), readOnly);
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
}

// A FIFO would block every read, a device or a huge file would fill the memory: none is read
// or written, and each is named for what it is.
TEST(Profile, OnlyARegularFileOfSaneSizeIsAConfiguration) {
  namespace fs = std::filesystem;
  testsupport::TempFolder temp;
  const std::string fifo = temp.file("fifo.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string huge = temp.file("huge.ini");
  TempFolder::write(huge, "[S]\nk=1\n");
  fs::resize_file(huge, 5 << 20);  // sparse: no disk used
  for (const std::string& ini : {fifo, std::string("/dev/zero"), huge, temp.path().string()}) {
    EXPECT_EQ(readIni(ini, "S", "k"), "") << ini;
    EXPECT_FALSE(writeIni(ini, "S", "k", "2")) << ini;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(fs::file_size(huge), 5u << 20);
  EXPECT_EQ(platform::iniFileProblem(fifo), "non è un file");
  EXPECT_EQ(platform::iniFileProblem(huge), "troppo grande: 5 MB, al massimo 4");
  EXPECT_EQ(platform::iniFileProblem(temp.file("none.ini")), "non esiste");
}

TEST(ProfileFiles, NamesMatchWithoutRegardToCase) {
  testsupport::TempFolder temp;
  std::filesystem::create_directories(temp.path() / "Veltaria" / "Oper");
  TempFolder::write(temp.file("Veltaria/Oper/DatiDV.mdb"), "x");
  const std::string asWritten = temp.path().string() + "\\VELTARIA\\oper\\datidv.MDB";
  EXPECT_EQ(platform::resolvePath(asWritten), temp.file("Veltaria/Oper/DatiDV.mdb"));
  EXPECT_TRUE(platform::fileExists(asWritten));
  EXPECT_TRUE(platform::folderExists(temp.path().string() + "/veltaria/OPER/"));
  EXPECT_FALSE(platform::fileExists(temp.path().string() + "/veltaria/OPER"));
  EXPECT_TRUE(platform::createFolder(temp.file("VELTARIA/oper/")).ok());  // already there
  // A missing tail keeps its spelling after the part that could be matched.
  EXPECT_EQ(platform::resolvePath(temp.path().string() + "/VELTARIA/New/x"),
            temp.file("Veltaria/New/x"));

  TempFolder::write(temp.file("statind.ini"), "[S]\nk=1\n");
  ASSERT_TRUE(writeIni(temp.file("STATIND.INI"), "S", "k", "2"));
  EXPECT_EQ(TempFolder::read(temp.file("statind.ini")), "[S]\nk=2\n");
  EXPECT_FALSE(std::filesystem::exists(temp.file("STATIND.INI")));
}
