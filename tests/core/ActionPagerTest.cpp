#include "core/present/ActionPager.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(ActionPager, PageCountFromTheActionCount) {
    struct TCase {
        int32_t Actions, PerPage, Pages;
    };
    for (const TCase& c : {TCase{0, 50, 1}, TCase{1, 50, 1}, TCase{100, 50, 2}, TCase{101, 50, 3}, TCase{95, 20, 5},
                           TCase{10, 0, 10}, TCase{10, -5, 10}}) {
        SCOPED_TRACE(::testing::Message() << c.Actions << " at " << c.PerPage);
        TActionPager pager;
        pager.Reset(c.Actions, c.PerPage);
        EXPECT_EQ(pager.PageCount(), c.Pages);
        EXPECT_EQ(pager.CurrentPage(), 1);
    }
}

TEST(ActionPager, ButtonsFollowTheirRules) {
    TActionPager pager;
    EXPECT_FALSE(pager.First() || pager.Previous() || pager.Next() || pager.Last()); // no replay yet
    EXPECT_EQ(pager.Label(TLanguage::English), "Page:  1/1");

    pager.Reset(250, 50);
    EXPECT_FALSE(pager.CanGoBack());
    EXPECT_TRUE(pager.CanGoForward());
    EXPECT_TRUE(pager.Last());
    EXPECT_EQ(pager.Label(TLanguage::English), "Page:  5/5");
    EXPECT_FALSE(pager.Next());
    EXPECT_FALSE(pager.Last());
    EXPECT_TRUE(pager.Previous());
    EXPECT_EQ(pager.CurrentPage(), 4);
    EXPECT_TRUE(pager.First());
    EXPECT_FALSE(pager.Previous());
    EXPECT_EQ(pager.Label(TLanguage::Chinese), "页码:  1/5");

    pager.Reset(0, 50);
    EXPECT_FALSE(pager.CanGoBack() || pager.CanGoForward());
    EXPECT_EQ(pager.Label(TLanguage::English), "Page:  1/1");
}
