// The folder chooser "Destination Path": a tree of the drives, their folders and the network
// neighbourhood, filled as far as the user opens it.  The chosen folder always ends in a
// backslash.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/dialog.h"
#include "tools/folder_tree.h"

class CDlgGetPath : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 280;
  static constexpr int kTree = 1315;
  static constexpr UINT kImagesBitmap = 281;

  explicit CDlgGetPath(HWND parent);
  ~CDlgGetPath() override;

  // The start folder; call before the modal run.  The tree opens at it when it is a folder on
  // a local drive.
  void SetPath(std::string path) { m_strPath = std::move(path); }
  // After OK (1): the selected folder, or the start folder when nothing was selected.
  std::string GetPath() const { return m_strPath; }

  // The file system and network the tree is filled from (default: the platform's); call before
  // the modal run.  The dialog does not own them.
  void UseSources(FolderSource* files, NetworkProvider* network);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  HTREEITEM InsertItem(HTREEITEM parent, FolderTree::Item& item);
  // Fills the item from the file system or the network and shows what was found.
  bool PopulateTree(FolderTree::Item& item);
  LRESULT OnItemexpandingTree(const NMTREEVIEWA& nm);
  void OnSelchangingTree(const NMTREEVIEWA& nm);
  LRESULT OnCustomDrawTree(NMTVCUSTOMDRAW& draw);
  FolderTree::Item* SelectedItem() const;
  void OpenStartFolder();

  HWND m_tree = nullptr;
  HIMAGELIST m_imageList = nullptr;
  HTREEITEM m_hNetworkRoot = nullptr;
  std::string m_strPath;

  std::unique_ptr<FolderSource> m_platformFiles;
  std::unique_ptr<NetworkProvider> m_platformNetwork;
  FolderSource* m_files = nullptr;
  NetworkProvider* m_network = nullptr;
  std::unique_ptr<FolderTree> m_model;
  std::unordered_map<const FolderTree::Item*, HTREEITEM> m_handles;
  HBRUSH m_hFace = nullptr;
};
