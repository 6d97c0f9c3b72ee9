#include "app/default_ctrl_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/temp_folder.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', pos)) {
    lines.push_back(text.substr(pos, lf - pos));
    pos = lf + 1;
  }
  EXPECT_EQ(pos, text.size()) << "text after the last line feed";
  return lines;
}

size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

bool IsCommandLine(const std::string& line) {
  // Six fields "0x.." separated by four blanks.
  size_t pos = 0;
  for (int field = 0; field < 6; ++field) {
    if (field > 0) {
      if (line.compare(pos, 4, "    ") != 0) return false;
      pos += 4;
    }
    if (line.compare(pos, 2, "0x") != 0) return false;
    const size_t end = line.find(' ', pos);
    pos = end == std::string::npos ? line.size() : end;
  }
  return pos == line.size();
}

TEST(DefaultCtrlFile, TemplateLayout) {
  const std::string text = DefaultCtrlFileText();
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.find("%%"), std::string::npos);
  const std::vector<std::string> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 167u);
  for (size_t i = 0; i < 16; ++i) EXPECT_TRUE(lines[i].starts_with(";=")) << lines[i];
  EXPECT_FALSE(lines[16].starts_with(";="));
  EXPECT_EQ(lines.back(), "End");

  const char* sections[] = {
      "[Device Number]", "[Parameter]",   "[Device Name]",   "[Power]",         "[Channel]",
      "[4CUT]",          "[9CUT]",        "[16CUT]",         "[PIP]",           "[POP]",
      "[58206]",         "[AUTO]",        "[ESC]",           "[VCR]",           "[LIVE]",
      "[QUAD]",          "[FREEZE]",      "[ZOOM_IN]",       "[ZOOM_OUT]",      "[FOCUS_IN]",
      "[FOCUS_OUT]",     "[PLUSE]",       "[MINUS]",         "[ZOOM]",          "[SELECT]",
      "[LOCK]",          "[SEARCH]",      "[ENTER]",         "[STOP]",          "[RECORD]",
      "[REW]",           "[FAST]",        "[PAUSE]",         "[SLOW]",          "[PLAY]",
      "[JOYSTICK_LEFT]", "[JOYSTICK_UP]", "[JOYSTICK_MENU]", "[JOYSTICK_DOWN]", "[JOYSTICK_RIGHT]",
      "[DISPLAY]",       "[EOF]"};
  std::vector<std::string> found;
  for (const auto& line : lines)
    if (line.starts_with("[")) found.push_back(line);
  EXPECT_EQ(found, std::vector<std::string>(std::begin(sections), std::end(sections)));

  // Each section: its lines, then one empty line.
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].starts_with("[")) continue;
    size_t end = i + 1;
    while (end < lines.size() && !lines[end].empty()) ++end;
    ASSERT_LT(end, lines.size()) << lines[i];
    const size_t bodyLines = end - i - 1;
    const std::string name = lines[i];
    if (name == "[Channel]") {
      EXPECT_EQ(bodyLines, 18u);
    } else if (name == "[EOF]") {
      EXPECT_EQ(bodyLines, 0u);
    } else {
      EXPECT_EQ(bodyLines, 1u) << name;
    }
    const bool isKey = name != "[Device Number]" && name != "[Parameter]" &&
                       name != "[Device Name]" && name != "[DISPLAY]" && name != "[EOF]";
    for (size_t k = i + 1; k < end && isKey; ++k) {
      EXPECT_TRUE(IsCommandLine(lines[k])) << name << ": " << lines[k];
      if (lines[k].starts_with("0x00")) {
        EXPECT_EQ(lines[k].substr(32, 4), "0x00") << name << ": unassigned key";
      }
    }
  }
  EXPECT_EQ(lines[IndexOf(lines, "[Device Number]") + 1], "1");
  EXPECT_EQ(lines[IndexOf(lines, "[Parameter]") + 1], "%0 = 0x11");
  EXPECT_EQ(lines[IndexOf(lines, "[Device Name]") + 1], "4CH DVR");
  EXPECT_EQ(lines[IndexOf(lines, "[Power]") + 1], "0x05    0xFF    0xC0    0x%d    0x57    0x7F");
  EXPECT_EQ(lines[IndexOf(lines, "[DISPLAY]") + 1], "0x01");
  EXPECT_EQ(lines[IndexOf(lines, "[Channel]") - 1], ";Channel Panel : MAX = 18");
  EXPECT_EQ(lines[IndexOf(lines, "[4CUT]") - 1], ";View Panel : MAX = 18");
  EXPECT_EQ(lines[IndexOf(lines, "[ZOOM]") - 1], ";Control Panel : MAX = 17");
  EXPECT_EQ(lines[IndexOf(lines, "[DISPLAY]") - 1], "; Device Setting");
}

TEST(DefaultCtrlFile, WriterOutputEqualsTheShippedFile) {
  TempFolder folder;
  std::vector<uint32_t> messages;
  const std::string file = folder.File("CtrlFile.ini");
  ASSERT_EQ(WriteDefaultCtrlFile(file, [&](uint32_t id) { messages.push_back(id); }), 1);
  EXPECT_TRUE(messages.empty());
  const std::string written = TempFolder::Read(file);
  EXPECT_EQ(written, DefaultCtrlFileText());
  const std::string shipped = TempFolder::Read(OST_SOURCE_DIR "/res/default_ctrl_file.ini");
  ASSERT_FALSE(shipped.empty()) << "res/default_ctrl_file.ini not found";
  EXPECT_EQ(shipped, written);
}

TEST(DefaultCtrlFile, UncreatableFileShowsMessage4009) {
  TempFolder folder;
  std::vector<uint32_t> messages;
  EXPECT_EQ(WriteDefaultCtrlFile(folder.File("missing") + "/CtrlFile.ini",
                                 [&](uint32_t id) { messages.push_back(id); }),
            0);
  EXPECT_EQ(messages, std::vector<uint32_t>{4009});
}

}  // namespace
