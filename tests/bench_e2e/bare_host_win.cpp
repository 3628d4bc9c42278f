// The yardstick of the editor benchmark: the least a program can do to show
// a memo in Scintilla. A hidden top-level window (as Quillpane's panel is at
// startup) holding a Scintilla child with UTF-8, word wrap and a line-number
// margin; the file named on the command line is put in with SCI_SETTEXT. The
// window title turns to "loaded" once the text is in.
#include <windows.h>
#include <shellapi.h>

#include <Scintilla.h>

#include <algorithm>
#include <string>

namespace {

constexpr wchar_t kHostClass[] = L"QpBareHost";
constexpr int kEditorId = 2001;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        HWND editor = ::GetDlgItem(hwnd, kEditorId);
        if (editor != nullptr) ::MoveWindow(editor, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool ReadWholeFile(const wchar_t* path, std::string& bytes) {
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size {};
    ::GetFileSizeEx(file, &size);
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        if (!::ReadFile(file, bytes.data() + done, chunk, &read, nullptr) || read == 0) {
            ok = false;
            break;
        }
        done += read;
    }
    ::CloseHandle(file);
    return ok;
}

LRESULT Call(HWND editor, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(editor, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 2) return 2;
    if (!Scintilla_RegisterClasses(instance)) return 3;

    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHostClass;
    if (!::RegisterClassExW(&windowClass)) return 4;

    // Never shown, like the panel until it is called up.
    HWND host = ::CreateWindowExW(0, kHostClass, L"QpBareHost", WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0,
                                  640, 440, nullptr, nullptr, instance, nullptr);
    if (host == nullptr) return 5;
    RECT client {};
    ::GetClientRect(host, &client);
    HWND editor = ::CreateWindowExW(0, L"Scintilla", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS, 0,
                                    0, client.right, client.bottom, host,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)), instance, nullptr);
    if (editor == nullptr) return 6;
    Call(editor, SCI_SETCODEPAGE, SC_CP_UTF8);
    Call(editor, SCI_SETEOLMODE, SC_EOL_CRLF);
    Call(editor, SCI_SETWRAPMODE, SC_WRAP_WORD);
    Call(editor, SCI_SETMARGINTYPEN, 0, SC_MARGIN_NUMBER);
    const LRESULT digits = Call(editor, SCI_TEXTWIDTH, STYLE_LINENUMBER, reinterpret_cast<LPARAM>("_9999999"));
    Call(editor, SCI_SETMARGINWIDTHN, 0, digits);

    std::string bytes;
    if (!ReadWholeFile(argv[1], bytes)) return 7;
    ::LocalFree(argv);
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    // As an editor opening a file does: loading is no undo step.
    Call(editor, SCI_SETUNDOCOLLECTION, 0);
    Call(editor, SCI_SETTEXT, 0, reinterpret_cast<LPARAM>(bytes.c_str()));
    Call(editor, SCI_SETUNDOCOLLECTION, 1);
    Call(editor, SCI_EMPTYUNDOBUFFER);
    Call(editor, SCI_SETSAVEPOINT);
    bytes.clear();
    bytes.shrink_to_fit();
    ::SetWindowTextW(host, L"loaded");

    MSG message {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
