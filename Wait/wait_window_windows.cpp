// The progress window on Windows: a real, hidden top-level window of class
// "TfrmWait" with its two labels, its progress bar and the stop button.
#include <windows.h>
#include <commctrl.h>

#include <string_view>

#include "Wait/wait_window.h"
#include "text/text.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this module's own image

namespace orvel {

namespace {

constexpr char kFormClass[] = "TfrmWait";
constexpr char kFormCaption[] = "frmWait";
constexpr int kClientWidth = 219;
constexpr int kClientHeight = 98;
constexpr int kFontHeight = 12;
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kGlyphSize = 16;
constexpr int kGlyphSpacing = 4;

// The controls, as laid out on the form (positions from the client area's
// top left).
enum ControlId { kLabel3 = 1, kProgressBar, kLblCount, kBtnStop };

struct Control {
  ControlId id;
  const char* window_class;
  DWORD style;
  int left, top, width, height;
  std::string_view text;
};

const Control kControls[] = {
    {kLabel3, "STATIC", SS_LEFT | SS_NOPREFIX, 20, 7, 109, 12, "しばらくお待ちください"_sj},
    {kProgressBar, PROGRESS_CLASSA, WS_TABSTOP, 16, 24, 185, 25, ""},
    {kLblCount, "STATIC", SS_RIGHT | SS_NOPREFIX, 183, 52, 18, 12, "-/-"},
    {kBtnStop, "BUTTON", BS_PUSHBUTTON | BS_OWNERDRAW | WS_TABSTOP, 56, 64, 105, 25,
     "中止(&X)"_sj},
};

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

TfrmWait* FormOf(HWND window) {
  return reinterpret_cast<TfrmWait*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The stop button's glyph: a red cross in a 16 x 16 cell.
void DrawRedCross(HDC dc, int left, int top) {
  HPEN pen = CreatePen(PS_SOLID, 2, kRed);
  HGDIOBJ previous = SelectObject(dc, pen);
  MoveToEx(dc, left + 3, top + 3, nullptr);
  LineTo(dc, left + kGlyphSize - 3, top + kGlyphSize - 3);
  MoveToEx(dc, left + kGlyphSize - 4, top + 3, nullptr);
  LineTo(dc, left + 2, top + kGlyphSize - 3);
  SelectObject(dc, previous);
  DeleteObject(pen);
}

// The stop button draws itself: a push button face, the glyph, then the
// caption with its accelerator underlined, centred together.
void DrawStopButton(const DRAWITEMSTRUCT& item) {
  RECT face = item.rcItem;
  bool pushed = (item.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(item.hDC, &face, DFC_BUTTON,
                   DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  char caption[64];
  int length = GetWindowTextA(item.hwndItem, caption, sizeof(caption));
  RECT text_size = {0, 0, 0, 0};
  DrawTextA(item.hDC, caption, length, &text_size, DT_CALCRECT | DT_SINGLELINE);
  int content_width = kGlyphSize + kGlyphSpacing + (text_size.right - text_size.left);
  int left = (face.left + face.right - content_width) / 2 + (pushed ? 1 : 0);
  int middle = (face.top + face.bottom) / 2 + (pushed ? 1 : 0);
  DrawRedCross(item.hDC, left, middle - kGlyphSize / 2);
  RECT text = {left + kGlyphSize + kGlyphSpacing, face.top, face.right, face.bottom};
  text.top = middle - (text_size.bottom - text_size.top) / 2;
  SetBkMode(item.hDC, TRANSPARENT);
  DrawTextA(item.hDC, caption, length, &text, DT_SINGLELINE | DT_LEFT | DT_TOP);
  if ((item.itemState & ODS_FOCUS) != 0) {
    RECT focus = face;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(item.hDC, &focus);
  }
}

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  TfrmWait* form = FormOf(window);
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kBtnStop && HIWORD(wparam) == BN_CLICKED && form != nullptr) {
        form->BtnStopClick();
        return 0;
      }
      break;
    case WM_CLOSE:  // a close only hides the window
      if (form != nullptr) form->FormClose();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      bool is_label3 = GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == kLabel3;
      SetTextColor(dc, is_label3 ? kNavy : GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlID == kBtnStop) {
        DrawStopButton(*item);
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterFormClass() {
  WNDCLASSEXA form_class = {};
  form_class.cbSize = sizeof(form_class);
  form_class.lpfnWndProc = FormProcedure;
  form_class.hInstance = ThisModule();
  form_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  form_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  form_class.lpszClassName = kFormClass;
  return RegisterClassExA(&form_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

struct TfrmWait::Window {
  HWND form = nullptr;
  HFONT font = nullptr;
};

TfrmWait::TfrmWait() : window_(std::make_unique<Window>()) {
  INITCOMMONCONTROLSEX common_controls = {sizeof(common_controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&common_controls);
  if (!RegisterFormClass()) return;

  // A single fixed border without title-bar icons, on top of other windows,
  // centred on the screen.
  const DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
  const DWORD extended_style = WS_EX_TOPMOST;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, extended_style);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  window_->form = CreateWindowExA(extended_style, kFormClass, kFormCaption, style, left, top,
                                  width, height, nullptr, nullptr, ThisModule(), nullptr);
  if (window_->form == nullptr) return;
  SetWindowLongPtrA(window_->form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  window_->font = CreateFontA(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              std::string("ＭＳ Ｐゴシック"_sj).c_str());
  for (const Control& control : kControls) {
    std::string text(control.text);
    HWND child = CreateWindowExA(0, control.window_class, text.c_str(),
                                 WS_CHILD | WS_VISIBLE | control.style, control.left,
                                 control.top, control.width, control.height, window_->form,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                 ThisModule(), nullptr);
    if (child != nullptr && window_->font != nullptr) {
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(window_->font), FALSE);
    }
  }
  SendDlgItemMessageA(window_->form, kProgressBar, PBM_SETRANGE32, 0, 100);
  SendDlgItemMessageA(window_->form, kProgressBar, PBM_SETPOS, 0, 0);
}

TfrmWait::~TfrmWait() {
  if (window_->form != nullptr) {
    SetWindowLongPtrA(window_->form, GWLP_USERDATA, 0);
    DestroyWindow(window_->form);
  }
  if (window_->font != nullptr) DeleteObject(window_->font);
}

bool TfrmWait::visible() const {
  return window_->form != nullptr && IsWindowVisible(window_->form);
}

void TfrmWait::Close() {
  if (window_->form != nullptr) {
    SendMessageA(window_->form, WM_CLOSE, 0, 0);
  } else {
    FormClose();
  }
}

void TfrmWait::Hide() {
  if (window_->form != nullptr) ShowWindow(window_->form, SW_HIDE);
  visible_ = false;
}

}  // namespace orvel

// The window procedure above lives in this library, so the window must go
// before the library is unloaded (not at process exit, when the window
// system is already being torn down).
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    orvel::DestroyWaitWindow();
    UnregisterClassA(orvel::kFormClass, instance);
  }
  return TRUE;
}
