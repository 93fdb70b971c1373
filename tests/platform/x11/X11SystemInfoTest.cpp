#include "platform/x11/X11SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vesk::platform::testing {
namespace {

TEST(X11SystemInfoTest, NamesTheModelFromTheFirmwareTables)
{
    struct Case {
        QString productName;
        QString boardName;
        QString model;
    };
    const Case cases[] = {
        {"ThinkPad X1 Carbon Gen 9\n", "20XW0055GE\n", "ThinkPad X1 Carbon Gen 9"},
        {"To Be Filled By O.E.M.\n", "B550 AORUS ELITE\n", "B550 AORUS ELITE"},
        {"System Product Name\n", "Default string\n", ""},
        {"", "PRIME X570-P\n", "PRIME X570-P"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.productName.toStdString());
        QTemporaryDir dmi;
        ASSERT_TRUE(dmi.isValid());
        for (const auto& [name, text] :
             {std::pair{"product_name", c.productName}, std::pair{"board_name", c.boardName}}) {
            if (text.isEmpty())
                continue;
            QFile file(QDir(dmi.path()).filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(text.toUtf8());
        }
        EXPECT_EQ(X11SystemInfo::modelFromDmi(dmi.path()), c.model);
    }
}

} // namespace
} // namespace vesk::platform::testing
