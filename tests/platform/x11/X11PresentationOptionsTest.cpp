#include "platform/x11/X11PresentationOptions.h"

#include "LogCapture.h"
#include "platform/x11/X11DefaultsDomains.h"
#include "platform/x11/X11DiagnosticPayloads.h"

#include <gtest/gtest.h>

namespace vesk::platform::testing {
namespace {

TEST(X11PresentationOptionsTest, KeepsTheOptionsAndSaysOnceThatTheyAreNotApplied)
{
    vesk::test::LogCapture log;
    X11PresentationOptions options;
    options.setPresentationOptions(0);
    EXPECT_TRUE(log.messages("X11PresentationOptions").isEmpty());
    options.setPresentationOptions(PresentationHideDock | PresentationDisableProcessSwitching);
    EXPECT_EQ(options.presentationOptions(), PresentationHideDock | PresentationDisableProcessSwitching);
    options.setPresentationOptions(PresentationHideMenuBar);
    EXPECT_EQ(options.presentationOptions(), PresentationHideMenuBar);
    options.setPresentationOptions(0);
    EXPECT_EQ(options.presentationOptions(), 0);
    EXPECT_EQ(log.messages("X11PresentationOptions").size(), 1);
}

TEST(X11DiagnosticPayloadsTest, ASubscriberHearsNothingAndTheAbsenceIsSaidOnce)
{
    vesk::test::LogCapture log;
    X11DiagnosticPayloads payloads;
    int delivered = 0;
    payloads.subscribeToDiagnosticPayloads([&](const std::vector<QByteArray>&) { ++delivered; });
    payloads.subscribeToDiagnosticPayloads([&](const std::vector<QByteArray>&) { ++delivered; });
    payloads.subscribeToDiagnosticPayloads({});
    EXPECT_EQ(delivered, 0);
    EXPECT_EQ(log.messages("X11DiagnosticPayloads").size(), 1);
}

TEST(X11DefaultsDomainsTest, StartsEmptyAndKeepsWhatIsSet)
{
    X11DefaultsDomains domains;
    EXPECT_TRUE(domains.domainNames().isEmpty());
    EXPECT_FALSE(domains.value("com.apple.dock", "autohide"));
    domains.setValue("com.apple.dock", "autohide", true);
    domains.setValue("com.apple.dock", "tilesize", 48);
    EXPECT_EQ(domains.value("com.apple.dock", "autohide"), QVariant(true));
    EXPECT_EQ(domains.domain("com.apple.dock").size(), 2);
    EXPECT_TRUE(domains.remove("com.apple.dock", "autohide"));
    EXPECT_FALSE(domains.remove("com.apple.dock", "autohide"));
    EXPECT_EQ(domains.domainNames(), QStringList{"com.apple.dock"});
    EXPECT_TRUE(domains.removeDomain("com.apple.dock"));
    EXPECT_FALSE(domains.removeDomain("com.apple.dock"));
    EXPECT_TRUE(domains.domainNames().isEmpty());
}

} // namespace
} // namespace vesk::platform::testing
