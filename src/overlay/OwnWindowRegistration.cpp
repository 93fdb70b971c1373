#include "overlay/OwnWindowRegistration.h"

#include "platform/SimulatedDesktop.h"

namespace vesk {

OwnWindowRegistration::OwnWindowRegistration(platform::SimulatedDesktop* desktop, platform::OwnWindowSpec spec)
    : desktop_(desktop)
    , spec_(std::move(spec))
{
    spec_.visible = false;
}

OwnWindowRegistration::~OwnWindowRegistration()
{
    if (desktop_ && number_)
        desktop_->removeOwnWindow(*number_);
}

void OwnWindowRegistration::orderIn()
{
    spec_.visible = true;
    publish();
}

void OwnWindowRegistration::orderOut()
{
    spec_.visible = false;
    publish();
}

void OwnWindowRegistration::publish()
{
    if (!desktop_)
        return;
    if (number_)
        desktop_->updateOwnWindow(*number_, spec_);
    else
        number_ = desktop_->addOwnWindow(spec_);
}

} // namespace vesk
