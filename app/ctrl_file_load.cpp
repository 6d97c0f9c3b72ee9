// The program's "CtrlFile.ini": read at start-up beside the executable, kept until the end.
#include "app/ctrl_file_load.h"

#include <cstdio>
#include <memory>

#include "app/app_data.h"
#include "platform/module_path.h"
#include "net/control_message_texts.h"
#include "net/ctrl_file.h"
#include "platform/message_box.h"

namespace {

CtrlFileContents g_CtrlFile;
std::array<const CtrlDeviceRecord*, kModelRowCount> g_ModelLinks{};

void ShowLoaderMessage(uint32_t id) {
  OstMessageBox(ControlMessageText(id));
}

bool ReadWholeFile(const std::string& path, std::string& text, bool& opened) {
  struct Closer {
    void operator()(FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<FILE, Closer> f(std::fopen(path.c_str(), "rb"));
  opened = f != nullptr;
  if (!f) return false;
  char chunk[8192];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) text.append(chunk, n);
  return std::ferror(f.get()) == 0;
}

}  // namespace

int LoadCtrlFile() {
  FreeCtrlDeviceRecords();
  std::string text;
  bool opened = false;
  if (!ReadWholeFile(ExecutableFolder() + "CtrlFile.ini", text, opened)) {
    ShowLoaderMessage(kMsgOpenCtrlFileFailed);
    return 0;
  }
  ParseCtrlFileText(text, g_CtrlFile, ShowLoaderMessage);
  if (g_lpApp) {
    g_lpApp->dwCtrlDeviceCount = static_cast<uint32_t>(g_CtrlFile.records.size());
    g_lpApp->lp_CtrlDeviceRecords =
        g_CtrlFile.records.empty() ? nullptr : g_CtrlFile.records.data();
  }
  return 1;
}

int MapProtocolsToDevices() {
  g_ModelLinks = MapProtocolsToDevices(g_CtrlFile.records);
  return 1;
}

const CtrlDeviceRecord* ModelDeviceRecord(uint8_t modelRow) {
  return modelRow < kModelRowCount ? g_ModelLinks[modelRow] : nullptr;
}

void FreeCtrlDeviceRecords() {
  g_ModelLinks = {};
  g_CtrlFile = CtrlFileContents{};
  if (g_lpApp) {
    g_lpApp->dwCtrlDeviceCount = 0;
    g_lpApp->lp_CtrlDeviceRecords = nullptr;
  }
}
