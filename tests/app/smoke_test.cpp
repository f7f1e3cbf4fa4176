#include <gtest/gtest.h>

#include "mib/Enterprise.h"

TEST(Smoke, EnterpriseArcIsTheDocumentationNumber) {
    EXPECT_STREQ(mib::qvEnterprise, "1.3.6.1.4.1.32473");
}
