// Menu item lists and their counts.
#include <gtest/gtest.h>

#include "model/name_tables.h"

namespace vellora::model {
namespace {

TEST(NameTablesTest, CountsPerKind) {
    const int counts[] = {16, 21, 21, 41, 24, 21, 19, 23, 8, 8};
    for (int k = 0; k < 10; ++k) EXPECT_EQ(MenuItemCount(k), counts[k]) << "kind " << k;
    EXPECT_EQ(MenuItemCount(10), 0);
    EXPECT_EQ(MenuItemCount(-1), 0);
}

TEST(NameTablesTest, ItemsByPosition) {
    auto reverbTime = MenuItem(3, 21);
    ASSERT_TRUE(reverbTime);
    EXPECT_EQ(reverbTime->name, "混响时间");
    EXPECT_EQ(3 * 256 + reverbTime->address, 788);
    auto preDelay = MenuItem(3, 20);
    ASSERT_TRUE(preDelay);
    EXPECT_EQ(preDelay->name, "混响预延时");
    EXPECT_EQ(3 * 256 + preDelay->address, 784);
    EXPECT_EQ(MenuItem(0, 0)->address, 15);
    EXPECT_EQ(MenuItem(1, 1)->address, 0x14);
    EXPECT_EQ(MenuItem(7, 3)->name, "控制对象：音乐通道");
    EXPECT_FALSE(MenuItem(3, 41));
    EXPECT_FALSE(MenuItem(3, -1));
    EXPECT_FALSE(MenuItem(10, 0));
}

TEST(NameTablesTest, RecordingListsDifferOnlyInTheirLastName) {
    for (int j = 0; j < 7; ++j) {
        EXPECT_EQ(MenuItem(8, j)->name, MenuItem(9, j)->name);
        EXPECT_EQ(MenuItem(8, j)->address, MenuItem(9, j)->address);
    }
    EXPECT_EQ(MenuItem(8, 7)->name, "录音L通道音量");
    EXPECT_EQ(MenuItem(9, 7)->name, "录音R通道音量");
}

TEST(NameTablesTest, NamesByIndexAndKindNames) {
    EXPECT_EQ(ItemNameOf(788).value_or(""), "混响时间");
    EXPECT_EQ(ItemNameOf(1030).value_or(""), "高通滤波器类型");
    EXPECT_FALSE(ItemNameOf(2590));
    EXPECT_FALSE(ItemNameOf(-4));
    EXPECT_EQ(MenuKindName(0), "音乐");
    EXPECT_EQ(MenuKindName(7), "超低输出");
    EXPECT_EQ(MenuKindName(9), "录音R");
    EXPECT_EQ(MenuKindName(10), "");  // the tables give menu kind 10 no name
    EXPECT_EQ(MenuKindName(12), "");
}

}  // namespace
}  // namespace vellora::model
