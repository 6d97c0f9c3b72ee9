// One open record file: its header image, the index of its frames and the five write
// operations. Every write is checked; a failed write leaves the file ending after its last whole
// frame record, and the close always leaves a header, an index and a count that agree.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "record/record_file_format.h"
#include "record/record_file_system.h"

class RecordFileWriter {
 public:
  RecordFileWriter();
  RecordFileWriter(const RecordFileWriter&) = delete;
  RecordFileWriter& operator=(const RecordFileWriter&) = delete;

  // Takes a newly created, empty file. The header is written by OpenHeader.
  void Attach(std::unique_ptr<RecordFile> file, std::string path, RecordFileSystem* fs);
  bool IsOpen() const { return m_file != nullptr; }
  bool HeaderWritten() const { return m_fHeaderWritten; }
  const std::string& Path() const { return m_strPath; }
  uint32_t FramesInFile() const { return m_dwFrameNumber; }
  uint32_t FileSize() const { return m_dwFileSize; }
  uint32_t LastTimeStamp() const { return m_Stamps.empty() ? 0 : m_Stamps.back(); }

  // Writes the header, the extension block and the end word; the index starts at 90. False when
  // the header could not be written: the file is then removed and the writer closed.
  bool OpenHeader(const RecordHeaderValues& values);
  // Writes one frame as the next frame of the file (its number given here). False when the
  // write failed: the file is cut back to its last whole record and stays open for the close.
  bool WriteFrame(const RECORD_FRAME_INFO& slotInfo, const uint8_t* jpeg);
  // Writes the header (when not yet written), the frame count, the last time stamp, the index
  // and the count, and closes the file. On a full disk the newest frames are given up until the
  // index fits. False when no file remains (its header could not be written); frames: the
  // number of frames the closed file holds.
  bool FinishAndClose(const RecordHeaderValues& values, uint32_t* frames);
  // Closes without finishing (only for a file whose header was never written).
  void Abandon();

  // The file operations, each one write call.
  uint32_t WriteRecordHeader(const RecordHeaderValues& values);  // bytes written: 90, or 0
  bool UpdateFirstFrame(uint32_t timeStamp);
  bool UpdateRecordClose(uint32_t frameCount, uint32_t lastTimeStamp);
  uint32_t WriteRecordFrame(const RECORD_FRAME_INFO& info, const uint8_t* jpeg, uint32_t length);
  bool WriteRecordIndex(const uint32_t* offsets, uint32_t frameCount);

 private:
  bool RewriteHeader();

  std::unique_ptr<RecordFile> m_file;
  RecordFileSystem* m_fs = nullptr;
  std::string m_strPath;
  RECORD_FILE_HEADER m_Header{};
  bool m_fHeaderWritten = false;
  uint32_t m_dwFrameNumber = 0;
  uint32_t m_dwFileSize = 0;
  std::vector<uint32_t> m_Index;   // m_Index[k]: offset of frame k+1's record; then the end
  std::vector<uint32_t> m_Stamps;  // time stamp of each frame written
  std::vector<uint8_t> m_FrameBuffer;
};
