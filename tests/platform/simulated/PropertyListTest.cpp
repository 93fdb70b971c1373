#include "platform/simulated/PropertyList.h"

#include <QVariantMap>

#include <gtest/gtest.h>

using namespace vesk::platform;

namespace {

TEST(PropertyList, RoundTripKeepsTypesAndNesting)
{
    const QVariantMap info{
        {"CFBundleIdentifier", "com.example.app"},
        {"LSUIElement", true},
        {"Count", qlonglong(3)},
        {"Ratio", 0.25},
        {"Data", QByteArray("\x01\x02", 2)},
        {"CFBundleURLTypes", QVariantList{QVariantMap{{"CFBundleURLSchemes", QVariantList{"https", "mailto"}}}}},
        {"Empty", QVariantMap{}},
        {"Text & <markup>", "a < b"},
    };
    const QByteArray xml = PropertyList::toXml(info);
    const auto read = PropertyList::fromXml(xml);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->toMap(), info);
    EXPECT_EQ(read->toMap().value("Count").typeId(), QMetaType::LongLong);
    EXPECT_EQ(read->toMap().value("LSUIElement").typeId(), QMetaType::Bool);
}

TEST(PropertyList, MalformedDocumentsGiveNoValueAndAReason)
{
    const char* documents[] = {
        "",
        "<plist><dict><key>A</key></dict></plist>",
        "<plist><dict><string>no key</string></dict></plist>",
        "<plist><integer>twelve</integer></plist>",
        "<plist><dict><key>A</key><string>x</string>",
        "<html></html>",
        "<plist><frob/></plist>",
    };
    for (const char* document : documents) {
        QString error;
        EXPECT_FALSE(PropertyList::fromXml(document, &error)) << document;
        EXPECT_FALSE(error.isEmpty()) << document;
    }
}

} // namespace
