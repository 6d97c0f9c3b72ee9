#include "record/record_file_writer.h"

#include <cstring>

RecordFileWriter::RecordFileWriter()
    : m_FrameBuffer(recfmt::kMaxRecordHeadBytes + recfmt::kMaxFrameBytes) {}

void RecordFileWriter::Attach(std::unique_ptr<RecordFile> file, std::string path,
                              RecordFileSystem* fs) {
  m_file = std::move(file);
  m_strPath = std::move(path);
  m_fs = fs;
  m_fHeaderWritten = false;
  m_dwFrameNumber = 0;
  m_dwFileSize = 0;
  m_Index.clear();
  m_Stamps.clear();
}

uint32_t RecordFileWriter::WriteRecordHeader(const RecordHeaderValues& values) {
  m_Header = MakeRecordFileHeader(values);
  uint8_t bytes[recfmt::kFirstFrameOffset];
  std::memcpy(bytes, &m_Header, sizeof m_Header);
  std::memcpy(bytes + sizeof m_Header, kRecordHeaderTail.data(), kRecordHeaderTail.size());
  return m_file->WriteAt(0, bytes, sizeof bytes) ? static_cast<uint32_t>(sizeof bytes) : 0;
}

bool RecordFileWriter::RewriteHeader() {
  return m_file->WriteAt(0, &m_Header, sizeof m_Header);
}

bool RecordFileWriter::UpdateFirstFrame(uint32_t timeStamp) {
  m_Header.dwFirstTimeStamp = timeStamp;
  return RewriteHeader();
}

bool RecordFileWriter::UpdateRecordClose(uint32_t frameCount, uint32_t lastTimeStamp) {
  m_Header.dwFrameCount = frameCount;
  m_Header.dwLastTimeStamp = lastTimeStamp;
  return RewriteHeader();
}

uint32_t RecordFileWriter::WriteRecordFrame(const RECORD_FRAME_INFO& info, const uint8_t* jpeg,
                                            uint32_t length) {
  if (length > recfmt::kMaxFrameBytes) return 0;
  if (info.dwFrameNumber == 1 && !UpdateFirstFrame(info.dwTimeStamp)) return 0;
  std::array<uint8_t, recfmt::kMaxRecordHeadBytes> head;
  RECORD_FRAME_INFO numbered = info;
  numbered.dwLength = length;
  const size_t headLength = BuildFrameRecordHead(numbered, head);
  std::memcpy(m_FrameBuffer.data(), head.data(), headLength);
  if (length) std::memcpy(m_FrameBuffer.data() + headLength, jpeg, length);
  const size_t total = headLength + length;
  if (!m_file->WriteAt(m_dwFileSize, m_FrameBuffer.data(), total)) return 0;
  return static_cast<uint32_t>(total);
}

bool RecordFileWriter::WriteRecordIndex(const uint32_t* offsets, uint32_t frameCount) {
  const std::vector<uint8_t> index = BuildRecordIndex(offsets, frameCount);
  return m_file->WriteAt(m_dwFileSize, index.data(), index.size());
}

bool RecordFileWriter::OpenHeader(const RecordHeaderValues& values) {
  if (!m_file) return false;
  m_dwFileSize = 0;
  if (WriteRecordHeader(values) != recfmt::kFirstFrameOffset) {
    m_file.reset();
    if (m_fs) m_fs->Remove(m_strPath);
    return false;
  }
  m_fHeaderWritten = true;
  m_dwFrameNumber = 0;
  m_dwFileSize = recfmt::kFirstFrameOffset;
  m_Index.assign(1, recfmt::kFirstFrameOffset);
  m_Index.reserve(recfmt::kMaxFramesPerFile + 1);
  m_Stamps.clear();
  m_Stamps.reserve(recfmt::kMaxFramesPerFile);
  return true;
}

bool RecordFileWriter::WriteFrame(const RECORD_FRAME_INFO& slotInfo, const uint8_t* jpeg) {
  if (!m_file || !m_fHeaderWritten) return false;
  RECORD_FRAME_INFO info = slotInfo;
  info.dwFrameNumber = m_dwFrameNumber + 1;
  const uint32_t written = WriteRecordFrame(info, jpeg, slotInfo.dwLength);
  if (!written) {
    m_file->Truncate(m_dwFileSize);
    if (m_dwFrameNumber == 0) m_Header.dwFirstTimeStamp = 0;
    return false;
  }
  m_dwFrameNumber = info.dwFrameNumber;
  m_dwFileSize += written;
  m_Index.push_back(m_dwFileSize);
  m_Stamps.push_back(info.dwTimeStamp);
  return true;
}

bool RecordFileWriter::FinishAndClose(const RecordHeaderValues& values, uint32_t* framesOut) {
  if (framesOut) *framesOut = 0;
  if (!m_file) return false;
  if (!m_fHeaderWritten && !OpenHeader(values)) return false;
  uint32_t frames = m_dwFrameNumber;
  for (;;) {
    m_dwFileSize = m_Index[frames];
    const uint32_t last = frames ? m_Stamps[frames - 1] : 0;
    if (frames == 0) m_Header.dwFirstTimeStamp = 0;
    if (m_file->Truncate(m_dwFileSize) && UpdateRecordClose(frames, last) &&
        WriteRecordIndex(m_Index.data(), frames))
      break;
    if (frames == 0) {
      // Not even the count fits: no file is better than a broken one.
      m_file.reset();
      if (m_fs) m_fs->Remove(m_strPath);
      Abandon();
      return false;
    }
    --frames;
  }
  m_file->Flush();
  m_file.reset();
  m_fHeaderWritten = false;
  m_dwFrameNumber = 0;
  m_dwFileSize = 0;
  m_Index.clear();
  m_Stamps.clear();
  if (framesOut) *framesOut = frames;
  return true;
}

void RecordFileWriter::Abandon() {
  m_file.reset();
  m_fHeaderWritten = false;
  m_dwFrameNumber = 0;
  m_dwFileSize = 0;
  m_Index.clear();
  m_Stamps.clear();
}
