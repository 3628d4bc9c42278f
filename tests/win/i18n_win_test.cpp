// The thread's preferred UI languages as set from [UI] Language.
#include "i18n/language_win.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace quillpane {
namespace {

// One recorded call of SetThreadPreferredUILanguages.
struct SetCall {
    DWORD flags;
    bool hasList;
    std::wstring list;  // the multi-string with its inner terminators
    bool hasCount;
};

std::vector<SetCall> calls;
int failingCalls = 0;  // the first this many calls fail

BOOL WINAPI FakeSetThreadLanguages(DWORD flags, PCZZWSTR languages, PULONG count) {
    SetCall call{flags, languages != nullptr, {}, count != nullptr};
    if (languages != nullptr) {
        const wchar_t* p = languages;
        while (*p != L'\0') {
            const std::wstring entry(p);
            call.list += entry;
            call.list += L'\0';
            p += entry.size() + 1;
        }
    }
    calls.push_back(call);
    return static_cast<int>(calls.size()) > failingCalls;
}

class ThreadLanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        failingCalls = 0;
    }
};

TEST_F(ThreadLanguageTest, AliasIsPassedAsOneEntryList) {
    EXPECT_EQ(ApplyThreadLanguageWith(u"de", &FakeSetThreadLanguages), ThreadLanguageResult::Set);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].flags, static_cast<DWORD>(MUI_LANGUAGE_NAME));
    EXPECT_EQ(calls[0].list, std::wstring(L"de-DE", 6));
    EXPECT_TRUE(calls[0].hasCount);

    calls.clear();
    EXPECT_EQ(ApplyThreadLanguageWith(u"ZH-hant", &FakeSetThreadLanguages), ThreadLanguageResult::Set);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].list, std::wstring(L"zh-TW", 6));
}

TEST_F(ThreadLanguageTest, EmptyOrUnknownValueClearsThePreference) {
    for (std::u16string_view value : {u"", u"zh-HK", u"pt-PT"}) {
        calls.clear();
        EXPECT_EQ(ApplyThreadLanguageWith(value, &FakeSetThreadLanguages),
                  ThreadLanguageResult::Cleared);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].flags, 0u);
        EXPECT_FALSE(calls[0].hasList);
        EXPECT_FALSE(calls[0].hasCount);
    }
}

TEST_F(ThreadLanguageTest, FailedSetClearsInstead) {
    failingCalls = 1;
    EXPECT_EQ(ApplyThreadLanguageWith(u"ja", &FakeSetThreadLanguages), ThreadLanguageResult::Cleared);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].list, std::wstring(L"ja-JP", 6));
    EXPECT_EQ(calls[1].flags, 0u);
    EXPECT_FALSE(calls[1].hasList);

    calls.clear();
    failingCalls = 2;
    EXPECT_EQ(ApplyThreadLanguageWith(u"ja", &FakeSetThreadLanguages), ThreadLanguageResult::Failed);
    EXPECT_EQ(calls.size(), 2u);
}

// The thread's own list (without the process, user and system languages).
std::wstring ThreadLanguages() {
    ULONG count = 0;
    wchar_t buffer[256] = {};
    ULONG size = static_cast<ULONG>(std::size(buffer));
    if (!GetThreadPreferredUILanguages(MUI_LANGUAGE_NAME | MUI_THREAD_LANGUAGES, &count, buffer,
                                       &size)) {
        return L"<failed>";
    }
    return count == 0 ? std::wstring() : std::wstring(buffer);
}

bool RunningOnWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(ApplyThreadLanguage, SetsAndClearsTheThreadPreference) {
    const ThreadLanguageResult setResult = ApplyThreadLanguage(u"de");
    const std::wstring afterSet = ThreadLanguages();
    const ThreadLanguageResult clearResult = ApplyThreadLanguage(u"");
    const std::wstring afterClear = ThreadLanguages();

    EXPECT_EQ(setResult, ThreadLanguageResult::Set);
    EXPECT_EQ(clearResult, ThreadLanguageResult::Cleared);
    // Wine 8 accepts SetThreadPreferredUILanguages as a stub and reports the
    // user's default language from GetThreadPreferredUILanguages.
    if (RunningOnWine()) GTEST_SKIP() << "Wine does not keep thread UI languages";
    EXPECT_EQ(afterSet, L"de-DE");
    EXPECT_EQ(afterClear, L"");
}

}  // namespace
}  // namespace quillpane
