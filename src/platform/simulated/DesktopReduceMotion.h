#pragma once

#include "platform/ReduceMotionProviding.h"

#include <QObject>

namespace vesk::platform {

// The simulated desktop's "reduce motion" setting.
class DesktopReduceMotion final : public QObject, public ReduceMotionProviding {
    Q_OBJECT

public:
    bool shouldReduceMotion() const override { return reduceMotion_; }
    QMetaObject::Connection observeReduceMotion(QObject* receiver, std::function<void()> handler) const override;
    void setReduceMotion(bool reduce);

signals:
    void reduceMotionChanged();

private:
    bool reduceMotion_ = false;
};

} // namespace vesk::platform
