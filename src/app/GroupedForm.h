#pragma once

#include "ui/VeskTheme.h"

#include <QString>
#include <QWidget>

class QVBoxLayout;

namespace vesk {

// A settings page in the grouped style: sections stacked top to bottom, each
// an optional small header over a rounded inset box whose rows are parted by
// hairlines. A row is any widget; `labelledRow` puts a label on the left and
// a control on the right, and a caption goes under the row it explains.
class GroupedForm final : public QWidget {
    Q_OBJECT

public:
    explicit GroupedForm(const VeskTheme& theme = VeskTheme::shared(), QWidget* parent = nullptr);

    // A new section at the bottom of the form; an empty header shows none.
    QWidget* addSection(const QString& header = QString());
    // Appends a row to a section, with a hairline above all but the first.
    void addRow(QWidget* section, QWidget* row);
    // The label on the left, the control on the right, centred vertically.
    QWidget* labelledRow(const QString& label, QWidget* control);
    // A row made of the row's widget and, under it, the caption.
    QWidget* captioned(QWidget* row, const QString& caption);
    // A caption-sized text in the secondary colour, wrapping to its width.
    QWidget* captionText(const QString& text);

private:
    VeskTheme theme_;
    QVBoxLayout* sections_ = nullptr;
};

} // namespace vesk
