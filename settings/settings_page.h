// The base of every page of the settings sheet. The sheet gives a page its context (block
// copies, snapshot, session, client settings) before the page's window is made; the page
// loads its controls in Load, and Store writes the controls into the block copies and lists
// what the sheet is to send. The sheet alone decides when and in which order pages store and
// what is sent.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/property_page.h"
#include "settings/sheet_context.h"

// One send of an apply: a block of the copies (option), or a command of the page's own.
struct PageSend {
  uint8_t option = kSysCfgAll;
  std::function<bool()> command;  // used when option is kSysCfgAll; true when accepted
};

// A web port and server text the client moves to once the device accepted a new address.
struct PendingAddress {
  std::optional<uint16_t> port;
  std::optional<std::string> server;
};

// What a page's Store asks of the sheet.
struct PageChanges {
  // Sent in this order; the first failure stops the page's sends.
  std::vector<PageSend> sends;
  // Told once on a failed send: a string id, or a literal text when failureText is set.
  UINT failureMessage = 4012;
  std::string failureText;
  // The control-device list is rebuilt from this page's block once all its sends succeeded.
  bool controlListChanged = false;
  // The device's address, port or address mode changed: the sheet waits for the device.
  bool addressChanged = false;
  // Taken over by the session with the reply to the send of pendingWith, and forgotten when
  // that send fails.
  std::optional<PendingAddress> pending;
  uint8_t pendingWith = kSysCfgIp;
};

class SettingsPage : public ost::PropertyPage {
 public:
  SettingsPage(UINT templateId, std::string caption);

  // Set by the sheet before the window is made.
  void SetContext(const SheetContext& context) { m_context = context; }
  const SheetContext& Context() const { return m_context; }

  // Fills the controls from the block copies (and the client settings); runs once when the
  // window is made.
  virtual void Load() {}
  // Reads the controls, writes what differs from the snapshot into the block copies and lists
  // the sends. Called only for a page whose window exists. False: nothing is to be sent.
  virtual bool Store(PageChanges& changes) {
    (void)changes;
    return true;
  }
  // A send the page asks for at once (the time server's "now"); false: nothing to send.
  virtual bool StoreNow(PageChanges& changes) {
    (void)changes;
    return false;
  }

 protected:
  // Runs the base initialisation, then Load.
  BOOL OnInitDialog() override;

  std::span<uint8_t> Block(uint8_t option) const { return m_context.blocks[option]; }
  std::span<const uint8_t> Snapshot(uint8_t option) const {
    return m_context.snapshot ? (*m_context.snapshot)[option] : std::span<const uint8_t>{};
  }
  const SheetDevice& Device() const { return m_context.device; }
  // The running program as the sheet hands it (the base's answers when it hands none).
  SheetProgram& Program() const;
  // A modal dialog of the page (an edit dialog): through the sheet, which is then not deleted
  // before it returns.
  INT_PTR RunModal(ost::Dialog& dialog) {
    return m_context.runModal ? m_context.runModal(dialog) : dialog.DoModal();
  }

 private:
  SheetContext m_context;
};

// A page that is not built yet: its caption in the tree, a line that says so, nothing sent.
class PlaceholderPage : public SettingsPage {
 public:
  explicit PlaceholderPage(std::string caption);

 protected:
  BOOL OnInitDialog() override;
};
