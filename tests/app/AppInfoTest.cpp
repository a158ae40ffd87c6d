#include "platform/core/AppInfo.h"

#include <gtest/gtest.h>

TEST(AppInfoTest, TitleAndVersionComeFromTheBuild)
{
    EXPECT_EQ(veldra::app_info::title(), QStringLiteral("Veldra"));
    EXPECT_EQ(veldra::app_info::versionText(),
              QStringLiteral("%1.%2.%3").arg(veldra::app_info::versionMajor())
                  .arg(veldra::app_info::versionMinor()).arg(veldra::app_info::versionRevision()));
}
