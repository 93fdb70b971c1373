#include "app/SheetDialog.h"

#include <QVBoxLayout>

namespace vesk {

SheetDialog::SheetDialog(QWidget* parentWindow, QWidget* content, const ListWindow& listWindow)
    : QDialog(parentWindow, Qt::Sheet)
{
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(this);
    layout->addWidget(content);
    if (listWindow)
        listing_ = listWindow(*this);
}

// The listing goes while the dialog is still whole.
SheetDialog::~SheetDialog()
{
    listing_.reset();
}

} // namespace vesk
