#pragma once

#include "ui/TextLabel.h"

#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

namespace vesk::test {

// Reads and clicks the update panel as a person would: the texts it shows,
// its buttons by title or tooltip.
inline QStringList shownTexts(const QWidget& panel)
{
    QStringList texts;
    for (TextLabel* label : panel.findChildren<TextLabel*>()) {
        if (label->isVisibleTo(&panel))
            texts << label->text();
    }
    return texts;
}

inline QPushButton* shownButton(const QWidget& panel, const QString& title)
{
    for (QPushButton* button : panel.findChildren<QPushButton*>()) {
        if ((button->text() == title || button->toolTip() == title) && button->isVisibleTo(&panel))
            return button;
    }
    return nullptr;
}

inline void clickButton(const QWidget& panel, const QString& title)
{
    QPushButton* button = shownButton(panel, title);
    ASSERT_NE(button, nullptr) << "no button " << title.toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace vesk::test
