// The disc writer's checks and the merge of a new session with the disc's last one.
#include "disc/disc_checks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

using namespace disc;

TEST(DiscChecksTest, MediaKind) {
  struct Case {
    bool info;
    uint32_t mask;
    bool keep;
    uint32_t want;
  };
  const Case cases[] = {
      {false, 0x1, false, kKindNoDisc}, {true, 0, false, kKindNoDisc},
      {true, 0x1, false, kKindCD},      {true, 0x3, false, kKindCD},
      {true, 0x4, false, kKindDVD},     {true, 0x80000, false, kKindDVD},
      {true, 0xC001C, false, kKindDVD}, {true, 0x100, false, kKindNotWritable},
      {true, 0x100, true, kKindCD},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MediaKindOf(c.info, c.mask, c.keep, kKindCD), c.want) << std::hex << c.mask;
}

TEST(DiscChecksTest, NamesAndSpace) {
  EXPECT_TRUE(HasDvrExtension("C:\\backup\\CH01_0001.dvr"));
  EXPECT_TRUE(HasDvrExtension(".DvR"));
  EXPECT_FALSE(HasDvrExtension("CH01_0001.DVR1"));
  EXPECT_FALSE(HasDvrExtension("C:\\"));
  EXPECT_FALSE(HasDvrExtension("dvr"));
  EXPECT_FALSE(HasDvrExtension(""));

  EXPECT_EQ(FileNamePart("C:\\backup\\CH01_0001.dvr"), "CH01_0001.dvr");
  EXPECT_EQ(FileNamePart("name.dvr"), "name.dvr");
  EXPECT_EQ(FileNamePart("C:\\backup\\"), "");

  // The whole name counts: a new name that begins an existing one is not the same.
  EXPECT_TRUE(SameDiscName("ch01_0001.dvr", "CH01_0001.DVR"));
  EXPECT_FALSE(SameDiscName("ch01_0001.dvr", "CH01_0001.dvr2"));
  EXPECT_FALSE(SameDiscName("", "a"));

  // A DVD of more than 4 GiB free takes a file; the space test does not wrap.
  EXPECT_TRUE(SpaceSuffices(100u << 20, 2295104));
  EXPECT_TRUE(SpaceSuffices(4096ull << 20, 2295104));
  EXPECT_FALSE(SpaceSuffices(100, 2));
  EXPECT_TRUE(SpaceSuffices(0, 2));
  EXPECT_FALSE(SpaceSuffices(1, 2));
  EXPECT_FALSE(SpaceSuffices(0, 0));
  EXPECT_TRUE(SpaceSuffices(0xFFFFFFFFull, 0xFFFFFFFFu));
}

TEST(DiscChecksTest, ResultTexts) {
  EXPECT_EQ(ImportResultText(0), "an unknown error");
  EXPECT_EQ(ImportResultText(4), "a filesystem error");
  EXPECT_EQ(ImportResultText(5), "an invalid track number");
  EXPECT_EQ(ImportResultText(6), "an unknown error");
  EXPECT_EQ(ImportResultText(-1), "an unknown error");
  EXPECT_EQ(BurnResultMessage(0), "");
  EXPECT_EQ(BurnResultMessage(6), "Write CD Error : user aborted");
  EXPECT_EQ(BurnResultMessage(7), "Write CD Error : bad message file");
  EXPECT_EQ(BurnResultMessage(8), "Write CD Error : unknown error");
  EXPECT_EQ(BurnResultMessage(-3), "Write CD Error : unknown error");
}

namespace {

// Items of a fake engine: names, times, and who was released.
class FakeItems {
 public:
  EngineIsoItem* Make(const std::string& name, int year, bool reference, bool longName = true) {
    auto item = std::make_unique<EngineIsoItem>();
    std::memset(item.get(), 0, sizeof *item);
    m_names.push_back(std::make_unique<std::string>(name));
    if (longName) {
      item->pLongFileName = m_names.back()->data();
    } else {
      std::strncpy(item->szShortName, name.c_str(), sizeof item->szShortName - 1);
    }
    item->bIsReference = reference ? 1 : 0;
    if (year != 0) {
      item->tmYear = year - 1900;
      item->tmMon = 5;
      item->tmMday = 1;
      item->tmHour = 12;
    }
    m_items.push_back(std::move(item));
    return m_items.back().get();
  }
  static EngineIsoItem* Chain(std::vector<EngineIsoItem*> items) {
    for (size_t i = 0; i + 1 < items.size(); ++i) items[i]->pNextItem = items[i + 1];
    return items.empty() ? nullptr : items.front();
  }
  static std::vector<std::string> Names(const EngineIsoItem* list) {
    std::vector<std::string> out;
    for (; list != nullptr; list = list->pNextItem) out.push_back(ItemName(*list));
    return out;
  }
  MergeHooks Hooks() {
    return {[this](const EngineIsoItem& item) { return m_sourceTimes[ItemName(item)]; },
            [this](EngineIsoItem* item) {
              m_released.push_back(ItemName(*item) + (item->bIsReference ? " (disc)" : " (new)"));
            }};
  }
  std::map<std::string, int64_t> m_sourceTimes;
  std::vector<std::string> m_released;

 private:
  std::vector<std::unique_ptr<EngineIsoItem>> m_items;
  std::vector<std::unique_ptr<std::string>> m_names;
};

int64_t YearTime(int year) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = 5;
  t.tm_mday = 1;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&t));
}

}  // namespace

TEST(MergeItemListsTest, NewerCopyStaysAndTheDiscsOtherFilesFollow) {
  struct Case {
    const char* name;
    int newSourceYear;  // the new player's file time (0: cannot be read, -1)
    std::vector<std::string> want;
    std::string released;
  };
  const Case cases[] = {
      {"new player is newer",
       2026,
       {"CH02_0001.dvr", "Quendor_setup.exe", "CH01_0001.dvr", "notes.txt"},
       "QUENDOR_SETUP.EXE (disc)"},
      {"disc's player is newer",
       2001,
       {"CH02_0001.dvr", "QUENDOR_SETUP.EXE", "CH01_0001.dvr", "notes.txt"},
       "Quendor_setup.exe (new)"},
      {"same time keeps the new",
       2020,
       {"CH02_0001.dvr", "Quendor_setup.exe", "CH01_0001.dvr", "notes.txt"},
       "QUENDOR_SETUP.EXE (disc)"},
      {"unreadable source loses",
       0,
       {"CH02_0001.dvr", "QUENDOR_SETUP.EXE", "CH01_0001.dvr", "notes.txt"},
       "Quendor_setup.exe (new)"},
  };
  for (const Case& c : cases) {
    FakeItems f;
    f.m_sourceTimes["Quendor_setup.exe"] = c.newSourceYear == 0 ? -1 : YearTime(c.newSourceYear);
    f.m_sourceTimes["CH02_0001.dvr"] = YearTime(2026);
    EngineIsoItem* list = FakeItems::Chain(
        {f.Make("CH02_0001.dvr", 0, false), f.Make("Quendor_setup.exe", 0, false)});
    EngineIsoItem* imported = FakeItems::Chain({f.Make("CH01_0001.dvr", 2020, true),
                                                f.Make("QUENDOR_SETUP.EXE", 2020, true),
                                                f.Make("notes.txt", 1960, true, false)});
    EXPECT_TRUE(MergeItemLists(&list, imported, f.Hooks())) << c.name;
    EXPECT_EQ(FakeItems::Names(list), c.want) << c.name;
    EXPECT_EQ(f.m_released, std::vector<std::string>{c.released}) << c.name;
  }
}

TEST(MergeItemListsTest, EmptyListsMergeNothing) {
  FakeItems f;
  EngineIsoItem* list = f.Make("a.dvr", 0, false);
  EXPECT_FALSE(MergeItemLists(&list, nullptr, f.Hooks()));
  EXPECT_EQ(FakeItems::Names(list), std::vector<std::string>{"a.dvr"});

  EngineIsoItem* none = nullptr;
  EngineIsoItem* imported = f.Make("b.dvr", 2020, true);
  EXPECT_FALSE(MergeItemLists(&none, imported, f.Hooks()));
  EXPECT_EQ(FakeItems::Names(none), std::vector<std::string>{"b.dvr"});
  EXPECT_TRUE(f.m_released.empty());
}
