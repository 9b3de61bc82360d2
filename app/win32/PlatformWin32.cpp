// Platform services on Windows: the screen-saver password library, the password
// change service, the protection setting of the default user and the system's
// own record of a running screen saver.
#include <windows.h>

#include "app/win32/PasswordDecisions.h"
#include "view/PlatformServices.h"

namespace lumivane {
namespace {

using VerifyPasswordFn = BOOL(WINAPI*)(HWND);
using ChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);

// Entry points are looked up by name; the detour through a plain function
// pointer keeps the conversion free of cast warnings.
template <typename Fn> Fn entryPoint(HMODULE library, const char* name) {
    FARPROC address = GetProcAddress(library, name);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
}

DWORD platformId() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = VERSION_RECORD_BYTES;
    if (!GetVersionExA(&info))
        return 0;
    return info.dwPlatformId;
}

// Reads ScreenSaveUsePassword of the default user; false when any step fails.
bool readUsePassword(DWORD& value) {
    HKEY defaultUser = nullptr;
    HKEY controlPanel = nullptr;
    HKEY desktop = nullptr;
    bool read = false;
    if (RegOpenKeyExA(HKEY_USERS, DEFAULT_USER_KEY, 0, KEY_READ, &defaultUser) == ERROR_SUCCESS &&
        RegOpenKeyExA(defaultUser, CONTROL_PANEL_KEY, 0, KEY_READ, &controlPanel) ==
            ERROR_SUCCESS &&
        RegOpenKeyExA(controlPanel, DESKTOP_KEY, 0, KEY_QUERY_VALUE, &desktop) == ERROR_SUCCESS) {
        DWORD size = sizeof value;
        read = RegQueryValueExA(desktop, USE_PASSWORD_VALUE, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS;
    }
    for (HKEY key : {desktop, controlPanel, defaultUser})
        if (key)
            RegCloseKey(key);
    return read;
}

bool ntSaverIsRunning() {
    HWND foreground = GetForegroundWindow();
    if (!foreground)
        return false;
    RECT rect{};
    GetWindowRect(foreground, &rect);
    const auto style = static_cast<std::uint32_t>(GetWindowLongA(foreground, GWL_STYLE));
    return ntSaverIsRunningFrom(true, style, {rect.left, rect.top, rect.right, rect.bottom},
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

bool legacySaverIsRunning() {
    BOOL previous = FALSE;
    SystemParametersInfoA(SCREEN_SAVER_RUNNING_PARAMETER, FALSE, &previous, 0);
    BOOL ignored = FALSE;
    SystemParametersInfoA(SCREEN_SAVER_RUNNING_PARAMETER, previous, &ignored, 0);
    return legacySaverIsRunningFrom(previous != FALSE);
}

class Win32PlatformServices : public PlatformServices {
  public:
    bool isNtPlatform() const override { return isNtPlatformId(platformId()); }

    bool passwordInUse() const override {
        DWORD value = 0;
        const bool read = readUsePassword(value);
        return passwordInUseFrom(read, value);
    }

    bool saverIsRunning() const override {
        return isNtPlatform() ? ntSaverIsRunning() : legacySaverIsRunning();
    }

    bool verifyPassword(void* owner) override {
        if (isNtPlatform())
            return verifyPasswordFrom(true, false, false, 0);
        HMODULE library = LoadLibraryA(PASSWORD_LIBRARY);
        if (!library)
            return verifyPasswordFrom(false, false, false, 0);
        auto verify = entryPoint<VerifyPasswordFn>(library, VERIFY_PASSWORD_ENTRY);
        const int result = verify ? verify(static_cast<HWND>(owner)) : 0;
        FreeLibrary(library);
        return verifyPasswordFrom(false, true, verify != nullptr, result);
    }

    void changePassword(long long parentHandle) override {
        HMODULE library = LoadLibraryA(ROUTER_LIBRARY);
        if (!library)
            return;
        if (auto change = entryPoint<ChangePasswordFn>(library, CHANGE_PASSWORD_ENTRY))
            change(SAVER_PROVIDER, reinterpret_cast<HWND>(static_cast<INT_PTR>(parentHandle)), 0,
                   nullptr);
        FreeLibrary(library);
    }

    void lowerPriority() override { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST); }

    // A failure is not reported: the saver runs the same.
    void setSaverRunning(bool running) override {
        BOOL previous = FALSE;
        SystemParametersInfoA(SCREEN_SAVER_RUNNING_PARAMETER, running ? TRUE : FALSE, &previous, 0);
    }

    // The system's own record of a running saver (setSaverRunning, and the
    // foreground window on the NT family) tells other instances; nothing more
    // is needed here.
    bool acquireSaverLock(std::string&) override { return true; }
};

} // namespace

std::unique_ptr<PlatformServices> makePlatformServices() {
    return std::make_unique<Win32PlatformServices>();
}

} // namespace lumivane
