// A search-as-you-type list: a panel with an edit box over the top of a
// dialog's list box shows only the items whose text contains what the user
// typed, with a shown-of-total counter in the edit. The dialog keeps talking
// to its list box; the list-box messages below act on the full item set.
#pragma once

#include <windows.h>
#include <stdint.h>

#include <string>

#include "sdk/search_list_items.h"

constexpr char kSearchListBoxClass[] = "SearchListBoxClass_Plugin";

// Messages of a list box with a search list, besides the list-box messages
// it answers for the full item set.
enum : UINT {
  SLB_GETFULLCOUNT = 1124,      // number of all items
  SLB_SETSORTED = 1125,         // wParam != 0: keep the items in lstrcmpA order
  SLB_GETFULLITEMDATA = 1126,   // item data of full item wParam; -1 out of range
  SLB_DELETEFULLITEM = 1127,    // deletes full item wParam; 0
  SLB_GETFULLTEXT = 1128,       // copies the text of full item wParam to lParam; its length or -1
  SLB_GETFULLINDEX = 1129,      // full index of shown item wParam; -1 out of range
};

// Icons of the host's resources that the panel shows.
enum : int {
  kSearchClearIcon = 20053,
  kSearchIdleIcon = 20054,
  kSearchActiveIcon = 20055,
};

// The items a check-list control hands to the search list of its list box:
// the list box's "CHECKLISTDATA" property (named by CheckListAtom()) holds a
// pointer to this header, nothing more. Texts and item data are all a search
// list needs of a check-list item, so that is all a record carries. The
// search list copies the records when it attaches, so they need to live only
// until CreateSearchListBox returns; a record without a text is skipped.
struct CheckListRecord {
  const char* text;
  uint32_t data;
};
struct CheckListData {
  int count;
  const CheckListRecord* records;  // count records
};

// Window procedures of the taken-over list box, the panel's class and the
// search edit box.
LRESULT CALLBACK SearchListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SearchPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SearchEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class SearchListBox {
 public:
  explicit SearchListBox(HWND list);
  SearchListBox(const SearchListBox&) = delete;
  SearchListBox& operator=(const SearchListBox&) = delete;
  virtual ~SearchListBox();

  // Reached through the window property on the list box and the panel.
  static SearchListBox* FromWindow(HWND window);

  bool Attach();
  // Gives the list box back its own procedure and drops the properties.
  void Detach();
  // Empties a non-empty search text; false when it was empty already.
  bool ClearSearchText();
  void TogglePanel();

  HWND Panel() const { return panel_; }
  HWND Edit() const { return edit_; }
  HWND SearchIcon() const { return searchIcon_; }
  HWND ClearIcon() const { return clearIcon_; }
  HWND Counter() const { return counter_; }
  HWND IconLabel() const { return iconLabel_; }
  bool PanelShown() const { return panelShown_; }
  const SearchListItems& Items() const { return items_; }

 private:
  friend LRESULT CALLBACK SearchListProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK SearchPanelProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK SearchEditProc(HWND, UINT, WPARAM, LPARAM);

  // The taken-over list box, the panel and the edit box.
  LRESULT ListProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT PanelProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT EditProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OwnList(UINT message, WPARAM wParam, LPARAM lParam) const;

  static constexpr int kEditId = 100, kSearchIconId = 101, kClearIconId = 102, kCounterId = 103,
                       kIconLabelId = 104;
  static constexpr int kIconSize = 16;
  static constexpr int kEditRightMargin = 16;

  void ReadListBoxItems();
  void ReadCheckListItems(const CheckListData& checkList);
  void MeasurePanel();
  bool CreatePanel();
  void CreatePanelChildren();
  void StoreProperty(HWND window);

  LRESULT InsertItem(const char* text, int at);
  LRESULT DeleteShownItem(WPARAM shownIndex);
  void DeleteFullItem(int fullIndex);
  void ResetItems();

  void OnSearchTextChanged();
  void Refilter();
  void RememberSelection();
  void RefillList();
  void FitHorizontalExtent();
  void UpdateCounter();
  void UpdateIcons();
  void ScrollSelectionToTop();
  void ShowPanel();
  void HidePanel();
  bool Multiple() const;

  SearchListItems items_;
  HWND panel_ = nullptr;
  HWND list_;
  HWND edit_ = nullptr;
  HWND searchIcon_ = nullptr;
  HWND clearIcon_ = nullptr;
  HWND counter_ = nullptr;
  // The panel's second label beside the counter; hidden, as nothing gives it
  // an icon yet.
  HWND iconLabel_ = nullptr;
  HBRUSH backgroundBrush_ = nullptr;
  COLORREF backgroundColour_ = 0;
  int panelHeight_ = 18;
  int overlap_ = 0;
  RECT listRect_ = {};
  WNDPROC ownListProc_ = nullptr;
  WNDPROC ownEditProc_ = nullptr;
  HGLOBAL property_ = nullptr;
  bool panelShown_ = false;
  bool redraw_ = true;
};

// Adds the two property atoms and registers the panel's class unless it
// exists; the "SEARCHLISTDATA" atom, or 0 when registration failed.
ATOM RegisterSearchListBoxClass();
// Undoes what RegisterSearchListBoxClass did, atoms included, so a reloaded
// plug-in registers afresh.
void UnregisterSearchListBoxClass();
// The "CHECKLISTDATA" atom while the class is registered, else 0.
ATOM CheckListAtom();

// Attaches a search list to the list box, with the items of its check-list
// when it has one (CheckListData), else with its own; an attached list box
// keeps its own search list. The list box's object, or null when it could
// not be attached.
SearchListBox* CreateSearchListBox(HWND list);
// 1 when the list box has a search list (its text is emptied), else 0.
int ClearSearch(HWND list);
void DestroySearchListBox(HWND list);
