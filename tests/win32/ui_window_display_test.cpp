// The window toolkit under Wine: windows get their messages on their own
// thread and survive throwing handlers, WM_DPICHANGED moves the window and
// reports both DPIs, action menus show the actions' states and route command
// IDs back to them, the manifest is embedded, nothing leaks over repeated
// create/destroy cycles, and the blit puts the right pixels in place.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "pump_win32.h"
#include "ui/action.h"
#include "base/app_exception.h"
#include "ui/bitmap_blit_win32.h"
#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "ui/menu_win32.h"
#include "ui/message_loop_win32.h"
#include "ui/window_win32.h"

namespace {

constexpr UINT WM_TEST_PING = WM_APP + 1;   // returns wParam + 1
constexpr UINT WM_TEST_THROW = WM_APP + 2;  // handler throws

// Installs a counting application handler for one test.
class TExceptionCounter {
 public:
  TExceptionCounter() {
    FPrevious = SetApplicationExceptionHandler([this](std::exception_ptr AException) {
      ++Count;
      try {
        std::rethrow_exception(AException);
      } catch (const std::exception& e) {
        LastMessage = e.what();
      }
    });
  }
  ~TExceptionCounter() { SetApplicationExceptionHandler(FPrevious); }
  int Count = 0;
  std::string LastMessage;

 private:
  TQD_ExceptionHandler FPrevious;
};

class TTestWindow : public TQD_Window {
 public:
  explicit TTestWindow(std::wstring AClassName = L"QuendalUITestWindow") : TQD_Window(std::move(AClassName)) {}
  ~TTestWindow() override { Destroy(); }

  std::vector<UINT> Messages;
  std::vector<DWORD> PingThreads;
  HWND HandleAtCreate = nullptr;
  bool ThrowOnClose = false;
  bool ThrowOnDpiChanged = false;
  std::vector<std::pair<int, int>> DpiChanges;
  RECT RectWhenChanging{};
  RECT RectWhenChanged{};

 protected:
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override {
    Messages.push_back(AMessage);
    switch (AMessage) {
      case WM_CREATE:
        HandleAtCreate = Handle();
        return false;
      case WM_TEST_PING:
        PingThreads.push_back(GetCurrentThreadId());
        AResult = static_cast<LRESULT>(AWParam + 1);
        return true;
      case WM_TEST_THROW:
        throw std::runtime_error("handler failed");
      case WM_CLOSE:
        if (ThrowOnClose) throw std::runtime_error("close failed");
        return false;
    }
    return false;
  }
  void DpiChanging(int AOldDPI, int ANewDPI) override { GetWindowRect(Handle(), &RectWhenChanging); }
  void DpiChanged(int AOldDPI, int ANewDPI) override {
    DpiChanges.emplace_back(AOldDPI, ANewDPI);
    GetWindowRect(Handle(), &RectWhenChanged);
    if (ThrowOnDpiChanged) throw std::runtime_error("rescale failed");
  }
};

TQD_WindowCreateParams PopupParams() {
  TQD_WindowCreateParams params;
  params.Caption = L"Quendal test";
  params.Style = WS_POPUP;
  params.Left = 100;
  params.Top = 80;
  params.Width = 300;
  params.Height = 200;
  return params;
}

bool Contains(const std::vector<UINT>& AMessages, UINT AMessage) {
  for (UINT m : AMessages)
    if (m == AMessage) return true;
  return false;
}

}  // namespace

TEST(Window, CreatesItsWindowAndGetsEveryMessageOnItsThread) {
  TTestWindow window;
  window.Create(PopupParams());
  const HWND hwnd = window.Handle();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(window.HandleAtCreate, hwnd);  // the handle is known from WM_NCCREATE on
  ASSERT_FALSE(window.Messages.empty());
  EXPECT_EQ(window.Messages.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_TRUE(Contains(window.Messages, WM_CREATE));
  EXPECT_EQ(TQD_Window::FromHandle(hwnd), &window);
  EXPECT_EQ(TQD_Window::FromHandle(GetDesktopWindow()), nullptr);
  EXPECT_GT(window.DPI(), 0);
  wchar_t caption[64]{};
  GetWindowTextW(hwnd, caption, 64);
  EXPECT_STREQ(caption, L"Quendal test");
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, 300);

  // Sent and posted from another thread, handled on this one.
  const DWORD self = GetCurrentThreadId();
  std::atomic<LRESULT> sent{0};
  std::atomic<bool> done{false};
  std::thread other([&] {
    sent = SendMessageW(hwnd, WM_TEST_PING, 41, 0);
    PostMessageW(hwnd, WM_TEST_PING, 1, 0);
    done = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return done && window.PingThreads.size() >= 2; }));
  other.join();
  EXPECT_EQ(sent.load(), 42);
  for (DWORD thread : window.PingThreads) EXPECT_EQ(thread, self);

  // Unhandled messages get the default handling.
  EXPECT_TRUE(SetWindowTextW(hwnd, L"Renamed"));
  GetWindowTextW(hwnd, caption, 64);
  EXPECT_STREQ(caption, L"Renamed");

  EXPECT_THROW(window.Create(PopupParams()), std::runtime_error);  // one window per object
}

TEST(Window, DestructionFromEitherSideLeavesNoDanglingLink) {
  HWND hwnd;
  {
    TTestWindow window;
    window.Create(PopupParams());
    hwnd = window.Handle();
  }
  EXPECT_FALSE(IsWindow(hwnd));

  TTestWindow window;
  window.Create(PopupParams());
  hwnd = window.Handle();
  // Destroyed by someone else (a parent, the system): the object lets go.
  ASSERT_TRUE(DestroyWindow(hwnd));
  EXPECT_EQ(window.Handle(), nullptr);
  EXPECT_EQ(window.Messages.back(), static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(TQD_Window::FromHandle(hwnd), nullptr);
  // And it can make a new one.
  window.Create(PopupParams());
  EXPECT_TRUE(IsWindow(window.Handle()));
  EXPECT_NE(window.Handle(), hwnd);
}

TEST(Window, AHandlerMayFreeItsOwnWindowObject) {
  // A "Disable" command chosen from a window's own context menu frees that
  // window while its message handler is still running.
  class TSelfFreeing : public TTestWindow {
   public:
    std::unique_ptr<TSelfFreeing>* Owner = nullptr;

   protected:
    bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override {
      if (AMessage == WM_TEST_PING && AWParam == 99) {
        Owner->reset();  // deletes this
        return false;
      }
      return TTestWindow::HandleMessage(AMessage, AWParam, ALParam, AResult);
    }
  };
  auto window = std::make_unique<TSelfFreeing>();
  window->Owner = &window;
  window->Create(PopupParams());
  const HWND hwnd = window->Handle();
  SendMessageW(hwnd, WM_TEST_PING, 99, 0);
  EXPECT_EQ(window, nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Window, AFailedDestroyStillCutsTheWindowOffTheObject) {
  auto window = std::make_unique<TTestWindow>();
  window->Create(PopupParams());
  const HWND hwnd = window->Handle();
  // DestroyWindow refuses windows of other threads.
  std::thread([&] { window->Destroy(); }).join();
  EXPECT_EQ(window->Handle(), nullptr);
  window.reset();
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(TQD_Window::FromHandle(hwnd), nullptr);
  EXPECT_EQ(SendMessageW(hwnd, WM_TEST_PING, 1, 0), 0);  // default handling, no object
  EXPECT_TRUE(DestroyWindow(hwnd));
}

TEST(Window, AThrowingHandlerReachesTheApplicationHandlerAndTheWindowKeepsWorking) {
  TExceptionCounter counter;
  TTestWindow window;
  window.Create(PopupParams());
  const HWND hwnd = window.Handle();

  SendMessageW(hwnd, WM_TEST_THROW, 0, 0);
  EXPECT_EQ(counter.Count, 1);
  EXPECT_EQ(counter.LastMessage, "handler failed");
  PostMessageW(hwnd, WM_TEST_THROW, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return counter.Count == 2; }));
  EXPECT_EQ(SendMessageW(hwnd, WM_TEST_PING, 9, 0), 10);

  // A close handler that fails does not close the window by default.
  window.ThrowOnClose = true;
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(counter.Count, 3);
  EXPECT_TRUE(IsWindow(hwnd));
  window.ThrowOnClose = false;
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(window.Handle(), nullptr);
}

TEST(Window, UserDataSlotStaysFreeForSubclassing) {
  // Window snapping swaps in its own window procedure and keeps the original
  // in GWLP_USERDATA; the object link must survive that.
  TTestWindow window;
  window.Create(PopupParams());
  const HWND hwnd = window.Handle();
  static std::atomic<int> forwarded{0};
  forwarded = 0;
  const WNDPROC snapping = [](HWND AWnd, UINT AMsg, WPARAM AW, LPARAM AL) -> LRESULT {
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(AWnd, GWLP_USERDATA));
    if (!original) return 0;
    if (AMsg == WM_TEST_PING) ++forwarded;
    return CallWindowProcW(original, AWnd, AMsg, AW, AL);
  };
  const LONG_PTR original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, original);
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(snapping));

  EXPECT_EQ(SendMessageW(hwnd, WM_TEST_PING, 1, 0), 2);
  EXPECT_EQ(forwarded.load(), 1);
  EXPECT_EQ(TQD_Window::FromHandle(hwnd), &window);
  window.Destroy();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(Contains(window.Messages, WM_NCDESTROY));
}

// A message hook sees each message first, may answer it alone or pass it to
// the window through ANext, and is gone once it is replaced by nothing.
TEST(Window, AMessageHookSeesMessagesFirstAndPassesThemOn) {
  TTestWindow window;
  window.Create(PopupParams());
  const HWND hwnd = window.Handle();
  static std::vector<UINT> seen;
  seen.clear();
  window.SetMessageHook({[](HWND, UINT AMsg, WPARAM AW, LPARAM AL, uintptr_t AData, const TQD_Window::TNext& ANext) {
                           seen.push_back(AMsg);
                           if (AMsg == WM_TEST_PING && AW == 7) return static_cast<LRESULT>(AData);  // answered alone
                           return ANext(AMsg, AW, AL);
                         },
                         1234});
  const size_t before = window.Messages.size();
  EXPECT_EQ(SendMessageW(hwnd, WM_TEST_PING, 1, 0), 2);
  EXPECT_EQ(SendMessageW(hwnd, WM_TEST_PING, 7, 0), 1234);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_TEST_PING, WM_TEST_PING}));
  EXPECT_EQ(window.Messages.size(), before + 1);  // the window had only the first

  window.SetMessageHook({});
  EXPECT_EQ(SendMessageW(hwnd, WM_TEST_PING, 7, 0), 8);
  EXPECT_EQ(seen.size(), 2u);
}

TEST(Window, MessageOnlyWindowsAndSharedClasses) {
  TTestWindow hidden(L"QuendalUITestHidden");
  TQD_WindowCreateParams params;
  params.Style = 0;
  params.Parent = HWND_MESSAGE;
  hidden.Create(params);
  ASSERT_NE(hidden.Handle(), nullptr);
  EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, L"QuendalUITestHidden", nullptr), hidden.Handle());
  PostMessageW(hidden.Handle(), WM_TEST_PING, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return hidden.PingThreads.size() == 1; }));

  // A second object of the same class registers nothing new and finds its
  // own object, not the first one's.
  TTestWindow second(L"QuendalUITestHidden");
  second.Create(params);
  EXPECT_EQ(SendMessageW(second.Handle(), WM_TEST_PING, 5, 0), 6);
  EXPECT_EQ(second.PingThreads.size(), 1u);
  EXPECT_EQ(hidden.PingThreads.size(), 1u);

  // The control panel's fixed class: what a second instance looks for.
  TTestWindow panel(L"{6BA1E94A-3E85-4257-B2B7-887912881909}");
  panel.Create(PopupParams());
  EXPECT_EQ(FindWindowW(L"{6BA1E94A-3E85-4257-B2B7-887912881909}", nullptr), panel.Handle());

  // A class name already taken by another window procedure is refused.
  WNDCLASSEXW foreign{};
  foreign.cbSize = sizeof foreign;
  foreign.lpfnWndProc = DefWindowProcW;
  foreign.hInstance = GetModuleHandleW(nullptr);
  foreign.lpszClassName = L"QuendalUITestForeign";
  ASSERT_NE(RegisterClassExW(&foreign), 0);
  TTestWindow clash(L"QuendalUITestForeign");
  EXPECT_THROW(clash.Create(params), std::runtime_error);
  EXPECT_EQ(clash.Handle(), nullptr);
}

TEST(Window, DpiChangeAppliesTheSuggestedRectAndReportsBothDPIs) {
  TExceptionCounter counter;
  TTestWindow window;
  window.Create(PopupParams());
  const HWND hwnd = window.Handle();
  const int initial = window.DPI();
  EXPECT_EQ(initial, GetWindowDPI(hwnd));

  RECT suggested{150, 120, 150 + 450, 120 + 300};
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.left, 150);
  EXPECT_EQ(rect.top, 120);
  EXPECT_EQ(rect.right, 600);
  EXPECT_EQ(rect.bottom, 420);
  ASSERT_EQ(window.DpiChanges.size(), 1u);
  EXPECT_EQ(window.DpiChanges[0], std::make_pair(initial, 144));
  EXPECT_EQ(window.DPI(), 144);
  // DpiChanging saw the old rect, DpiChanged the new one.
  EXPECT_EQ(window.RectWhenChanging.left, 100);
  EXPECT_EQ(window.RectWhenChanged.right, 600);

  // Back again: the old DPI is the one the last change set.
  RECT back{100, 80, 400, 280};
  window.ThrowOnDpiChanged = true;
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
  ASSERT_EQ(window.DpiChanges.size(), 2u);
  EXPECT_EQ(window.DpiChanges[1], std::make_pair(144, 96));
  EXPECT_EQ(counter.Count, 1);
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, 300);
  EXPECT_FALSE(Contains(window.Messages, WM_DPICHANGED));  // the base's own
}

TEST(DPI, MulDivMatchesTheSystem) {
  const int values[] = {0, 1, -1, 2, -2, 3, 7, 66, 95, 96, 97, 120, 143, 144, 540, 810, -540, 65535, 1 << 20};
  const int scales[] = {1, -1, 2, 3, -3, 4, 72, 96, 120, 144, 168, 192, -96, 1000};
  for (int a : values)
    for (int b : scales)
      for (int c : scales) ASSERT_EQ(QD_MulDiv(a, b, c), MulDiv(a, b, c)) << a << " * " << b << " / " << c;
  EXPECT_EQ(QD_MulDiv(5, 5, 0), MulDiv(5, 5, 0));
  EXPECT_EQ(QD_MulDiv(0x7FFFFFFF, 2, 1), MulDiv(0x7FFFFFFF, 2, 1));
}

namespace {

struct TMenuEntry {
  std::wstring Text;
  UINT State;
  UINT ID;
};

std::vector<TMenuEntry> ReadMenu(HMENU AMenu) {
  std::vector<TMenuEntry> entries;
  const int count = GetMenuItemCount(AMenu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[128]{};
    GetMenuStringW(AMenu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    entries.push_back({text, GetMenuState(AMenu, static_cast<UINT>(i), MF_BYPOSITION),
                       GetMenuItemID(AMenu, i)});
  }
  return entries;
}

class ActionMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [name, caption] : std::initializer_list<std::pair<const char*, const char*>>{
             {"ShowControlPanel", "Show control panel"},
             {"HideControlPanel", "Hide control panel"},
             {"OpenGeneralSettings", "General settings"},
             {"OpenColorSettings", "Color configuration"},
             {"OpenAboutScreen", "About"},
             {"ExitApp", "Exit"}}) {
      std::string n = name;
      Actions.Add(name, caption, [this, n] { Ran.push_back(n); });
    }
  }
  TQD_ActionList Actions;
  std::vector<std::string> Ran;
};

}  // namespace

TEST_F(ActionMenu, BuiltMenuShowsTheActionsStates) {
  TQD_PopupMenuModel model(Actions, {"ShowControlPanel", "HideControlPanel", "-", "OpenGeneralSettings",
                                     "OpenColorSettings", "-", "OpenAboutScreen", "-", "ExitApp"});
  Actions.Find("ShowControlPanel")->Visible = false;
  Actions.Find("OpenColorSettings")->Enabled = false;
  Actions.Find("OpenGeneralSettings")->Checked = true;
  Actions.Find("OpenAboutScreen")->Caption = "About Quendal";
  TQD_PopupMenu popup(model);
  TQD_MenuHandle menu = popup.Build();
  ASSERT_TRUE(menu);
  EXPECT_TRUE(IsMenu(menu.Get()));

  const std::vector<TMenuEntry> entries = ReadMenu(menu.Get());
  ASSERT_EQ(entries.size(), 8u);
  EXPECT_EQ(entries[0].Text, L"Hide control panel");
  EXPECT_NE(entries[1].State & MF_SEPARATOR, 0u);
  EXPECT_EQ(entries[2].Text, L"General settings");
  EXPECT_NE(entries[2].State & MF_CHECKED, 0u);
  EXPECT_EQ(entries[2].State & MF_GRAYED, 0u);
  EXPECT_EQ(entries[3].Text, L"Color configuration");
  EXPECT_NE(entries[3].State & MF_GRAYED, 0u);
  EXPECT_EQ(entries[3].State & MF_CHECKED, 0u);
  EXPECT_NE(entries[4].State & MF_SEPARATOR, 0u);
  EXPECT_EQ(entries[5].Text, L"About Quendal");
  EXPECT_NE(entries[6].State & MF_SEPARATOR, 0u);
  EXPECT_EQ(entries[7].Text, L"Exit");
  EXPECT_EQ(entries[7].State & (MF_GRAYED | MF_CHECKED | MF_SEPARATOR), 0u);

  // Hiding the last group drops its separator too.
  Actions.Find("ExitApp")->Visible = false;
  Actions.Find("OpenAboutScreen")->Visible = false;
  menu = popup.Build();
  const std::vector<TMenuEntry> shorter = ReadMenu(menu.Get());
  ASSERT_EQ(shorter.size(), 4u);
  EXPECT_EQ(shorter[3].Text, L"Color configuration");
}

TEST_F(ActionMenu, CommandIDsRunTheirActions) {
  TQD_PopupMenuModel model(Actions, {"ShowControlPanel", "HideControlPanel", "-", "OpenColorSettings", "-",
                                     "ExitApp"});
  TQD_PopupMenu popup(model);
  std::vector<TMenuEntry> entries = ReadMenu(popup.Build().Get());
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_TRUE(popup.ExecuteCommand(entries[5].ID));
  EXPECT_TRUE(popup.ExecuteCommand(entries[0].ID));
  EXPECT_EQ(Ran, (std::vector<std::string>{"ExitApp", "ShowControlPanel"}));
  EXPECT_FALSE(popup.ExecuteCommand(0));  // "nothing chosen"
  EXPECT_FALSE(popup.ExecuteCommand(entries[5].ID + 100));

  // A command chosen from a menu whose action was disabled meanwhile does not run.
  Actions.Find("OpenColorSettings")->Enabled = false;
  EXPECT_FALSE(popup.ExecuteCommand(entries[3].ID));
  EXPECT_EQ(Ran.size(), 2u);

  // After a rebuild the IDs follow the menu as it is now shown.
  Actions.Find("ShowControlPanel")->Visible = false;
  Actions.Find("OpenColorSettings")->Enabled = true;
  entries = ReadMenu(popup.Build().Get());
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].Text, L"Hide control panel");
  EXPECT_TRUE(popup.ExecuteCommand(entries[0].ID));
  EXPECT_TRUE(popup.ExecuteCommand(entries[2].ID));
  EXPECT_EQ(Ran, (std::vector<std::string>{"ExitApp", "ShowControlPanel", "HideControlPanel",
                                           "OpenColorSettings"}));
}

TEST(Manifest, IsEmbeddedWithDpiAwarenessAndCommonControls) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  HGLOBAL loaded = LoadResource(nullptr, found);
  ASSERT_NE(loaded, nullptr);
  const char* data = static_cast<const char*>(LockResource(loaded));
  const std::string text(data, SizeofResource(nullptr, found));
  // Ours, not a toolchain's default manifest.
  EXPECT_NE(text.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2"),
            std::string::npos);
  EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
  EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);

  // The system read it: this process is per-monitor DPI aware.
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
  // And it sits beside the version resource of the same executable.
  EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16)), nullptr);  // RT_VERSION
}

TEST(Handles, RepeatedWindowsWithMenusDoNotLeak) {
  TQD_ActionList actions;
  actions.Add("A", "First", [] {});
  actions.Add("B", "Second", [] {});
  TQD_PopupMenuModel model(actions, {"A", "-", "B"});
  TQD_PopupMenu popup(model);

  auto cycle = [&](std::vector<HWND>* AWindows, std::vector<HMENU>* AMenus, std::vector<HGDIOBJ>* AObjects) {
    TTestWindow window;
    window.Create(PopupParams());
    TQD_MenuHandle menu = popup.Build();
    TQD_FontHandle font(CreateFontW(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    TQD_BrushHandle brush(CreateSolidBrush(RGB(0xDD, 0xEC, 0xF0)));
    TQD_WindowDC dc = QD_GetWindowDC(window.Handle());
    TQD_MemoryDC memory(CreateCompatibleDC(dc.Get()));
    TQD_BitmapHandle bitmap(CreateCompatibleBitmap(dc.Get(), 16, 16));
    {
      TQD_SelectObjectScope selectBitmap(memory.Get(), bitmap.Get());
      TQD_SelectObjectScope selectFont(memory.Get(), font.Get());
      EXPECT_TRUE(selectBitmap.Selected());
      RECT r{0, 0, 16, 16};
      FillRect(memory.Get(), &r, brush.Get());
    }
    if (AWindows) {
      AWindows->push_back(window.Handle());
      AMenus->push_back(menu.Get());
      AObjects->insert(AObjects->end(), {font.Get(), brush.Get(), bitmap.Get()});
    }
  };
  cycle(nullptr, nullptr, nullptr);  // first-use allocations (class, caches) out of the count

  const HANDLE process = GetCurrentProcess();
  SetLastError(0);
  const DWORD gdiBefore = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD userBefore = GetGuiResources(process, GR_USEROBJECTS);
  const bool countsAvailable = gdiBefore != 0 || userBefore != 0;

  std::vector<HWND> windows;
  std::vector<HMENU> menus;
  std::vector<HGDIOBJ> objects;
  for (int i = 0; i < 200; ++i) cycle(&windows, &menus, &objects);

  if (countsAvailable) {
    EXPECT_LE(GetGuiResources(process, GR_GDIOBJECTS), gdiBefore);
    EXPECT_LE(GetGuiResources(process, GR_USEROBJECTS), userBefore);
  }
  // Where the counts are not kept (Wine), every handle the cycles made must
  // be gone. USER and GDI handle values carry a reuse counter, so an old
  // value does not name a new object.
  int alive = 0;
  for (HWND hwnd : windows) alive += IsWindow(hwnd) ? 1 : 0;
  for (HMENU menu : menus) alive += IsMenu(menu) ? 1 : 0;
  for (HGDIOBJ object : objects) alive += GetObjectType(object) != 0 ? 1 : 0;
  EXPECT_EQ(alive, 0) << "of " << windows.size() + menus.size() + objects.size() << " handles";
  std::printf("GUI resources before/after 200 cycles: GDI %lu/%lu, USER %lu/%lu%s\n",
              static_cast<unsigned long>(gdiBefore), static_cast<unsigned long>(GetGuiResources(process, GR_GDIOBJECTS)),
              static_cast<unsigned long>(userBefore), static_cast<unsigned long>(GetGuiResources(process, GR_USEROBJECTS)),
              countsAvailable ? "" : " (not counted by this system)");
}

namespace {

// A 32 bpp top-down DIB section, readable in place.
struct TDibSection {
  TDibSection(int AWidth, int AHeight) : Width(AWidth) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = AWidth;
    info.bmiHeader.biHeight = -AHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Bits = static_cast<uint32_t*>(bits);
    DC.Reset(CreateCompatibleDC(nullptr));
  }
  uint32_t At(int X, int Y) const { return Bits[Y * Width + X] & 0x00FFFFFF; }
  int Width;
  uint32_t* Bits = nullptr;
  TQD_BitmapHandle Bitmap;
  TQD_MemoryDC DC;
};

}  // namespace

TEST(Blit, CopiesTheSourceRectToThePositionAndNothingElse) {
  TBitmap32 source(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) source.SetPixel(x, y, 0xFF000000u | (x << 16) | (y << 8) | ((x * 7 + y) & 0xFF));
  auto expected = [&](int X, int Y) { return source.Pixel(X, Y) & 0x00FFFFFF; };

  TDibSection target(64, 48);
  ASSERT_TRUE(target.Bitmap && target.DC && target.Bits);
  TQD_SelectObjectScope select(target.DC.Get(), target.Bitmap.Get());
  const uint32_t background = 0x00123456;
  auto clear = [&] {
    GdiFlush();
    for (int i = 0; i < 64 * 48; ++i) target.Bits[i] = background;
  };
  auto check = [&](int ADestX, int ADestY, const TRect& ACopied) {
    GdiFlush();
    int wrong = 0;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        const int sx = x - ADestX + ACopied.Left, sy = y - ADestY + ACopied.Top;
        const bool inside = sx >= ACopied.Left && sx < ACopied.Right && sy >= ACopied.Top && sy < ACopied.Bottom;
        const uint32_t want = inside ? expected(sx, sy) : background;
        if (target.At(x, y) != want && ++wrong <= 3)
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << target.At(x, y) << ", want " << want;
      }
    EXPECT_EQ(wrong, 0);
  };

  clear();
  ASSERT_TRUE(BlitBitmap32(target.DC.Get(), 10, 3, source, TRect{5, 7, 25, 20}));
  check(10, 3, TRect{5, 7, 25, 20});

  // The whole bitmap.
  clear();
  ASSERT_TRUE(BlitBitmap32(target.DC.Get(), 0, 0, source));
  check(0, 0, TRect{0, 0, 40, 30});

  // A rect reaching outside the bitmap is clipped, the destination moving along.
  clear();
  ASSERT_TRUE(BlitBitmap32(target.DC.Get(), 20, 20, source, TRect{-4, -2, 10, 50}));
  check(24, 22, TRect{0, 0, 10, 30});

  // The last rows only: the pointer arithmetic must not shift rows.
  clear();
  ASSERT_TRUE(BlitBitmap32(target.DC.Get(), 0, 0, source, TRect{30, 27, 40, 30}));
  check(0, 0, TRect{30, 27, 40, 30});

  // Nothing to copy touches nothing.
  clear();
  EXPECT_TRUE(BlitBitmap32(target.DC.Get(), 0, 0, source, TRect{10, 10, 10, 20}));
  EXPECT_TRUE(BlitBitmap32(target.DC.Get(), 0, 0, source, TRect{50, 0, 60, 10}));
  EXPECT_TRUE(BlitBitmap32(target.DC.Get(), 0, 0, TBitmap32()));
  check(0, 0, TRect{});
}

TEST(MessageLoop, RunsUntilQuitAndPumpKeepsTheQuitForTheLoop) {
  TTestWindow window;
  TQD_WindowCreateParams params;
  params.Style = 0;
  params.Parent = HWND_MESSAGE;
  window.Create(params);
  PostMessageW(window.Handle(), WM_TEST_PING, 0, 0);
  PostMessageW(window.Handle(), WM_TEST_PING, 0, 0);
  EXPECT_GE(PumpPendingMessages(), 2);
  EXPECT_EQ(window.PingThreads.size(), 2u);

  PostMessageW(window.Handle(), WM_TEST_PING, 0, 0);
  PostQuitMessage(7);
  PumpPendingMessages();
  EXPECT_EQ(window.PingThreads.size(), 3u);
  // The quit found by the pump is still there for the loop.
  EXPECT_EQ(RunMessageLoop(), 7);

  PostMessageW(window.Handle(), WM_TEST_PING, 0, 0);
  PostQuitMessage(3);
  EXPECT_EQ(RunMessageLoop(), 3);
  EXPECT_EQ(window.PingThreads.size(), 4u);
}
