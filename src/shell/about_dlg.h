#pragma once
// The About box: the program's name, when and for which processor width it was built,
// and a link to the maker's web page. Modal, from template 100.
//
// Threadsafety: user-interface thread only.

#include <windows.h>

#include "shell/framework/dialog.h"
#include "shell/framework/hyperlink.h"

class CAboutDlg : public CDialog {
 public:
  // Icon 128 comes from `resources`, the module the template is taken from.
  explicit CAboutDlg(HINSTANCE resources) : m_resources(resources) {}
  ~CAboutDlg() override;

 private:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnInitDialog();
  void ShowIcon();
  void MakeTitleBold();
  void SetBuildLine();

  const HINSTANCE m_resources;
  CHyperLink m_link{RGB(0, 0, 255), RGB(128, 0, 128)};
  HICON m_icon = nullptr;
  HFONT m_boldFont = nullptr;
};
