#include "tools/dlg_get_path.h"

#include "tools/folder_sources_win32.h"
#include "tools/tool_colours.h"

namespace {

constexpr int kImageWidth = 17;
constexpr COLORREF kImageMask = RGB(255, 255, 255);
// The selection while the tree does not have the focus: the accent, darker.
constexpr COLORREF kToolSelection = RGB(0x14, 0x87, 0x7D);

}  // namespace

CDlgGetPath::CDlgGetPath(HWND parent)
    : ost::Dialog(kTemplateId, parent),
      m_platformFiles(std::make_unique<Win32FolderSource>()),
      m_platformNetwork(std::make_unique<WNetNetworkProvider>()),
      m_files(m_platformFiles.get()),
      m_network(m_platformNetwork.get()),
      m_hFace(::CreateSolidBrush(kToolFace)) {
  MapMessage(WM_NOTIFY, [this](WPARAM, LPARAM lp) -> LRESULT {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom != static_cast<UINT_PTR>(kTree)) return 0;
    if (header->code == NM_CUSTOMDRAW)
      return OnCustomDrawTree(*reinterpret_cast<NMTVCUSTOMDRAW*>(lp));
    // The layouts of the A and W forms agree in every field read here.
    const auto& nm = *reinterpret_cast<const NMTREEVIEWA*>(lp);
    switch (header->code) {
      case TVN_ITEMEXPANDINGA:
      case TVN_ITEMEXPANDINGW:
        return OnItemexpandingTree(nm);
      case TVN_SELCHANGINGA:
      case TVN_SELCHANGINGW:
        OnSelchangingTree(nm);
        return 0;
      default:
        return 0;
    }
  });
}

CDlgGetPath::~CDlgGetPath() {
  if (m_imageList != nullptr) ::ImageList_Destroy(m_imageList);
  ::DeleteObject(m_hFace);
}

void CDlgGetPath::UseSources(FolderSource* files, NetworkProvider* network) {
  m_files = files != nullptr ? files : m_platformFiles.get();
  m_network = network;
}

BOOL CDlgGetPath::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_tree = ::GetDlgItem(m_hWnd, kTree);
  if (m_imageList == nullptr)
    m_imageList =
        ::ImageList_LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kImagesBitmap),
                               kImageWidth, 1, kImageMask, IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (m_imageList != nullptr) {
    ::ImageList_SetBkColor(m_imageList, CLR_NONE);
    TreeView_SetImageList(m_tree, m_imageList, TVSIL_NORMAL);
  }
  TreeView_SetBkColor(m_tree, ost::kEditBack);
  TreeView_SetTextColor(m_tree, ost::kEditText);
  TreeView_SetLineColor(m_tree, ost::kEditFrame);
  TreeView_SetItemHeight(m_tree, 20);

  m_handles.clear();
  m_model = std::make_unique<FolderTree>(*m_files, m_network);
  m_model->Init();
  for (const auto& root : m_model->Roots()) {
    const HTREEITEM handle = InsertItem(TVI_ROOT, *root);
    if (root->networkRoot) m_hNetworkRoot = handle;
  }
  OpenStartFolder();
  return TRUE;
}

void CDlgGetPath::OpenStartFolder() {
  const FolderTree::Located found =
      m_model->Locate(m_strPath, [this](FolderTree::Item& item) { return PopulateTree(item); });
  for (size_t i = 0; i + 1 < found.chain.size(); ++i)
    TreeView_Expand(m_tree, m_handles[found.chain[i]], TVE_EXPAND);
  if (!found.whole) return;
  const HTREEITEM start = m_handles[found.chain.back()];
  TreeView_SelectItem(m_tree, start);
  TreeView_EnsureVisible(m_tree, start);
}

HTREEITEM CDlgGetPath::InsertItem(HTREEITEM parent, FolderTree::Item& item) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;  // the model keeps the tree's order
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<char*>(item.text.c_str());
  insert.item.iImage = item.image;
  insert.item.iSelectedImage = item.selectedImage;
  insert.item.lParam = reinterpret_cast<LPARAM>(&item);
  insert.item.cChildren = 1;
  const auto handle = reinterpret_cast<HTREEITEM>(
      ::SendMessageA(m_tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  m_handles[&item] = handle;
  return handle;
}

bool CDlgGetPath::PopulateTree(FolderTree::Item& item) {
  const HTREEITEM handle = m_handles[&item];
  const bool added = m_model->Fill(item);
  for (const auto& child : item.children)
    if (m_handles.find(child.get()) == m_handles.end()) InsertItem(handle, *child);
  if (!item.childButton) {
    TVITEMA noButton{};
    noButton.mask = TVIF_CHILDREN;
    noButton.hItem = handle;
    noButton.cChildren = 0;
    ::SendMessageA(m_tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&noButton));
  }
  return added;
}

LRESULT CDlgGetPath::OnItemexpandingTree(const NMTREEVIEWA& nm) {
  if (nm.action != TVE_EXPAND) return 0;
  auto* item = reinterpret_cast<FolderTree::Item*>(nm.itemNew.lParam);
  if (item == nullptr || !item->children.empty()) return 0;
  const HCURSOR before = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  PopulateTree(*item);
  ::SetCursor(before);
  if (TreeView_GetSelection(m_tree) != nm.itemNew.hItem)
    TreeView_SelectItem(m_tree, nm.itemNew.hItem);
  return 0;
}

void CDlgGetPath::OnSelchangingTree(const NMTREEVIEWA& nm) {
  const auto* item = reinterpret_cast<const FolderTree::Item*>(nm.itemNew.lParam);
  if (item != nullptr)
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FolderTree::AcceptsItem(*item) ? TRUE : FALSE);
}

LRESULT CDlgGetPath::OnCustomDrawTree(NMTVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && (draw.nmcd.uItemState & CDIS_SELECTED)) {
    // The selection in the skin's accent, with or without the focus.
    draw.clrText = RGB(0xFF, 0xFF, 0xFF);
    draw.clrTextBk = ::GetFocus() == m_tree ? kToolBar : kToolSelection;
  }
  return CDRF_DODEFAULT;
}

FolderTree::Item* CDlgGetPath::SelectedItem() const {
  if (m_tree == nullptr) return nullptr;
  const HTREEITEM selected = TreeView_GetSelection(m_tree);
  if (selected == nullptr) return nullptr;
  TVITEMA tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = selected;
  if (!::SendMessageA(m_tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return reinterpret_cast<FolderTree::Item*>(tv.lParam);
}

void CDlgGetPath::OnOK() {
  // Enter reaches OK even while the button is disabled: a network item is never a folder.
  if (const FolderTree::Item* item = SelectedItem(); item && !FolderTree::AcceptsItem(*item))
    return;
  EndDialog(IDOK);
}

LRESULT CDlgGetPath::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    if (const FolderTree::Item* item = SelectedItem()) m_strPath = FolderTree::ItemPath(*item);
  }
  return ost::Dialog::WindowProc(msg, wp, lp);
}

HBRUSH CDlgGetPath::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (HBRUSH face = ToolDialogColours(dc, control, type, m_hFace)) return face;
  return ost::Dialog::OnCtlColor(dc, control, type);
}
