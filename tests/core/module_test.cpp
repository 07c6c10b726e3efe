#include <gtest/gtest.h>

#include "core/array.h"
#include "core/list.h"
#include "core/module.h"

#include <cstring>

TEST(ModuleReport, PrintsOnlyWhenTheSwitchAllows)
{
    ::testing::internal::CaptureStdout();
    ModuleReport(Reporting::Never, "never\n");
    ModuleReport(Reporting::Off, "off\n");
    ModuleReport(Reporting::On, "on\n");
    ModuleReport(Reporting::Always, "always\n");
    ModuleReport(Reporting::On, nullptr);
    ModuleTrace(false, "hidden\n");
    ModuleTrace(true, "shown\n");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "on\nalways\nshown\n");
}

TEST(ModuleIdentity, ContainersCarryTheirRecords)
{
    ASSERT_EQ(IdentityFields(LISTIdentity), 5u);
    EXPECT_STREQ(LISTIdentity[0], "LIST    ");
    EXPECT_STREQ(LISTIdentity[1], "20110824");
    EXPECT_STREQ(LISTIdentity[2], "VORNHALD");
    ASSERT_EQ(IdentityFields(ARRAYIdentity), 4u);
    EXPECT_STREQ(ARRAYIdentity[0], "ARRAY");
    EXPECT_STREQ(ARRAYIdentity[2], "QXW");
    EXPECT_STREQ(ARRAYIdentity[3], "C");
}
