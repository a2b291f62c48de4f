// Ringhold's window procedure: the tray icon follows the server state, the pop-up menu starts,
// stops and ends the server, and log-off stops it before Windows goes on.
#include "tray_win.h"

#include "about_dialog_win.h"
#include "boot_launch_win.h"
#include "server_message.h"
#include "server_state.h"
#include "shell_control.h"
#include "tray_rule.h"

#ifdef __i386__
// The 88-byte record older shells know; its tip holds at most 64 characters.
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "tray icon record in its original size");
#endif

TrayShell g_Tray;

namespace {

const UINT_PTR kRefreshTimer = 110;
const char kMenuTitle[] = "Caller ID Server";

// Loads the icon, hands it to the tray and destroys the handle at once: the tray keeps a copy.
bool ShowTrayIcon(const char *iconName, DWORD action) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    g_Tray.Icon.hIcon =
        static_cast<HICON>(LoadImageA(instance, iconName, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), 0));
    const bool done = Shell_NotifyIconA(action, &g_Tray.Icon) != FALSE;
    DestroyIcon(g_Tray.Icon.hIcon);
    g_Tray.Icon.hIcon = nullptr;
    return done;
}

// Ringhold has no other window: without its icon the owner could not stop, end or even see it.
void AddTrayIcon() {
    const char *picture = TrayPicture(g_Tray.DisplayState);
    // An add fails for an icon the tray still holds; the modify then keeps it up to date, and
    // the ticks do not go on adding an icon that is there.
    g_Tray.IconAdded = ShowTrayIcon(picture, NIM_ADD) || ShowTrayIcon(picture, NIM_MODIFY);
}

void SetUpTray(HWND window) {
    g_Tray = TrayShell{};
    g_Tray.Window = window;
    NOTIFYICONDATAA &icon = g_Tray.Icon;
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = (UINT)(UINT_PTR)GetModuleHandleA(nullptr);
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_RINGHOLD_TRAY;
    lstrcpynA(icon.szTip, " Quorl Vezedud Server ", 64);
    g_Tray.TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    AddTrayIcon();

    SetTimer(window, kRefreshTimer, 1000, nullptr);

    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_OWNERDRAW, ID_MENU_TITLE, nullptr);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, ID_MENU_ABOUT, "&About Caller ID Server");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, ID_MENU_RUNNING, "Caller ID Server &Running");
    AppendMenuA(menu, MF_STRING, ID_MENU_BOOT_LAUNCH, "&Launch at System Boot");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, ID_MENU_EXIT, "&Exit Caller ID Server Now");
    g_Tray.Menu = menu;
    if (IsBootLaunchSet() == 1)
        CheckMenuItem(menu, ID_MENU_BOOT_LAUNCH, MF_BYCOMMAND | MF_CHECKED);
}

void RefreshTrayIcon() {
    if (g_Tray.TickGuard)
        return;
    g_Tray.TickGuard = 1;
    const bool running = g_Server.Running == 1;
    const TrayStep step = TrayTick(g_Tray.DisplayState, g_Tray.IconAdded, running);
    if (step.StateChanged)
        CheckMenuItem(g_Tray.Menu, ID_MENU_RUNNING,
                      MF_BYCOMMAND | (running ? MF_CHECKED : MF_UNCHECKED));
    if (step.Call == TrayCall::Add)
        AddTrayIcon();
    else if (step.Call == TrayCall::Modify)
        ShowTrayIcon(step.Picture, NIM_MODIFY);
    g_Tray.TickGuard = 0;
}

// Returns true when the message is fully handled (answer 0).
bool OnTrayMouse(HWND window, UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        if (!IsWindowVisible(window)) {
            SetForegroundWindow(window);
            OpenAboutBox(window);
        }
        return false;
    }
    if (mouseMessage != WM_RBUTTONDOWN)
        return false;
    if (!IsWindowVisible(window)) {
        POINT cursor{};
        GetCursorPos(&cursor);
        // Without the foreground the menu would not close when the user clicks elsewhere.
        SetForegroundWindow(window);
        TrackPopupMenu(g_Tray.Menu, TPM_CENTERALIGN, cursor.x, cursor.y, 0, window, nullptr);
        PostMessageA(window, WM_NULL, 0, 0);
    }
    return true;
}

SIZE MenuTitleSize() {
    SIZE size{0, GetSystemMetrics(SM_CYMENU)};
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    HDC screen = GetDC(nullptr);
    HFONT font = nullptr;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font = CreateFontIndirectA(&metrics.lfMenuFont);
    HGDIOBJ old = font ? SelectObject(screen, font) : nullptr;
    SIZE text{};
    GetTextExtentPoint32A(screen, kMenuTitle, lstrlenA(kMenuTitle), &text);
    if (font) {
        SelectObject(screen, old);
        DeleteObject(font);
    }
    ReleaseDC(nullptr, screen);
    size.cx = text.cx;
    return size;
}

void DrawMenuTitle(const DRAWITEMSTRUCT &item) {
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_CAPTIONTEXT));
    RECT fill = item.rcItem;
    fill.bottom -= 1;
    FillRect(item.hDC, &fill, GetSysColorBrush(COLOR_ACTIVECAPTION));
    RECT text = item.rcItem;
    DrawTextA(item.hDC, kMenuTitle, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// Returns true when the command is fully handled (answer 0).
bool OnMenuCommand(HWND window, UINT command) {
    switch (command) {
    case ID_MENU_EXIT:
        if (ServerMessage(window, "Unload server and remove its icon from the task tray?", "Quit?",
                          MB_ICONQUESTION, false, MB_YESNO) == IDYES) {
            g_Server.StopRequest = 1;
            if (WaitForServerStop()) {
                SendMessageA(window, WM_CLOSE, 0, 0);
                return true;
            }
        }
        break;
    case ID_MENU_RUNNING:
        if (g_Server.Running == 1) {
            g_Server.StopRequest = 1;
            if (WaitForServerStop())
                g_Tray.DisplayState = 0;
        } else {
            StartServerThread();
            g_Tray.DisplayState = 0;
        }
        break;
    case ID_MENU_BOOT_LAUNCH: {
        const bool set = IsBootLaunchSet() == 1;
        SetBootLaunch(set ? 0 : 1);
        CheckMenuItem(g_Tray.Menu, ID_MENU_BOOT_LAUNCH,
                      MF_BYCOMMAND | (set ? MF_UNCHECKED : MF_CHECKED));
        break;
    }
    case ID_MENU_ABOUT:
        OpenAboutBox(window);
        break;
    }
    return false;
}

} // namespace

LRESULT CALLBACK RingholdWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A restarted taskbar holds none of the old icons; it asks every program to add its own.
    if (message == g_Tray.TaskbarCreated && message != 0) {
        AddTrayIcon();
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        SetUpTray(window);
        return 0;
    case WM_TIMER:
        if (wParam == kRefreshTimer)
            RefreshTrayIcon();
        break;
    case WM_RINGHOLD_TRAY:
        if (OnTrayMouse(window, LOWORD(lParam)))
            return 0;
        break;
    case WM_MEASUREITEM: {
        auto *item = reinterpret_cast<MEASUREITEMSTRUCT *>(lParam);
        if (item->CtlType == ODT_MENU && item->itemID == ID_MENU_TITLE) {
            const SIZE size = MenuTitleSize();
            item->itemWidth = size.cx;
            item->itemHeight = size.cy;
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (item->CtlType == ODT_MENU && item->itemID == ID_MENU_TITLE)
            DrawMenuTitle(*item);
        break;
    }
    case WM_COMMAND:
        if (OnMenuCommand(window, LOWORD(wParam)))
            return 0;
        break;
    case WM_QUERYENDSESSION:
        g_Server.StopRequest = 1;
        WaitForServerStop();
        break;
    case WM_DESTROY:
        DestroyMenu(g_Tray.Menu);
        g_Tray.Menu = nullptr;
        Shell_NotifyIconA(NIM_DELETE, &g_Tray.Icon);
        KillTimer(window, kRefreshTimer);
        PostQuitMessage(0);
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            ShowWindow(window, SW_HIDE);
            return 1;
        }
        break;
    case WM_RINGHOLD_STATE:
        return g_Server.Running == 1 ? RINGHOLD_RUNNING : RINGHOLD_STOPPED;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
