#include "tests/disc/iso_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace isoimage {

namespace {

constexpr uint32_t kDescriptorBlock = 16;
constexpr size_t kMaxRootBytes = 1 << 20;

void Put16Both(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}
void Put32Le(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put32Be(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * (3 - i)));
}
void Put32Both(uint8_t* p, uint32_t v) {
  Put32Le(p, v);
  Put32Be(p + 4, v);
}
uint32_t Get32Le(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void PutPadded(uint8_t* p, size_t n, const std::string& s) {
  std::memset(p, ' ', n);
  std::memcpy(p, s.data(), std::min(n, s.size()));
}

// A directory record; `id` is the identifier's bytes.
std::vector<uint8_t> DirRecord(const std::string& id, uint32_t extent, uint32_t size,
                               const IsoTime& t, bool directory) {
  const size_t len = 33 + id.size() + (id.size() % 2 == 0 ? 1 : 0);
  std::vector<uint8_t> r(len, 0);
  r[0] = static_cast<uint8_t>(len);
  Put32Both(&r[2], extent);
  Put32Both(&r[10], size);
  r[18] = static_cast<uint8_t>(t.year);
  r[19] = static_cast<uint8_t>(t.month + 1);
  r[20] = static_cast<uint8_t>(t.day);
  r[21] = static_cast<uint8_t>(t.hour);
  r[22] = static_cast<uint8_t>(t.minute);
  r[23] = static_cast<uint8_t>(t.second);
  r[25] = directory ? 2 : 0;
  Put16Both(&r[28], 1);
  r[32] = static_cast<uint8_t>(id.size());
  std::memcpy(&r[33], id.data(), id.size());
  return r;
}

// Lays records into blocks: a record never crosses a block's end.
std::vector<uint8_t> PackRecords(const std::vector<std::vector<uint8_t>>& records) {
  std::vector<size_t> at;
  size_t pos = 0;
  for (const auto& r : records) {
    if (pos % kBlock + r.size() > kBlock) pos = (pos / kBlock + 1) * kBlock;
    at.push_back(pos);
    pos += r.size();
  }
  const size_t blocks = pos == 0 ? 1 : (pos + kBlock - 1) / kBlock;
  std::vector<uint8_t> out(blocks * kBlock, 0);
  for (size_t i = 0; i < records.size(); ++i)
    std::memcpy(out.data() + at[i], records[i].data(), records[i].size());
  return out;
}

void PutVolumeTime(uint8_t* p) {
  std::memcpy(p, "0000000000000000", 16);
  p[16] = 0;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool WriteAt(std::FILE* f, uint64_t offset, const uint8_t* data, size_t n) {
  if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fwrite(data, 1, n, f) == n;
}

}  // namespace

std::optional<IsoVolume> ReadVolume(const BlockReader& read) {
  uint8_t pvd[kBlock];
  if (!read(kDescriptorBlock, 1, pvd)) return std::nullopt;
  if (pvd[0] != 1 || std::memcmp(pvd + 1, "CD001", 5) != 0 || pvd[6] != 1) return std::nullopt;
  if (pvd[128] != 0x00 || pvd[129] != 0x08) return std::nullopt;  // 2048-byte blocks
  IsoVolume v;
  size_t idLen = 32;
  while (idLen > 0 && (pvd[40 + idLen - 1] == ' ' || pvd[40 + idLen - 1] == 0)) --idLen;
  v.volumeId.assign(reinterpret_cast<const char*>(pvd + 40), idLen);
  v.volumeBlocks = Get32Le(pvd + 80);
  const uint8_t* root = pvd + 156;
  if (root[0] < 34) return std::nullopt;
  v.rootExtent = Get32Le(root + 2);
  const uint32_t rootSize = Get32Le(root + 10);
  if (rootSize == 0 || rootSize > kMaxRootBytes || rootSize % kBlock != 0) return std::nullopt;
  std::vector<uint8_t> dir(rootSize);
  if (!read(v.rootExtent, rootSize / kBlock, dir.data())) return std::nullopt;
  size_t pos = 0;
  while (pos < dir.size()) {
    const size_t len = dir[pos];
    const size_t blockEnd = (pos / kBlock + 1) * kBlock;
    if (len == 0) {
      pos = blockEnd;
      continue;
    }
    if (len < 34 || pos + len > blockEnd) return std::nullopt;
    const uint8_t* r = &dir[pos];
    const size_t nameLen = r[32];
    if (33 + nameLen > len) return std::nullopt;
    const bool self = nameLen == 1 && (r[33] == 0 || r[33] == 1);
    if (!self) {
      IsoFile f;
      f.name.assign(reinterpret_cast<const char*>(r + 33), nameLen);
      if (f.name.size() >= 2 && f.name.compare(f.name.size() - 2, 2, ";1") == 0)
        f.name.resize(f.name.size() - 2);
      f.extent = Get32Le(r + 2);
      f.size = Get32Le(r + 10);
      f.time.year = r[18];
      f.time.month = std::max(1, static_cast<int>(r[19])) - 1;
      f.time.day = r[20];
      f.time.hour = r[21];
      f.time.minute = r[22];
      f.time.second = r[23];
      f.directory = (r[25] & 2) != 0;
      v.files.push_back(std::move(f));
    }
    pos += len;
  }
  return v;
}

BlockReader FileBlockReader(const std::string& imagePath) {
  return [imagePath](uint32_t lba, uint32_t blocks, uint8_t* out) {
    File f(std::fopen(imagePath.c_str(), "rb"));
    if (!f) return false;
    if (std::fseek(f.get(), static_cast<long>(static_cast<uint64_t>(lba) * kBlock), SEEK_SET) != 0)
      return false;
    const size_t n = static_cast<size_t>(blocks) * kBlock;
    return std::fread(out, 1, n, f.get()) == n;
  };
}

bool AppendSession(const std::string& imagePath, const std::string& volumeId,
                   const std::vector<SessionFile>& files, uint32_t* sessionStart, uint32_t* end,
                   std::string* error) {
  auto fail = [&](const std::string& why) {
    *error = why;
    return false;
  };
  // ISO 9660 wants the root's entries sorted by name.
  std::vector<SessionFile> sorted = files;
  std::sort(sorted.begin(), sorted.end(),
            [](const SessionFile& a, const SessionFile& b) { return a.name < b.name; });
  for (size_t i = 0; i < sorted.size(); ++i) {
    if (sorted[i].name.empty() || sorted[i].name.size() > 200) return fail("bad name");
    if (i > 0 && sorted[i].name == sorted[i - 1].name) return fail("name twice: " + sorted[i].name);
  }

  File image(std::fopen(imagePath.c_str(), "rb+"));
  if (!image) image.reset(std::fopen(imagePath.c_str(), "wb+"));
  if (!image) return fail("cannot open " + imagePath);
  std::fseek(image.get(), 0, SEEK_END);
  const long imageBytes = std::ftell(image.get());
  if (imageBytes < 0) return fail("cannot size " + imagePath);
  const uint32_t start = static_cast<uint32_t>((imageBytes + kBlock - 1) / kBlock);

  // New files' data, after the descriptors, the path tables and the root directory.
  std::vector<uint8_t> contents;
  std::vector<uint32_t> dataOffset(sorted.size(), 0);
  for (size_t i = 0; i < sorted.size(); ++i) {
    SessionFile& f = sorted[i];
    if (f.sourcePath.empty()) continue;
    File src(std::fopen(f.sourcePath.c_str(), "rb"));
    if (!src) return fail("cannot read " + f.sourcePath);
    dataOffset[i] = static_cast<uint32_t>(contents.size() / kBlock);
    uint8_t buf[65536];
    size_t n = 0, total = 0;
    while ((n = std::fread(buf, 1, sizeof buf, src.get())) > 0) {
      contents.insert(contents.end(), buf, buf + n);
      total += n;
    }
    if (std::ferror(src.get()) || total > 0xFFFFFFFFu) return fail("cannot read " + f.sourcePath);
    f.size = static_cast<uint32_t>(total);
    contents.resize((contents.size() + kBlock - 1) / kBlock * kBlock, 0);
  }

  // The root directory: its size first (its extent is known, the data's follows it).
  const IsoTime now;
  const uint32_t rootExtent = start + 20;
  std::vector<std::vector<uint8_t>> records;
  auto build = [&](uint32_t rootBlocks) {
    records.clear();
    records.push_back(DirRecord(std::string(1, '\0'), rootExtent, rootBlocks * kBlock, now, true));
    records.push_back(DirRecord(std::string(1, '\1'), rootExtent, rootBlocks * kBlock, now, true));
    const uint32_t dataStart = rootExtent + rootBlocks;
    for (size_t i = 0; i < sorted.size(); ++i) {
      const SessionFile& f = sorted[i];
      const uint32_t extent = f.sourcePath.empty() ? f.extent : dataStart + dataOffset[i];
      records.push_back(DirRecord(f.name + ";1", f.size == 0 ? 0 : extent, f.size, f.time, false));
    }
    return PackRecords(records);
  };
  std::vector<uint8_t> root = build(1);
  const uint32_t rootBlocks = static_cast<uint32_t>(root.size() / kBlock);
  root = build(rootBlocks);
  const uint32_t endBlock =
      rootExtent + rootBlocks + static_cast<uint32_t>(contents.size() / kBlock);

  // Path tables: the root alone.
  uint8_t pathL[kBlock] = {}, pathM[kBlock] = {};
  pathL[0] = pathM[0] = 1;
  Put32Le(pathL + 2, rootExtent);
  Put32Be(pathM + 2, rootExtent);
  pathL[6] = 1;
  pathM[7] = 1;

  uint8_t pvd[kBlock] = {};
  pvd[0] = 1;
  std::memcpy(pvd + 1, "CD001", 5);
  pvd[6] = 1;
  PutPadded(pvd + 8, 32, "");
  PutPadded(pvd + 40, 32, volumeId);
  Put32Both(pvd + 80, endBlock);
  Put16Both(pvd + 120, 1);
  Put16Both(pvd + 124, 1);
  Put16Both(pvd + 128, kBlock);
  Put32Both(pvd + 132, 10);
  Put32Le(pvd + 140, start + 18);
  Put32Be(pvd + 148, start + 19);
  const std::vector<uint8_t> rootRecord =
      DirRecord(std::string(1, '\0'), rootExtent, rootBlocks * kBlock, now, true);
  std::memcpy(pvd + 156, rootRecord.data(), 34);
  for (size_t at : {190u, 318u, 446u, 574u}) PutPadded(pvd + at, 128, "");
  for (size_t at : {702u, 739u, 776u}) PutPadded(pvd + at, 37, "");
  for (size_t at : {813u, 830u, 847u, 864u}) PutVolumeTime(pvd + at);
  pvd[881] = 1;
  uint8_t terminator[kBlock] = {};
  terminator[0] = 255;
  std::memcpy(terminator + 1, "CD001", 5);
  terminator[6] = 1;

  std::vector<uint8_t> session(static_cast<size_t>(20) * kBlock, 0);
  std::memcpy(&session[16 * kBlock], pvd, kBlock);
  std::memcpy(&session[17 * kBlock], terminator, kBlock);
  std::memcpy(&session[18 * kBlock], pathL, kBlock);
  std::memcpy(&session[19 * kBlock], pathM, kBlock);
  session.insert(session.end(), root.begin(), root.end());
  session.insert(session.end(), contents.begin(), contents.end());
  const uint64_t at = static_cast<uint64_t>(start) * kBlock;
  if (!WriteAt(image.get(), at, session.data(), session.size())) return fail("cannot write image");
  // The newest session's descriptors where readers look for them.
  if (start != 0 &&
      (!WriteAt(image.get(), uint64_t{kDescriptorBlock} * kBlock, pvd, kBlock) ||
       !WriteAt(image.get(), uint64_t{kDescriptorBlock + 1} * kBlock, terminator, kBlock)))
    return fail("cannot write image");
  if (std::fflush(image.get()) != 0) return fail("cannot write image");
  *sessionStart = start;
  *end = endBlock;
  return true;
}

}  // namespace isoimage
