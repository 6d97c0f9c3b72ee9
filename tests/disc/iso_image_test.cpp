// The stand-in engine's disc image: sessions appended one after the other, each listing the
// files of the earlier ones and its own; what standard tools read from it.
#include "tests/disc/iso_image.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace isoimage;

namespace {

std::string Folder() {
  char tmpl[] = "/tmp/iso-image-test.XXXXXX";
  const char* d = mkdtemp(tmpl);
  return d != nullptr ? d : "/tmp";
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string Pattern(size_t n, int seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + seed) & 0xFF);
  return s;
}

std::string RunTool(const std::string& command) {
  std::string out;
  if (std::FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

std::string ContentOf(const std::string& image, const IsoFile& f) {
  std::string data((f.size + kBlock - 1) / kBlock * kBlock, '\0');
  if (!data.empty()) {
    EXPECT_TRUE(FileBlockReader(image)(f.extent, static_cast<uint32_t>(data.size() / kBlock),
                                       reinterpret_cast<uint8_t*>(data.data())));
  }
  data.resize(f.size);
  return data;
}

}  // namespace

class IsoImageTest : public ::testing::Test {
 protected:
  std::string m_dir = Folder();
  std::string m_image = m_dir + "/disc.iso";
};

TEST_F(IsoImageTest, SecondSessionListsOldAndNewFiles) {
  const std::string first = Pattern(5000, 1), second = Pattern(2048, 2), player = Pattern(1, 3);
  WriteFile(m_dir + "/a", first);
  WriteFile(m_dir + "/b", second);
  WriteFile(m_dir + "/p", player);
  WriteFile(m_dir + "/empty", "");
  uint32_t start = 0, end = 0;
  std::string error;
  ASSERT_TRUE(AppendSession(m_image, "OstrovaBackup",
                            {{"CH01_0001.DVR", {126, 11, 24, 13, 45, 7}, 0, 0, m_dir + "/a"},
                             {"empty.txt", {}, 0, 0, m_dir + "/empty"}},
                            &start, &end, &error))
      << error;
  EXPECT_EQ(start, 0u);
  auto v1 = ReadVolume(FileBlockReader(m_image));
  ASSERT_TRUE(v1);
  EXPECT_EQ(v1->volumeId, "OstrovaBackup");
  EXPECT_EQ(v1->volumeBlocks, end);
  ASSERT_EQ(v1->files.size(), 2u);
  EXPECT_EQ(v1->files[0].name, "CH01_0001.DVR");
  EXPECT_EQ(v1->files[0].time.year, 126);
  EXPECT_EQ(v1->files[0].time.month, 11);
  EXPECT_EQ(v1->files[0].time.second, 7);
  EXPECT_EQ(ContentOf(m_image, v1->files[0]), first);
  EXPECT_EQ(v1->files[1].size, 0u);

  // The second session keeps the first's files where they are.
  std::vector<SessionFile> files;
  for (const IsoFile& f : v1->files) files.push_back({f.name, f.time, f.extent, f.size, ""});
  files.push_back({"Quendor_setup.exe", {}, 0, 0, m_dir + "/p"});
  files.push_back({"CH02_0001.DVR", {}, 0, 0, m_dir + "/b"});
  uint32_t start2 = 0, end2 = 0;
  ASSERT_TRUE(AppendSession(m_image, "OstrovaBackup", files, &start2, &end2, &error)) << error;
  EXPECT_EQ(start2, end);
  auto v2 = ReadVolume(FileBlockReader(m_image));
  ASSERT_TRUE(v2);
  ASSERT_EQ(v2->files.size(), 4u);
  EXPECT_EQ(v2->files[0].name, "CH01_0001.DVR");
  EXPECT_EQ(v2->files[0].extent, v1->files[0].extent);
  EXPECT_EQ(ContentOf(m_image, v2->files[0]), first);
  EXPECT_EQ(v2->files[1].name, "CH02_0001.DVR");
  EXPECT_EQ(ContentOf(m_image, v2->files[1]), second);
  EXPECT_EQ(v2->files[2].name, "Quendor_setup.exe");
  EXPECT_EQ(ContentOf(m_image, v2->files[2]), player);

  // Standard tools see the newest session and the files' bytes.
  const char* isoinfo = std::getenv("OST_ISOINFO");
  if (isoinfo != nullptr && *isoinfo != '\0') {
    const std::string listing = RunTool(std::string(isoinfo) + " -l -i " + m_image);
    EXPECT_NE(listing.find("CH01_0001.DVR;1"), std::string::npos) << listing;
    EXPECT_NE(listing.find("Quendor_setup.exe;1"), std::string::npos) << listing;
    EXPECT_EQ(RunTool(std::string(isoinfo) + " -i " + m_image + " -x '/CH01_0001.DVR;1'"), first);
    EXPECT_EQ(RunTool(std::string(isoinfo) + " -i " + m_image + " -x '/CH02_0001.DVR;1'"), second);
    EXPECT_NE(RunTool(std::string(isoinfo) + " -d -i " + m_image).find("Volume id: OstrovaBackup"),
              std::string::npos);
  }
  const char* xorriso = std::getenv("OST_XORRISO");
  if (xorriso != nullptr && *xorriso != '\0') {
    const std::string listing =
        RunTool(std::string(xorriso) + " -indev " + m_image + " -ls / 2>&1");
    EXPECT_NE(listing.find("CH02_0001.DVR"), std::string::npos) << listing;
    EXPECT_NE(listing.find("Quendor_setup.exe"), std::string::npos) << listing;
    EXPECT_NE(listing.find("Volume id    : 'OstrovaBackup'"), std::string::npos) << listing;
  }
}

TEST_F(IsoImageTest, RefusesRepeatedNamesAndMissingSources) {
  WriteFile(m_dir + "/a", "x");
  uint32_t start = 0, end = 0;
  std::string error;
  EXPECT_FALSE(AppendSession(m_image, "V",
                             {{"A", {}, 0, 0, m_dir + "/a"}, {"A", {}, 0, 0, m_dir + "/a"}}, &start,
                             &end, &error));
  EXPECT_FALSE(
      AppendSession(m_image, "V", {{"A", {}, 0, 0, m_dir + "/missing"}}, &start, &end, &error));
  EXPECT_FALSE(ReadVolume(FileBlockReader(m_image)));
}

TEST_F(IsoImageTest, ManyFilesSpanDirectoryBlocks) {
  WriteFile(m_dir + "/a", "abc");
  std::vector<SessionFile> files;
  for (int i = 0; i < 120; ++i) {
    char name[40];
    std::snprintf(name, sizeof name, "CH%02d_%04d_LONGER_NAME.DVR", i % 16, i);
    files.push_back({name, {}, 0, 0, m_dir + "/a"});
  }
  uint32_t start = 0, end = 0;
  std::string error;
  ASSERT_TRUE(AppendSession(m_image, "OstrovaBackup", files, &start, &end, &error)) << error;
  auto v = ReadVolume(FileBlockReader(m_image));
  ASSERT_TRUE(v);
  ASSERT_EQ(v->files.size(), 120u);
  for (const IsoFile& f : v->files) EXPECT_EQ(ContentOf(m_image, f), "abc") << f.name;
}
