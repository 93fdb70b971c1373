#include "analytics/client/ClientIdentity.h"

#include <gtest/gtest.h>

using namespace vesk::telemetry;

namespace {

TEST(ClientIdentity, UserHashIsTheLowerCaseSha256OfIdentifierAndSalt)
{
    EXPECT_EQ(userHash("", ""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    // An empty salt hashes the bare identifier.
    EXPECT_EQ(userHash("user-1", ""), "c6c289e49e9c05b2145860387b73bcb18df43fb09a1e4a4a9713c76c88bb541b");
    EXPECT_EQ(userHash("user-1", "pepper"), "3ec3e5ada7d357d0c5c638f71248a9815f7abbcbc14c29d0fbd0001d56b88875");
    // UTF-8, not Latin-1.
    EXPECT_EQ(userHash(QString::fromUtf8("Jürgen"), ""),
              "c58fb672c97fba72a3a3f7f01b564d5602f721bd80ff899c0c7ccc187fa59817");
}

TEST(ClientIdentity, SuiteIsNamedAfterTheFirstTwelveDigitsOfTheAppHash)
{
    EXPECT_EQ(clientSuiteName("5A1B7C3D-0000-4000-8000-00000000ABCD"), "com.telemetry.dbd3758951f7");
}

} // namespace
