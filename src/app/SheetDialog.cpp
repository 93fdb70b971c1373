#include "app/SheetDialog.h"

#include <QVBoxLayout>

namespace vesk {

SheetDialog::SheetDialog(QWidget* parentWindow, QWidget* content) : QDialog(parentWindow, Qt::Sheet)
{
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(this);
    layout->addWidget(content);
}

} // namespace vesk
