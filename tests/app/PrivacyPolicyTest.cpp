#include "app/PrivacyPolicy.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

TEST(PrivacyPolicyURLTest, IsAnHttpsAddressOfThePrivacyPage)
{
    const auto& url = privacyPolicyURL();
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(url->scheme(), "https");
    EXPECT_EQ(url->path(), "/vesk-privacy");
    EXPECT_FALSE(url->host().isEmpty());
    EXPECT_EQ(&privacyPolicyURL(), &url);
}

} // namespace
