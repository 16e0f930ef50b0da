#pragma once
// A static control turned into a link that opens its target in the default browser.

#include <windows.h>

#include <string>

// Runs on the thread of the control's dialog. The control is subclassed through its window
// procedure and keeps `this` in GWLP_USERDATA while attached.
class CHyperLink {
 public:
  explicit CHyperLink(COLORREF linkColour = RGB(0, 0, 255),
                      COLORREF visitedColour = RGB(128, 0, 128));
  // Detaches from a control that still exists and releases the font.
  ~CHyperLink();
  CHyperLink(const CHyperLink&) = delete;
  CHyperLink& operator=(const CHyperLink&) = delete;

  // The address opened on a click; an empty target makes the click do nothing.
  void SetHyperLink(std::string target);

  // Attaches to an existing static control, whose text stays the visible label, and adds
  // SS_NOTIFY so that the control receives the mouse. The label is drawn underlined in the
  // link colour (the visited colour after a click), the cursor over it is the hand, and a
  // click opens the target (ShellExecuteA "open"). False when already attached or `control`
  // is not a window.
  bool SubclassWindow(HWND control);

  // The attached control; null before SubclassWindow and after the control is destroyed.
  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void Open();
  void Detach();

  COLORREF m_linkColour;
  COLORREF m_visitedColour;
  std::string m_target;
  bool m_visited = false;
  HFONT m_font = nullptr;
  HCURSOR m_cursor = nullptr;
  WNDPROC m_previousProc = nullptr;
};
