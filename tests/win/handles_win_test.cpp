// The handle owners release what they hold, once.
#include "platform/handles_win.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(Handles, UniqueHandleTreatsInvalidValueAsEmptyAndClosesOnReset) {
    UniqueHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none.Valid());
    EXPECT_TRUE(none.Reset());

    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    UniqueHandle owner(event);
    UniqueHandle moved(std::move(owner));
    EXPECT_FALSE(owner.Valid());
    EXPECT_TRUE(moved.Valid());
    EXPECT_TRUE(moved.Reset());
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(event, &flags)) << "the handle is still open";
}

TEST(Handles, GdiOwnersDeleteTheirObject) {
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    {
        UniqueBrush owner(brush);
        UniqueBrush other;
        other = std::move(owner);
        EXPECT_EQ(other.Get(), brush);
        EXPECT_EQ(owner.Get(), nullptr);
        EXPECT_EQ(::GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(::GetObjectType(brush), 0u) << "the brush was not deleted";

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 4, 4);
    ::ReleaseDC(nullptr, screen);
    {
        UniqueHdc dc(memory);
        UniqueBitmap owned(bitmap);
        SelectGuard select(dc.Get(), owned.Get());
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap);
    }
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
    EXPECT_EQ(::GetObjectType(memory), 0u);
}

}  // namespace
}  // namespace quillpane
