#include "app/GroupedForm.h"

#include "ui/StyleSheetColor.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace vesk {

namespace {

constexpr int rowHorizontalPadding = 12;
constexpr int rowVerticalPadding = 7;

TextStyle wrappingStyle(const QFont& font)
{
    return {.font = font, .lineLimit = 0};
}

} // namespace

GroupedForm::GroupedForm(const VeskTheme& theme, QWidget* parent) : QWidget(parent), theme_(theme)
{
    sections_ = new QVBoxLayout(this);
    sections_->setContentsMargins(20, 12, 20, 12);
    sections_->setSpacing(10);
    sections_->addStretch();
}

QWidget* GroupedForm::addSection(const QString& header)
{
    auto* group = new QWidget(this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(0, 0, 0, 0);
    groupLayout->setSpacing(5);
    if (!header.isEmpty()) {
        auto* title =
            new TextLabel(header, wrappingStyle(VeskFont::interface(11, QFont::DemiBold)), theme_.textSecondary, group);
        title->setContentsMargins(rowHorizontalPadding, 0, 0, 0);
        groupLayout->addWidget(title);
    }
    auto* box = new QFrame(group);
    box->setObjectName(QStringLiteral("groupedFormSection"));
    box->setStyleSheet(
        QStringLiteral("#groupedFormSection { background: %1; border: 1px solid %2; border-radius: 8px; }")
            .arg(styleSheetColor(theme_.inset), styleSheetColor(theme_.hairline)));
    auto* rows = new QVBoxLayout(box);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    groupLayout->addWidget(box);
    sections_->insertWidget(sections_->count() - 1, group);
    return box;
}

void GroupedForm::addRow(QWidget* section, QWidget* row)
{
    auto* rows = static_cast<QVBoxLayout*>(section->layout());
    if (rows->count() > 0) {
        auto* hairline = new QFrame(section);
        hairline->setFixedHeight(1);
        hairline->setStyleSheet(QStringLiteral("background: %1; border: none;").arg(styleSheetColor(theme_.hairline)));
        rows->addWidget(hairline);
    }
    auto* padded = new QWidget(section);
    auto* padding = new QVBoxLayout(padded);
    padding->setContentsMargins(rowHorizontalPadding, rowVerticalPadding, rowHorizontalPadding, rowVerticalPadding);
    padding->addWidget(row);
    rows->addWidget(padded);
}

QWidget* GroupedForm::labelledRow(const QString& label, QWidget* control)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto* text = new TextLabel(label, wrappingStyle(VeskFont::interface(13)), theme_.textPrimary, row);
    layout->addWidget(text, 1, Qt::AlignVCenter);
    control->setParent(row);
    layout->addWidget(control, 0, Qt::AlignVCenter);
    return row;
}

QWidget* GroupedForm::captioned(QWidget* row, const QString& caption)
{
    auto* block = new QWidget(this);
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    row->setParent(block);
    layout->addWidget(row);
    layout->addWidget(captionText(caption));
    return block;
}

QWidget* GroupedForm::captionText(const QString& text)
{
    return new TextLabel(text, wrappingStyle(VeskFont::interface(11)), theme_.textSecondary, this);
}

} // namespace vesk
