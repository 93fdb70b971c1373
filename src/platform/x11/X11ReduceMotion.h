#pragma once

#include "platform/ReduceMotionProviding.h"

#include <QObject>

#include <optional>

namespace vesk::platform {

class GSettingsTool;

// The desktop's wish for less motion: GNOME's "enable-animations" of
// org.gnome.desktop.interface switched off (other GSettings desktops share
// that schema). Reading it runs `gsettings`, so it is read at the first ask
// and again only on `refresh()`, never on every ask. Without the tool or the
// schema, motion is not reduced. Main thread only.
class X11ReduceMotion final : public QObject, public ReduceMotionProviding {
    Q_OBJECT
public:
    explicit X11ReduceMotion(GSettingsTool& tool);

    bool shouldReduceMotion() const override;
    QMetaObject::Connection observeReduceMotion(QObject* receiver, std::function<void()> handler) const override;

    // Reads the setting again; the observers hear of a change.
    void refresh();

signals:
    void changed();

private:
    bool read() const;

    GSettingsTool& tool_;
    mutable std::optional<bool> reduce_;
};

} // namespace vesk::platform
