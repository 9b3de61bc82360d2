// The decisions behind the Windows screen-saver password services
// (PlatformWin32.cpp), kept apart from the platform calls so that they can be
// checked anywhere. Each function takes the
// platform's raw answers and returns what the program acts on. Plain C++.
#pragma once

#include <cstdint>

namespace lumivane {

// Names the Windows services are reached by.
inline constexpr const char* PASSWORD_LIBRARY = "PASSWORD.CPL";
inline constexpr const char* VERIFY_PASSWORD_ENTRY = "VerifyScreenSavePwd";
inline constexpr const char* ROUTER_LIBRARY = "MPR.DLL";
inline constexpr const char* CHANGE_PASSWORD_ENTRY = "PwdChangePasswordA";
inline constexpr const char* SAVER_PROVIDER = "SCRSAVE";
inline constexpr const char* DEFAULT_USER_KEY = ".Default";
inline constexpr const char* CONTROL_PANEL_KEY = "Control Panel";
inline constexpr const char* DESKTOP_KEY = "Desktop";
inline constexpr const char* USE_PASSWORD_VALUE = "ScreenSaveUsePassword";

inline constexpr std::uint32_t VERSION_RECORD_BYTES = 148;
inline constexpr std::uint32_t NT_PLATFORM_ID = 2;
inline constexpr unsigned SCREEN_SAVER_RUNNING_PARAMETER = 97;

inline constexpr std::uint32_t STYLE_TOP_BITS = 0xF0000000u;
inline constexpr std::uint32_t STYLE_POPUP = 0x80000000u;
inline constexpr std::uint32_t STYLE_VISIBLE = 0x10000000u;

constexpr bool isNtPlatformId(std::uint32_t platformId) {
    return platformId == NT_PLATFORM_ID;
}

// Protection counts as on whenever its setting cannot be read.
constexpr bool passwordInUseFrom(bool settingRead, std::uint32_t value) {
    return !settingRead || value != 0;
}

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// On the NT family a running saver is recognised by its window: a visible
// pop-up (no child or minimised bit) in the foreground, exactly screen-sized.
constexpr bool ntSaverIsRunningFrom(bool hasForegroundWindow, std::uint32_t style, WindowRect rect,
                                    int screenWidth, int screenHeight) {
    return hasForegroundWindow && (style & STYLE_TOP_BITS) == (STYLE_POPUP | STYLE_VISIBLE) &&
           rect.right - rect.left == screenWidth && rect.bottom - rect.top == screenHeight;
}

// Elsewhere the system parameter's previous state answers the question.
constexpr bool legacySaverIsRunningFrom(bool previousState) {
    return previousState;
}

// A missing library or entry point never keeps the saver from closing.
constexpr bool verifyPasswordFrom(bool ntPlatform, bool libraryLoaded, bool entryFound,
                                  int result) {
    if (ntPlatform || !libraryLoaded || !entryFound)
        return true;
    return result != 0;
}

} // namespace lumivane
