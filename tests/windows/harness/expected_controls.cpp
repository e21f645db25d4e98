#include "expected_controls.h"

#include <gtest/gtest.h>

#include <cwctype>

std::wstring lowerCase(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

void expectControls(const std::vector<TemplateItem>& items, const ExpectedControl* rows,
                    std::size_t count) {
    ASSERT_EQ(items.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        const TemplateItem& item = items[i];
        const ExpectedControl& want = rows[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(lowerCase(item.className), lowerCase(want.className));
        if (want.text != nullptr) {
            EXPECT_EQ(item.text, want.text);
        }
        EXPECT_EQ(item.style, want.style);
        EXPECT_EQ(item.exStyle, want.exStyle);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
    }
}
