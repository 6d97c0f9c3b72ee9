// The program copy's list: its families and counts, and every skin bitmap the program loads (the
// skin's table and every "BMP\\..." name written in the program's sources) is in it.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "res/skin/skin_table.h"
#include "tools/install_file_list.h"

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Windows compares file names without letter case.
std::set<std::string> ListedLower() {
  std::set<std::string> names;
  for (int i = 0; i < kInstallFileCount; ++i) names.insert(Lower(g_InstallFileList[i]));
  return names;
}

// The family of a name under "BMP\\" (folder prefix removed).
std::string Family(const std::string& name) {
  static const std::vector<std::pair<std::regex, std::string>> rules = {
      {std::regex(
           R"(Channel_(([1-9]|1[0-6]|dvr)_(Enable|Disable)(_over)?|Left|Left_Down|Right|Right_Down)\.bmp)"),
       "channel buttons"},
      {std::regex(R"(ch([1-9]|1[0-6])(_a)?\.bmp)"), "channel numbers"},
      {std::regex(
           R"([NP]_Q?VGA_(BG|BG_EX|((DOWN|LEFT|RIGHT|UP)(_TURBO)?|MENU|PANELDOWN|PANELUP)(_OVER)?)\.bmp)"),
       "layout sets"},
      {std::regex(R"(FRN_.*)"), "FRN_"},
      {std::regex(R"(GRK_.*)"), "GRK_"},
      {std::regex(R"(ITA_.*)"), "ITA_"},
      {std::regex(R"(ROC_.*)"), "ROC_"},
      {std::regex(
           R"((176_112|176_144|320_228|320_240|320_276|352_240|352_286|352_288|640_228|640_276|640_480|704_240|704_286|704_480|704_576|720_240|720_288|720_480|720_576)\.bmp)"),
       "picture sizes"},
      {std::regex(R"(Second_Col_.*)"), "second-column keys"},
      {std::regex(R"(2Col_.*)"), "two-column keys"},
      {std::regex(R"(.*_n_q?vga\.bmp)"), "tool images by layout"},
      {std::regex(R"((VGA_|vga|QVGA_|qvga).*)"), "VGA and QVGA tool images"},
      {std::regex(R"((Title|TilteBar).*)"), "title-bar pieces"},
      {std::regex(R"(Dialog_.*)"), "dialog buttons"},
      {std::regex(R"(login_.*)"), "login buttons"},
      {std::regex(R"(ptz_.*)"), "PTZ images"},
      {std::regex(R"(cut.*)"), "layout buttons"},
  };
  for (const auto& [rule, family] : rules)
    if (std::regex_match(name, rule)) return family;
  return "single images";
}

TEST(InstallFileList, HoldsTheRootFilesTheSkinAndTheLoginWindowInOrder) {
  EXPECT_EQ(g_InstallFileList[kInstallFileCount], nullptr);
  const std::vector<std::string> root = {"AlarmData.dat", "alarm.wav",   "CtrlFile.ini",
                                         "JPEGCODEC.DLL", "Ostrova.exe", "Quendor.exe",
                                         "Setting.ini"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(g_InstallFileList[i], root[static_cast<size_t>(i)]);

  std::map<std::string, int> families;
  std::set<std::string> folders;
  for (int i = 7; i < 735; ++i) {
    ASSERT_NE(g_InstallFileList[i], nullptr) << i;
    const std::string name = g_InstallFileList[i];
    ASSERT_EQ(name.rfind("BMP\\", 0), 0u) << name;
    ASSERT_NE(name.rfind("BMP\\LOGIN\\", 0), 0u) << name;
    folders.insert(name.substr(0, name.rfind('\\') + 1));
    ++families[Family(name.substr(4))];
  }
  const std::map<std::string, int> expected = {
      {"channel buttons", 72},
      {"channel numbers", 32},
      {"layout sets", 96},
      {"FRN_", 14},
      {"GRK_", 14},
      {"ITA_", 14},
      {"ROC_", 16},
      {"picture sizes", 19},
      {"second-column keys", 28},
      {"two-column keys", 20},
      {"VGA and QVGA tool images", 92},
      {"tool images by layout", 26},
      {"title-bar pieces", 10},
      {"dialog buttons", 13},
      {"login buttons", 11},
      {"PTZ images", 14},
      {"layout buttons", 11},
      {"single images", 226},
  };
  EXPECT_EQ(families, expected);
  // The camera toolbar's faces live in their own folder.
  EXPECT_EQ(folders, (std::set<std::string>{"BMP\\", "BMP\\CMOS\\"}));

  for (int i = 735; i < kInstallFileCount; ++i) {
    ASSERT_NE(g_InstallFileList[i], nullptr) << i;
    const std::string name = g_InstallFileList[i];
    EXPECT_EQ(name.rfind("BMP\\LOGIN\\", 0), 0u) << name;
    EXPECT_EQ(name.find('\\', 10), std::string::npos) << name;
  }
  EXPECT_STREQ(g_InstallFileList[735], "BMP\\LOGIN\\address.BMP");
  EXPECT_STREQ(g_InstallFileList[kInstallFileCount - 1], "BMP\\LOGIN\\top_middle2.bmp");

  EXPECT_EQ(ListedLower().size(), static_cast<size_t>(kInstallFileCount)) << "a name twice";
}

TEST(InstallFileList, HoldsEveryBitmapOfTheSkin) {
  const std::set<std::string> listed = ListedLower();
  const std::vector<SkinBitmap> skin = SkinBitmaps();
  ASSERT_GT(skin.size(), 400u);
  for (const SkinBitmap& b : skin) EXPECT_TRUE(listed.count(Lower(b.name))) << b.name;
}

// Every bitmap name written out in the program's sources (tests aside), so a window that starts
// loading a new face fails here until the list holds it.
TEST(InstallFileList, HoldsEveryBitmapNamedInTheSources) {
  const std::set<std::string> listed = ListedLower();
  const fs::path root = OST_SOURCE_DIR;
  const std::regex literal(R"re("BMP\\\\([^"%]+\.(bmp|BMP))")re");
  int files = 0, names = 0;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string top = fs::relative(it->path(), root).begin()->string();
    if (it->is_directory() && (top == "tests" || top == "build" || top.front() == '.')) {
      it.disable_recursion_pending();
      continue;
    }
    const std::string ext = it->path().extension().string();
    if (!it->is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    std::ifstream in(it->path(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ++files;
    for (auto m = std::sregex_iterator(text.begin(), text.end(), literal);
         m != std::sregex_iterator(); ++m) {
      std::string name = "BMP\\" + (*m)[1].str();
      for (size_t at = name.find("\\\\"); at != std::string::npos; at = name.find("\\\\", at + 1))
        name.erase(at, 1);
      ++names;
      EXPECT_TRUE(listed.count(Lower(name)))
          << name << " in " << fs::relative(it->path(), root).string();
    }
  }
  EXPECT_GT(files, 100);
  EXPECT_GT(names, 100);
}

TEST(InstallFileList, PercentAfterEachFile) {
  const struct {
    int copied, percent;
  } cases[] = {{1, 0}, {7, 0}, {8, 1}, {16, 2}, {393, 50}, {784, 99}, {785, 100}};
  for (const auto& c : cases) EXPECT_EQ(InstallCopyPercent(c.copied), c.percent) << c.copied;
  for (int k = 2; k <= kInstallFileCount; ++k)
    EXPECT_LE(InstallCopyPercent(k - 1), InstallCopyPercent(k));
}

}  // namespace
