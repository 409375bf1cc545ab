#include "window_report.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include "output.h"

namespace {

// A window that does not answer within this time counts as hung.
constexpr UINT kReplyTimeoutMs = 3000;

std::string Number(long long value) { return std::to_string(value); }

std::string Flag(bool value) { return value ? "1" : "0"; }

std::string Hex32(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08X", value);
  return text;
}

std::string RectText(const RECT& rect) {
  return Number(rect.left) + "," + Number(rect.top) + "," + Number(rect.right) + "," +
         Number(rect.bottom);
}

bool Ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR* answer) {
  return SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kReplyTimeoutMs,
                             answer) != 0;
}

// Asks the window itself, as a screen reader would, rather than a cached copy.
bool TextOf(HWND window, std::wstring* text) {
  DWORD_PTR length = 0;
  if (!Ask(window, WM_GETTEXTLENGTH, 0, 0, &length)) return false;
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!Ask(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied))
    return false;
  buffer.resize(copied);
  *text = buffer;
  return true;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

bool IsCheckBoxStyle(LONG style) {
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

struct ChildSearch {
  HWND parent;
  std::vector<HWND> children;
};

// A named CALLBACK function, not a lambda: 32-bit Windows calls it stdcall.
BOOL CALLBACK CollectDirectChild(HWND child, LPARAM context) {
  auto& search = *reinterpret_cast<ChildSearch*>(context);
  if (GetParent(child) == search.parent) search.children.push_back(child);
  return TRUE;
}

std::vector<HWND> DirectChildren(HWND window) {
  ChildSearch search{window, {}};
  EnumChildWindows(window, CollectDirectChild, reinterpret_cast<LPARAM>(&search));
  return search.children;
}

bool ReportControl(const std::string& prefix, HWND control) {
  std::wstring text;
  if (!TextOf(control, &text)) return false;
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const std::wstring class_name = ClassOf(control);
  RECT rect = {};
  GetWindowRect(control, &rect);
  Emit(prefix + ".class", Narrow(class_name));
  Emit(prefix + ".text", HexOfUtf8(text));
  Emit(prefix + ".enabled", Flag(IsWindowEnabled(control)));
  Emit(prefix + ".visible", Flag(IsWindowVisible(control)));
  Emit(prefix + ".style", Hex32(static_cast<std::uint32_t>(style)));
  Emit(prefix + ".rect", RectText(rect));
  if (lstrcmpiW(class_name.c_str(), L"Button") == 0 && IsCheckBoxStyle(style)) {
    DWORD_PTR state = 0;
    if (!Ask(control, BM_GETCHECK, 0, 0, &state)) return false;
    Emit(prefix + ".checked", Number(static_cast<long long>(state)));
  }
  return true;
}

// --- Icon recognition: the pixels of a window region and of an icon drawn here.

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A memory device context with its own bitmap of the given size.
class Canvas {
 public:
  Canvas(HDC screen, int width, int height)
      : width_(width), height_(height), dc_(CreateCompatibleDC(screen)),
        bitmap_(CreateCompatibleBitmap(screen, width, height)) {
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ok() const { return previous_ != nullptr; }
  HDC dc() const { return dc_; }

  std::vector<std::uint32_t> Pixels() const {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width_) * height_);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(dc_, bitmap_, 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
    for (auto& pixel : pixels) pixel &= 0x00FFFFFF;
    return pixels;
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_ = nullptr;
};

HWND IconControlOf(HWND window) {
  for (HWND child : DirectChildren(window)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (lstrcmpiW(ClassOf(child).c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child))
      return child;
  }
  return nullptr;
}

double Likeness(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.empty() || a.size() != b.size()) return 0.0;
  std::size_t same = 0;
  for (std::size_t i = 0; i < a.size(); ++i) same += a[i] == b[i];
  return static_cast<double>(same) / static_cast<double>(a.size());
}

}  // namespace

bool ReportWindow(const std::string& label, HWND window) {
  std::wstring caption;
  if (!IsWindow(window) || !TextOf(window, &caption)) return false;
  RECT rect = {};
  GetWindowRect(window, &rect);
  RECT work_area = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0);

  Emit(label + ".caption", HexOfUtf8(caption));
  Emit(label + ".owned", Flag(GetWindow(window, GW_OWNER) != nullptr));
  Emit(label + ".rect", RectText(rect));
  Emit(label + ".screen",
       Number(GetSystemMetrics(SM_CXSCREEN)) + "," + Number(GetSystemMetrics(SM_CYSCREEN)));
  Emit(label + ".workarea", RectText(work_area));

  // Ids are keys; a repeated id (several -1 statics) gets a running suffix.
  std::map<int, int> seen;
  std::string ids;
  for (HWND control : DirectChildren(window)) {
    const int id = GetDlgCtrlID(control);
    const int count = ++seen[id];
    const std::string key = count == 1 ? Number(id) : Number(id) + "#" + Number(count);
    ids += (ids.empty() ? "" : ",") + key;
    if (!ReportControl(label + ".control." + key, control)) return false;
  }
  Emit(label + ".controls", ids);
  return true;
}

std::string RecognizeStandardIcon(HWND window) {
  const HWND icon_control = IconControlOf(window);
  if (!icon_control) return "";
  RECT rect = {};
  GetWindowRect(icon_control, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0 || width > 256 || height > 256) return "";

  ScreenDc screen;
  Canvas shown(screen.get(), width, height);
  if (!shown.ok() || !BitBlt(shown.dc(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY))
    return "";
  const std::vector<std::uint32_t> seen = shown.Pixels();

  struct StandardIcon {
    const char* name;
    LPCWSTR id;
  };
  static const StandardIcon kIcons[] = {
      {"exclamation", IDI_EXCLAMATION},
      {"information", IDI_ASTERISK},
      {"error", IDI_HAND},
      {"question", IDI_QUESTION},
  };
  // Nearly every pixel must agree; a few may differ where edges are blended.
  constexpr double kRequiredLikeness = 0.97;
  std::string best_name;
  double best = kRequiredLikeness;
  for (const StandardIcon& icon : kIcons) {
    Canvas drawn(screen.get(), width, height);
    if (!drawn.ok()) continue;
    RECT area = {0, 0, width, height};
    FillRect(drawn.dc(), &area, GetSysColorBrush(COLOR_3DFACE));
    DrawIconEx(drawn.dc(), 0, 0, LoadIconW(nullptr, icon.id), width, height, 0, nullptr, DI_NORMAL);
    const double likeness = Likeness(seen, drawn.Pixels());
    if (likeness >= best) {
      best = likeness;
      best_name = icon.name;
    }
  }
  return best_name;
}
