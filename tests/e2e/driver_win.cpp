// Drives a running Quillpane.exe from another process, as a user and the
// shell would: windows by class, posted messages, keys, files on disk.
#include "driver_win.h"

#include "support/windows_win.h"

#include "platform/utf_convert.h"
#include "platform/wide_win.h"

#include <shlobj.h>

#include <cstdio>
#include <thread>
#include <vector>

namespace quillpane::e2e {

namespace {

// The output goes to a file: unbuffered, a crash still leaves what was printed.
const bool kUnbufferedOutput = [] {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    return true;
}();

}  // namespace

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t buffer[4096] {};
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, 4096);
    return (length > 0 && length < 4096) ? std::wstring(buffer, length) : std::wstring();
}

namespace {

using testing::DeleteTree;

void SendKey(WORD virtualKey, bool up) {
    INPUT input {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

}  // namespace

AppProcess::AppProcess(AppProcess&& other) noexcept : info_(other.info_) {
    other.info_ = {};
}

AppProcess& AppProcess::operator=(AppProcess&& other) noexcept {
    if (this != &other) {
        this->~AppProcess();
        info_ = other.info_;
        other.info_ = {};
    }
    return *this;
}

AppProcess::~AppProcess() {
    if (info_.hProcess == nullptr) return;
    if (Running()) {
        ::TerminateProcess(info_.hProcess, 99);
        ::WaitForSingleObject(info_.hProcess, 5000);
    }
    ::CloseHandle(info_.hProcess);
    ::CloseHandle(info_.hThread);
}

std::optional<DWORD> AppProcess::WaitForExit(Duration timeout) const {
    if (::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool AppProcess::Running() const {
    return info_.hProcess != nullptr && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

AppProcess LaunchApp() {
    return LaunchProgram(EnvironmentValue(L"QP_APP"));
}

AppProcess LaunchProgram(const std::wstring& path, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info {};
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        return AppProcess();
    }
    return AppProcess(info);
}

bool WaitUntil(const std::function<bool()>& condition, Duration timeout, Duration step) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}


HWND FindTopWindow(const wchar_t* className, DWORD processId) {
    return testing::FindTopWindow(className, processId);
}

std::vector<HWND> TopWindows(const wchar_t* className, DWORD processId) {
    return testing::TopWindows(className, processId);
}

HWND WaitForTopWindow(const wchar_t* className, DWORD processId, Duration timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, processId)) != nullptr; }, timeout);
    return found;
}

HWND FindChildByClass(HWND parent, const wchar_t* className) {
    return ::FindWindowExW(parent, nullptr, className, nullptr);
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring ControlText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          5000, &copied);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void PostChars(HWND window, const std::wstring& text) {
    for (const wchar_t c : text) ::PostMessageW(window, WM_CHAR, c, 1);
}

RECT WindowRect(HWND window) {
    RECT rect {};
    ::GetWindowRect(window, &rect);
    return rect;
}

std::wstring ProgramFolder() {
    wchar_t appData[MAX_PATH] {};
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    std::wstring folder = appData;
    if (!folder.empty() && folder.back() != L'\\') folder.push_back(L'\\');
    return folder + L"ferrix\\Quillpn\\";
}

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path))) result = path;
    ::CoTaskMemFree(path);
    return result;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ClearProgramFolder() {
    DeleteTree(ProgramFolder());
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size {};
    ::GetFileSizeEx(file, &size);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    const BOOL ok = bytes.empty() || ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    if (!ok || read != bytes.size()) return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

bool WaitForFile(const std::wstring& path, Duration timeout) {
    return WaitUntil([&] { return FileExists(path); }, timeout);
}

std::optional<std::wstring> ReadConfigValue(const std::wstring& section, const std::wstring& key) {
    const auto bytes = ReadFileBytes(ProgramFolder() + L"config.ini");
    if (!bytes) return std::nullopt;
    std::wstring text;
    if (bytes->size() >= 2 && static_cast<unsigned char>((*bytes)[0]) == 0xFF &&
        static_cast<unsigned char>((*bytes)[1]) == 0xFE) {
        text.assign(reinterpret_cast<const wchar_t*>(bytes->data() + 2), (bytes->size() - 2) / 2);
    } else {
        std::string_view utf8 = *bytes;
        if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
        text = ToWide(Utf8ToUtf16Lenient(utf8));
    }
    std::wstring current;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = text.substr(start, end - start);
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            current = line.substr(1, line.size() - 2);
        } else if (current == section) {
            const std::size_t equals = line.find(L'=');
            if (equals != std::wstring::npos && line.substr(0, equals) == key) return line.substr(equals + 1);
        }
        start = end + 1;
    }
    return std::nullopt;
}

UINT ToggleMessage() {
    return ::RegisterWindowMessageW(L"WM_QUILLPN_TOGGLE");
}

void ClickAt(int x, int y) {
    ::SetCursorPos(x, y);
    INPUT inputs[2] {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
    std::this_thread::sleep_for(200ms);
}

void DoubleClickAt(int x, int y) {
    ::SetCursorPos(x, y);
    INPUT inputs[4] {};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    ::SendInput(4, inputs, sizeof(INPUT));
    std::this_thread::sleep_for(300ms);
}

POINT EditorPointOnScreen(HWND editor, std::size_t position, int dx) {
    constexpr UINT kSciPointXFromPosition = 2164;
    constexpr UINT kSciPointYFromPosition = 2165;
    constexpr UINT kSciTextHeight = 2279;
    const auto at = static_cast<LPARAM>(position);
    const auto x = static_cast<int>(::SendMessageW(editor, kSciPointXFromPosition, 0, at));
    const auto y = static_cast<int>(::SendMessageW(editor, kSciPointYFromPosition, 0, at));
    const auto height = static_cast<int>(::SendMessageW(editor, kSciTextHeight, 0, 0));
    POINT point {x + dx, y + height / 2};
    ::ClientToScreen(editor, &point);
    return point;
}

void SendButton(DWORD flags) {
    INPUT input {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(INPUT));
}

void DragMouse(POINT from, POINT to, Duration hold, const std::function<void()>& beforeRelease) {
    ::SetCursorPos(from.x, from.y);
    std::this_thread::sleep_for(100ms);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    std::this_thread::sleep_for(hold);
    constexpr int kSteps = 8;
    for (int step = 1; step <= kSteps; ++step) {
        ::SetCursorPos(from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps);
        std::this_thread::sleep_for(40ms);
    }
    if (beforeRelease) beforeRelease();
    SendButton(MOUSEEVENTF_LEFTUP);
    std::this_thread::sleep_for(200ms);
}

void TypeText(const std::wstring& text) {
    for (const wchar_t c : text) {
        INPUT inputs[2] {};
        inputs[0].type = INPUT_KEYBOARD;
        inputs[0].ki.wScan = c;
        inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
        inputs[1] = inputs[0];
        inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        ::SendInput(2, inputs, sizeof(INPUT));
        std::this_thread::sleep_for(20ms);
    }
}

void PressKey(WORD virtualKey, bool ctrl, bool shift, bool alt) {
    if (ctrl) SendKey(VK_CONTROL, false);
    if (shift) SendKey(VK_SHIFT, false);
    if (alt) SendKey(VK_MENU, false);
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
    if (alt) SendKey(VK_MENU, true);
    if (shift) SendKey(VK_SHIFT, true);
    if (ctrl) SendKey(VK_CONTROL, true);
    std::this_thread::sleep_for(50ms);
}

void Screenshot(const std::string& name) {
    const std::wstring folder = EnvironmentValue(L"QP_ARTIFACTS");
    if (folder.empty()) return;
    const std::wstring request = folder + L"\\shots\\" + std::wstring(name.begin(), name.end()) + L".request";
    if (!WriteFileBytes(request, "")) return;
    WaitUntil([&] { return ::GetFileAttributesW(request.c_str()) == INVALID_FILE_ATTRIBUTES; }, 15s);
}

std::optional<std::string> ReadQrOnScreen(const std::string& name, const RECT& area) {
    const std::wstring folder = EnvironmentValue(L"QP_ARTIFACTS");
    if (folder.empty()) return std::nullopt;
    const std::wstring base = folder + L"\\shots\\" + std::wstring(name.begin(), name.end());
    const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                                 "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
    if (!WriteFileBytes(base + L".qr", geometry)) return std::nullopt;
    if (!WaitForFile(base + L".decoded", 15s)) return std::nullopt;
    std::optional<std::string> text = ReadFileBytes(base + L".decoded");
    while (text && !text->empty() && (text->back() == '\n' || text->back() == '\r')) text->pop_back();
    return text;
}

std::wstring RecorderCommand(const std::wstring& record) {
    wchar_t self[MAX_PATH] {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L'\\') + 1);
    return L"\"" + path + L"qp_recorder.exe\" \"" + record + L"\" \"%1\"";
}

void SetClassesValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(root, (L"Software\\Classes\\" + key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
}

}  // namespace quillpane::e2e
