#include "platform/x11/X11GestureTap.h"

#include "platform/x11/X11Connection.h"

#include <xcb/xinput.h>

#include <array>
#include <cstdlib>

namespace vesk::platform {

namespace {

constexpr std::uint32_t anyModifier = XCB_INPUT_MODIFIER_MASK_ANY;
// The event-mask bits of the gesture events: pinch begin, update, end (27..29)
// and swipe begin, update, end (30..32), over two mask words.
constexpr std::array<std::uint32_t, 2> pinchMask{(1u << XCB_INPUT_GESTURE_PINCH_BEGIN)
                                                     | (1u << XCB_INPUT_GESTURE_PINCH_UPDATE)
                                                     | (1u << XCB_INPUT_GESTURE_PINCH_END),
                                                 0};
constexpr std::array<std::uint32_t, 2> swipeMask{(1u << XCB_INPUT_GESTURE_SWIPE_BEGIN)
                                                     | (1u << XCB_INPUT_GESTURE_SWIPE_UPDATE),
                                                 1u << (XCB_INPUT_GESTURE_SWIPE_END - 32)};

struct GestureKind {
    std::uint8_t grabType;
    const std::array<std::uint32_t, 2>& mask;
};
constexpr std::array<GestureKind, 2> gestureKinds{GestureKind{XCB_INPUT_GRAB_TYPE_GESTURE_PINCH_BEGIN, pinchMask},
                                                  GestureKind{XCB_INPUT_GRAB_TYPE_GESTURE_SWIPE_BEGIN, swipeMask}};

// The phases of a gesture stream, as the chain's taps read them.
constexpr std::int64_t phaseBegan = 1;
constexpr std::int64_t phaseChanged = 2;
constexpr std::int64_t phaseEnded = 4;
constexpr std::int64_t phaseCancelled = 8;

double fromFixed(xcb_input_fp1616_t value)
{
    return double(value) / 65536.0;
}

} // namespace

std::optional<X11GestureTap::Version> X11GestureTap::queryVersion(X11Connection& connection)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection.xcb(), &xcb_input_id);
    if (!extension || !extension->present)
        return std::nullopt;
    xcb_input_xi_query_version_reply_t* reply =
        xcb_input_xi_query_version_reply(connection.xcb(), xcb_input_xi_query_version(connection.xcb(), 2, 4), nullptr);
    if (!reply)
        return std::nullopt;
    const Version version{reply->major_version, reply->minor_version};
    std::free(reply);
    return version;
}

bool X11GestureTap::reportsGestures(const std::optional<Version>& version)
{
    return version && (version->major > 2 || (version->major == 2 && version->minor >= 4));
}

std::uint64_t X11GestureTap::deliveredMask()
{
    return eventMaskBit(EventType::magnify) | eventMaskBit(EventType::swipe);
}

std::uint64_t X11GestureTap::acceptedMask()
{
    std::uint64_t mask = deliveredMask() | eventMaskBit(EventType::systemDefined);
    for (int type : {EventType::rotate, EventType::beginGesture, EventType::endGesture, EventType::gesture,
                     EventType::smartMagnify, EventType::quickLook, EventType::pressure, EventType::directTouch})
        mask |= eventMaskBit(type);
    return mask;
}

X11GestureTap::X11GestureTap(X11Connection& connection, std::optional<Version> serverVersion, Pass pass,
                             QuartzFromRoot quartzFromRoot)
    : connection_(connection)
    , version_(serverVersion)
    , pass_(std::move(pass))
    , quartzFromRoot_(std::move(quartzFromRoot))
{
    if (!reportsGestures(version_))
        return;
    if (const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_.xcb(), &xcb_input_id);
        extension && extension->present)
        opcode_ = extension->major_opcode;
    handler_ = connection_.addEventHandler([this](const xcb_generic_event_t& event) { handleEvent(event); });
}

X11GestureTap::~X11GestureTap()
{
    ungrab();
    if (handler_)
        connection_.removeEventHandler(handler_);
}

void X11GestureTap::follow(std::uint64_t swallowingMask)
{
    const bool wanted = (swallowingMask & deliveredMask()) != 0;
    if (wanted == grabbing_)
        return;
    if (!wanted) {
        ungrab();
        return;
    }
    if (!reportsGestures(version_) || !opcode_) {
        reportOnce(unsupportedReported_, VeskLogLevel::warning,
                   QStringLiteral("The X server reports no gestures (XInput %1, gestures need 2.4) — gestures are "
                                  "not blocked")
                       .arg(version_ ? QStringLiteral("%1.%2").arg(version_->major).arg(version_->minor)
                                     : QStringLiteral("missing")));
        return;
    }
    grabbing_ = grab();
}

// Both kinds at once or neither: a gesture half taken would block pinches
// and leave swipes to whoever holds them.
bool X11GestureTap::grab()
{
    xcb_connection_t* c = connection_.xcb();
    bool taken = true;
    bool refused = false;
    for (const GestureKind& kind : gestureKinds) {
        xcb_input_xi_passive_grab_device_reply_t* reply = xcb_input_xi_passive_grab_device_reply(
            c,
            xcb_input_xi_passive_grab_device(c, XCB_CURRENT_TIME, connection_.root(), XCB_NONE, 0,
                                             XCB_INPUT_DEVICE_ALL_MASTER, 1, std::uint16_t(kind.mask.size()),
                                             kind.grabType, XCB_INPUT_GRAB_MODE_22_ASYNC, XCB_INPUT_GRAB_MODE_22_ASYNC,
                                             0, kind.mask.data(), &anyModifier),
            nullptr);
        // The reply lists the modifier combinations that could not be grabbed.
        refused = refused || !reply;
        taken = taken && reply && xcb_input_xi_passive_grab_device_modifiers_length(reply) == 0;
        std::free(reply);
    }
    if (!taken) {
        for (const GestureKind& kind : gestureKinds)
            xcb_input_xi_passive_ungrab_device(c, connection_.root(), 0, XCB_INPUT_DEVICE_ALL_MASTER, 1, kind.grabType,
                                               &anyModifier);
        connection_.flush();
        reportOnce(heldElsewhereReported_, VeskLogLevel::warning,
                   refused ? QStringLiteral("The X server refused the gesture grabs — gestures are not blocked")
                           : QStringLiteral(
                               "Another client holds the gestures at the root window — gestures are not blocked"));
        return false;
    }
    const int devices = gestureDeviceCount();
    const QString takenText =
        QStringLiteral("Gestures taken at the root window (XInput %1.%2)").arg(version_->major).arg(version_->minor);
    reportOnce(grabReported_, VeskLogLevel::info,
               devices > 0 ? takenText + QStringLiteral("; devices that report gestures: %1").arg(devices)
                           : takenText
                                 + QStringLiteral(", but no device reports gestures now — none to block "
                                                  "until one does"));
    return true;
}

void X11GestureTap::ungrab()
{
    if (!grabbing_)
        return;
    grabbing_ = false;
    for (const GestureKind& kind : gestureKinds)
        xcb_input_xi_passive_ungrab_device(connection_.xcb(), connection_.root(), 0, XCB_INPUT_DEVICE_ALL_MASTER, 1,
                                           kind.grabType, &anyModifier);
    connection_.flush();
}

// Touchpads whose driver reports gestures carry a gesture class.
int X11GestureTap::gestureDeviceCount() const
{
    xcb_connection_t* c = connection_.xcb();
    xcb_input_xi_query_device_reply_t* reply =
        xcb_input_xi_query_device_reply(c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL), nullptr);
    if (!reply)
        return 0;
    int count = 0;
    for (auto devices = xcb_input_xi_query_device_infos_iterator(reply); devices.rem;
         xcb_input_xi_device_info_next(&devices)) {
        for (auto classes = xcb_input_xi_device_info_classes_iterator(devices.data); classes.rem;
             xcb_input_device_class_next(&classes)) {
            if (classes.data->type == XCB_INPUT_DEVICE_CLASS_TYPE_GESTURE) {
                ++count;
                break;
            }
        }
    }
    std::free(reply);
    return count;
}

bool X11GestureTap::handleEvent(const xcb_generic_event_t& event)
{
    if ((event.response_type & 0x7f) != XCB_GE_GENERIC || !opcode_)
        return false;
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != *opcode_ || generic.event_type < XCB_INPUT_GESTURE_PINCH_BEGIN
        || generic.event_type > XCB_INPUT_GESTURE_SWIPE_END)
        return false;
    const bool pinch = generic.event_type <= XCB_INPUT_GESTURE_PINCH_END;
    // Pinch and swipe events share their first fields up to the flags' place.
    const auto& swipe = reinterpret_cast<const xcb_input_gesture_swipe_begin_event_t&>(event);
    const std::uint32_t flags =
        pinch ? reinterpret_cast<const xcb_input_gesture_pinch_begin_event_t&>(event).flags : swipe.flags;
    const std::uint32_t cancelledFlag =
        pinch ? std::uint32_t(XCB_INPUT_GESTURE_PINCH_EVENT_FLAGS_GESTURE_PINCH_CANCELLED)
              : std::uint32_t(XCB_INPUT_GESTURE_SWIPE_EVENT_FLAGS_GESTURE_SWIPE_CANCELLED);
    const bool cancelled = flags & cancelledFlag;
    const int step = (generic.event_type - XCB_INPUT_GESTURE_PINCH_BEGIN) % 3;
    const std::int64_t phase = step == 0   ? phaseBegan
                               : step == 1 ? phaseChanged
                               : cancelled ? phaseCancelled
                                           : phaseEnded;

    InputEvent gesture = InputEvent::gesture(pinch ? EventType::magnify : EventType::swipe);
    gesture.integerFields[EventField::gesturePhase] = phase;
    const QPointF rootPoint(fromFixed(swipe.root_x), fromFixed(swipe.root_y));
    gesture.location = quartzFromRoot_ ? quartzFromRoot_(rootPoint) : rootPoint;
    if (pass_ && pass_(gesture))
        reportOnce(passReported_, VeskLogLevel::info,
                   QStringLiteral("A gesture the taps let pass cannot be handed on to its window on X11; it ends "
                                  "here"));
    return true;
}

void X11GestureTap::reportOnce(bool& reported, VeskLogLevel level, const QString& text) const
{
    if (reported)
        return;
    reported = true;
    logger_.log(level, text);
}

} // namespace vesk::platform
