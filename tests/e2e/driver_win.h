// Drives a running Quillpane.exe from another process, as a user and the
// shell would: windows by class, posted messages, keys, files on disk.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillpane::e2e {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

// A started Quillpane.exe; terminated on destruction if still running.
class AppProcess {
public:
    AppProcess() = default;
    explicit AppProcess(PROCESS_INFORMATION info) : info_(info) {}
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;
    AppProcess(AppProcess&& other) noexcept;
    AppProcess& operator=(AppProcess&& other) noexcept;
    ~AppProcess();

    [[nodiscard]] bool Started() const { return info_.hProcess != nullptr; }
    [[nodiscard]] DWORD ProcessId() const { return info_.dwProcessId; }
    // The exit code once the process ended within timeout.
    [[nodiscard]] std::optional<DWORD> WaitForExit(Duration timeout) const;
    [[nodiscard]] bool Running() const;

private:
    PROCESS_INFORMATION info_ {};
};

// Starts the program under test (path from QP_APP).
[[nodiscard]] AppProcess LaunchApp();
// Starts another program with a command line after its quoted path.
[[nodiscard]] AppProcess LaunchProgram(const std::wstring& path, const std::wstring& arguments = {});
// A variable of the harness's environment, empty when unset.
[[nodiscard]] std::wstring EnvironmentValue(const wchar_t* name);

// Polls until condition holds or timeout passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Duration timeout, Duration step = 50ms);

// The top-level window of that class belonging to the process, if any.
[[nodiscard]] HWND FindTopWindow(const wchar_t* className, DWORD processId);
// Every top-level window of the class, of the process (any process for 0).
[[nodiscard]] std::vector<HWND> TopWindows(const wchar_t* className, DWORD processId);
[[nodiscard]] HWND WaitForTopWindow(const wchar_t* className, DWORD processId, Duration timeout);
[[nodiscard]] HWND FindChildByClass(HWND parent, const wchar_t* className);

[[nodiscard]] std::wstring WindowText(HWND window);
// Text of a window of another process through WM_GETTEXT (marshalled).
[[nodiscard]] std::wstring ControlText(HWND window);
// Types into a window as WM_CHAR messages, without needing the focus.
void PostChars(HWND window, const std::wstring& text);
[[nodiscard]] RECT WindowRect(HWND window);

// The program's folder: %AppData%\ferrix\Quillpn\ (from the shell, as the program finds it).
[[nodiscard]] std::wstring ProgramFolder();
// A shell folder of the user (no trailing backslash).
[[nodiscard]] std::wstring KnownFolder(const KNOWNFOLDERID& id);
[[nodiscard]] bool FileExists(const std::wstring& path);
// Removes the program's folder with everything in it.
void ClearProgramFolder();
[[nodiscard]] std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
[[nodiscard]] bool WaitForFile(const std::wstring& path, Duration timeout);
// A key's value in config.ini as it is on disk now (UTF-8 or UTF-16 file).
[[nodiscard]] std::optional<std::wstring> ReadConfigValue(const std::wstring& section, const std::wstring& key);

[[nodiscard]] UINT ToggleMessage();

// Clicks at a screen point (gives a Wine window the X focus) and types.
void ClickAt(int x, int y);
// Two clicks at a screen point within the double-click time.
void DoubleClickAt(int x, int y);
// A point inside the character at a byte position of a Scintilla window
// (dx pixels from its left edge, half a line down), on screen.
[[nodiscard]] POINT EditorPointOnScreen(HWND editor, std::size_t position, int dx = 3);
// Presses the left button at `from`, holds it, moves to `to` in steps and releases.
void DragMouse(POINT from, POINT to, Duration hold, const std::function<void()>& beforeRelease = {});
void TypeText(const std::wstring& text);
void PressKey(WORD virtualKey, bool ctrl = false, bool shift = false, bool alt = false);

// The command line that starts the recorder (qp_recorder.exe beside the
// driver) for a shell verb: it appends what it is given ("%1") to record.
[[nodiscard]] std::wstring RecorderCommand(const std::wstring& record);
// A string value under Software\Classes of root (the default value when
// name is null).
void SetClassesValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value);

// Asks the harness for a screenshot of the whole display, named name.png in
// the scenario's artifact folder; waits until it is taken.
void Screenshot(const std::string& name);
// The harness crops the screen to area, saves it as name.png and reads a QR
// code in it with zbarimg: the text read, without the line end; nothing
// when the harness gave no answer.
[[nodiscard]] std::optional<std::string> ReadQrOnScreen(const std::string& name, const RECT& area);

}  // namespace quillpane::e2e
