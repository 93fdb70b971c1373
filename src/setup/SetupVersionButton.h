#pragma once

#include "ui/Localizer.h"

#include <QAbstractButton>

namespace vesk {

// The version under the header: the application's version text, and while an
// update waits a small glowing accent dot after it. Pressing it asks for an
// update check in every phase. Its tooltip reads "Update verfügbar" while an
// update waits and "Version" otherwise.
class SetupVersionButton final : public QAbstractButton {
    Q_OBJECT

public:
    SetupVersionButton(const QString& version, const Localizer& localizer, QWidget* parent = nullptr);

    bool isUpdateWaiting() const { return updateWaiting_; }
    void setUpdateWaiting(bool waiting);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Localizer localizer_;
    bool updateWaiting_ = false;
};

} // namespace vesk
