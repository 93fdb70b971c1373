#pragma once

#include "ui/ApplicationLook.h"

#include <QApplication>
#include <QStyle>

namespace vesk::test {

// Gives the test program's application Vesk's look for the life of the
// object, as start-up gives it to Vesk, and then the toolkit's own again, so
// that the other tests of the program see what they always saw.
class AppliedApplicationLook {
public:
    AppliedApplicationLook() { ApplicationLook::apply(*qApp); }
    ~AppliedApplicationLook()
    {
        qApp->setStyleSheet(QString());
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
    AppliedApplicationLook(const AppliedApplicationLook&) = delete;
    AppliedApplicationLook& operator=(const AppliedApplicationLook&) = delete;
};

} // namespace vesk::test
