// The address book's whole-file replacement: a failed save leaves the old book, and a program
// killed while it saves leaves the old book or the new one, whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tools/ip_record.h"
#include "tools/ip_record_store.h"

namespace ts = testsupport;

namespace {

constexpr char kChildVariable[] = "OST_BOOK_SAVE_CHILD";

// Two books that differ in length and in every record.
std::vector<AddressBookRow> Book(int rows, const std::string& tag) {
  std::vector<AddressBookRow> book;
  for (int i = 0; i < rows; ++i) {
    char user[32], address[32];
    std::snprintf(user, sizeof user, "%s%d", tag.c_str(), i);
    std::snprintf(address, sizeof address, "10.0.%d.%d", i / 256, i % 256);
    book.push_back({user, address, std::string(100, 'c'), static_cast<uint16_t>(8000 + i)});
  }
  return book;
}

std::string Image(const std::vector<AddressBookRow>& book) {
  const std::vector<uint8_t> bytes = EncodeIpRecords(book);
  return std::string(bytes.begin(), bytes.end());
}

// Run as a child: saves the two books in turn, for ever, until it is killed.
TEST(BookSaveChild, SavesUntilKilled) {
  char path[MAX_PATH] = {};
  if (::GetEnvironmentVariableA(kChildVariable, path, sizeof path) == 0)
    GTEST_SKIP() << "run by BookSave.AKillDuringSavesLeavesAWholeBook";
  const std::vector<uint8_t> a = EncodeIpRecords(Book(300, "old"));
  const std::vector<uint8_t> b = EncodeIpRecords(Book(700, "new"));
  // A save that meets the parent reading the book fails whole and is simply made again.
  for (unsigned n = 0;;)
    if (ReplaceFileContents(path, n % 2 ? b : a)) ++n;
}

TEST(BookSave, ReplacesTheWholeFileAndLeavesNoTemporaryFile) {
  ts::TempFolder folder("booksave");
  const std::string book = folder.File("IPRecord.dat");
  ASSERT_TRUE(ts::WriteFileText(book, Image(Book(5, "old"))));
  EXPECT_TRUE(ReplaceFileContents(book, EncodeIpRecords(Book(2, "new"))));
  EXPECT_EQ(ts::ReadFileText(book), Image(Book(2, "new")));
  EXPECT_FALSE(ts::FileExists(ReplacementTempPath(book)));
  EXPECT_TRUE(ReplaceFileContents(book, {}));
  EXPECT_TRUE(ts::FileExists(book));
  EXPECT_EQ(ts::ReadFileText(book), "");
}

TEST(BookSave, AFailedSaveKeepsTheOldBook) {
  ts::TempFolder folder("booksave");
  const std::string book = folder.File("IPRecord.dat");
  const std::string old = Image(Book(5, "old"));
  ASSERT_TRUE(ts::WriteFileText(book, old));
  // The temporary file cannot be made: a folder holds its name.
  ASSERT_TRUE(::CreateDirectoryA(ReplacementTempPath(book).c_str(), nullptr));
  unsigned long error = 0;
  EXPECT_FALSE(ReplaceFileContents(book, EncodeIpRecords(Book(2, "new")), &error));
  EXPECT_NE(error, 0u);
  EXPECT_EQ(ts::ReadFileText(book), old);
  ::RemoveDirectoryA(ReplacementTempPath(book).c_str());
  // The book's name is taken by a folder: nothing is replaced and nothing is left behind.
  const std::string folderBook = folder.File("Folder.dat");
  ASSERT_TRUE(::CreateDirectoryA(folderBook.c_str(), nullptr));
  EXPECT_FALSE(ReplaceFileContents(folderBook, EncodeIpRecords(Book(2, "new"))));
  EXPECT_FALSE(ts::FileExists(ReplacementTempPath(folderBook)));
}

TEST(BookSave, AKillDuringSavesLeavesAWholeBook) {
  ts::TempFolder folder("booksave");
  const std::string book = folder.File("IPRecord.dat");
  const std::string a = Image(Book(300, "old"));
  const std::string b = Image(Book(700, "new"));
  char exe[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameA(nullptr, exe, sizeof exe), 0u);
  for (int round = 0; round < 3; ++round) {
    ts::Process child;
    std::string commandLine = "\"";
    commandLine += exe;
    commandLine += "\" --gtest_filter=BookSaveChild.*";
    std::string variable = kChildVariable;
    variable += "=";
    variable += book;
    ASSERT_TRUE(child.Start(exe, commandLine, folder.Path(), {variable}));
    // Killed once it has saved both books at least once, and again at a later point.
    bool sawA = false, sawB = false;
    ASSERT_TRUE(ts::WaitUntil(
        [&] {
          const std::string now = ts::ReadFileText(book);
          sawA = sawA || now == a;
          sawB = sawB || now == b;
          return sawA && sawB && (round == 0 || ts::FileExists(ReplacementTempPath(book)));
        },
        60000));
    ASSERT_TRUE(::TerminateProcess(child.Handle(), 9));
    DWORD code = 0;
    ASSERT_TRUE(child.WaitExit(20000, &code));
    const std::string after = ts::ReadFileText(book);
    EXPECT_TRUE(after == a || after == b) << "round " << round << ": " << after.size() << " bytes";
    std::vector<AddressBookRow> rows;
    EXPECT_TRUE(
        DecodeIpRecords(reinterpret_cast<const uint8_t*>(after.data()), after.size(), rows));
  }
}

}  // namespace
