// The platform's word segmenter (Windows.Data.Text.WordsSegmenter) for the
// double-click word, in the language of the user interface.
#include "editor/word_segmenter_win.h"

#include <windows.h>

#include "platform/hstring_win.h"

#include <inspectable.h>
#include <roapi.h>

#include <string>

namespace quillpane {
namespace {

// MinGW ships no header for Windows.Data.Text: the three interfaces the
// lookup needs, in their documented slot order.
struct TextSegmentAbi {
    UINT32 startPosition;
    UINT32 length;
};

struct IWordSegmentAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Text(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SourceTextSegment(TextSegmentAbi* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AlternateForms(void** value) = 0;
};

struct IWordsSegmenterAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_ResolvedLanguage(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTokenAt(HSTRING text, UINT32 startIndex, IWordSegmentAbi** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTokens(HSTRING text, void** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Tokenize(HSTRING text, UINT32 startIndex, void* handler) = 0;
};

struct IWordsSegmenterFactoryAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE CreateWithLanguage(HSTRING language, IWordsSegmenterAbi** result) = 0;
};

// {E6977274-FC35-455C-8BFB-6D7F4653CA97}
constexpr IID kIidWordsSegmenterFactory = {
    0xe6977274, 0xfc35, 0x455c, {0x8b, 0xfb, 0x6d, 0x7f, 0x46, 0x53, 0xca, 0x97}};

constexpr wchar_t kClassName[] = L"Windows.Data.Text.WordsSegmenter";

// Released at exit with the process; COM may be gone by then.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    T** Out() { return &pointer_; }
    T* operator->() const { return pointer_; }
    [[nodiscard]] bool Empty() const { return pointer_ == nullptr; }

private:
    T* pointer_ = nullptr;
};

struct SegmenterState {
    bool tried = false;
    IWordsSegmenterFactoryAbi* factory = nullptr;  // kept for the process
    std::wstring language;
};

SegmenterState& State() {
    static SegmenterState state;
    return state;
}

std::wstring UiLanguageName() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] {};
    const LCID locale = MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT);
    const int length = ::LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0);
    return length > 1 ? std::wstring(name, static_cast<std::size_t>(length - 1)) : std::wstring(L"en-US");
}

IWordsSegmenterFactoryAbi* Factory() {
    SegmenterState& state = State();
    if (!state.tried) {
        state.tried = true;
        const UniqueHstring className(kClassName, sizeof(kClassName) / sizeof(wchar_t) - 1);
        void* factory = nullptr;
        if (className.Get() != nullptr &&
            SUCCEEDED(::RoGetActivationFactory(className.Get(), kIidWordsSegmenterFactory, &factory)) &&
            factory != nullptr) {
            state.factory = static_cast<IWordsSegmenterFactoryAbi*>(factory);
            state.language = UiLanguageName();
        }
    }
    return state.factory;
}

}  // namespace

bool WordSegmenterAvailable() {
    return Factory() != nullptr;
}

std::optional<TextRange> SegmentAt(std::u16string_view text, std::size_t index) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    IWordsSegmenterFactoryAbi* factory = Factory();
    if (factory == nullptr || index >= text.size() || text.size() > 0xFFFFFFFFu) return std::nullopt;
    const std::wstring& languageName = State().language;
    const UniqueHstring language(languageName.c_str(), languageName.size());
    const UniqueHstring whole(reinterpret_cast<const wchar_t*>(text.data()), text.size());
    if (language.Get() == nullptr || whole.Get() == nullptr) return std::nullopt;
    ComRef<IWordsSegmenterAbi> segmenter;
    if (FAILED(factory->CreateWithLanguage(language.Get(), segmenter.Out())) || segmenter.Empty()) return std::nullopt;
    ComRef<IWordSegmentAbi> token;
    if (FAILED(segmenter->GetTokenAt(whole.Get(), static_cast<UINT32>(index), token.Out())) || token.Empty()) {
        return std::nullopt;
    }
    TextSegmentAbi segment {};
    if (FAILED(token->get_SourceTextSegment(&segment))) return std::nullopt;
    const std::size_t start = segment.startPosition;
    const std::size_t end = start + segment.length;
    if (start > index || index >= end || end > text.size()) return std::nullopt;
    return TextRange {start, end};
}

SegmentLookup PlatformSegmentLookup() {
    if (!WordSegmenterAvailable()) return {};
    return [](std::u16string_view text, std::size_t index) { return SegmentAt(text, index); };
}

}  // namespace quillpane
