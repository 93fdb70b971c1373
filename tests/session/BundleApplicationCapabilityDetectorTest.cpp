#include "session/BundleApplicationCapabilityDetector.h"
#include "platform/simulated/ApplicationBundle.h"
#include "platform/simulated/DesktopBundleReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

QUrl writeBundle(const QTemporaryDir& root, const QString& name, const QVariantMap& extraInfo)
{
    platform::BundleSpec spec;
    spec.path = "/Applications/" + name + ".app";
    spec.bundleIdentifier = "com.example." + name;
    spec.name = name;
    spec.extraInfo = extraInfo;
    const QString folder = root.path() + spec.path;
    QString error;
    EXPECT_TRUE(platform::ApplicationBundle::write(spec, folder, &error)) << error.toStdString();
    return QUrl::fromLocalFile(folder);
}

QVariantMap urlTypes(const QVariantList& types)
{
    return {{"CFBundleURLTypes", types}};
}

QVariantMap urlType(const QVariant& schemes)
{
    return {{"CFBundleURLName", "links"}, {"CFBundleURLSchemes", schemes}};
}

} // namespace

TEST(BundleApplicationCapabilityDetectorTest, WebSchemesInTheBundlesURLTypes)
{
    QTemporaryDir root;
    const platform::DesktopBundleReader bundles;
    const struct {
        QString name;
        QVariantMap info;
        bool supports;
    } cases[] = {
        {"Browser", urlTypes({urlType(QVariantList{"HTTPS"})}), true},
        {"Second", urlTypes({urlType(QVariantList{"mailto"}), urlType(QVariantList{"ftp", "http"})}), true},
        {"Mail", urlTypes({urlType(QVariantList{"mailto"})}), false},
        {"NoSchemes", urlTypes({QVariantMap{{"CFBundleURLName", "x"}}}), false},
        {"SchemeText", urlTypes({urlType("https")}), false},
        {"MixedSchemes", urlTypes({urlType(QVariantList{"https", 4}), urlType(QVariantList{"http"})}), true},
        {"NotDictionaries", urlTypes({QVariant("https")}), false},
        {"NoTypes", {}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BundleApplicationCapabilityDetector(bundles).supportsWebURLSchemes(writeBundle(root, c.name, c.info)),
                  c.supports)
            << c.name.toStdString();
}

TEST(BundleApplicationCapabilityDetectorTest, AnythingButABundleGivesFalse)
{
    QTemporaryDir root;
    QDir(root.path()).mkpath("Plain.app/Contents");
    QFile broken(root.path() + "/Broken.app/Contents/Info.plist");
    QDir(root.path()).mkpath("Broken.app/Contents");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a property list");
    broken.close();

    const platform::DesktopBundleReader bundles;
    const BundleApplicationCapabilityDetector detector(bundles);
    EXPECT_FALSE(detector.supportsWebURLSchemes(QUrl::fromLocalFile(root.path() + "/Missing.app")));
    EXPECT_FALSE(detector.supportsWebURLSchemes(QUrl::fromLocalFile(root.path() + "/Plain.app")));
    EXPECT_FALSE(detector.supportsWebURLSchemes(QUrl::fromLocalFile(root.path() + "/Broken.app")));
    EXPECT_FALSE(detector.supportsWebURLSchemes(QUrl("https://example.com/Browser.app")));
}
