// A small X client for the X11 desktop's tests: it opens windows with the
// class, title, geometry, type, states and process number it is given, prints
// each window's id on standard output once the window manager has taken it
// in, and logs the clicks and keys its windows receive to a file
// ("button 1 10 20", "key 38", "close <id>"). A window closes on WM_DELETE_WINDOW; the client
// ends with its last window.
//
//   vesk_x11_test_client [--class instance,Class] [--title T] [--geometry WxH+X+Y]
//                        [--pid N] [--machine NAME] [--type dock|desktop|utility|dialog|notification]
//                        [--state above|below|sticky|fullscreen ...] [--desktop N] [--count N] [--log FILE]
//                        [--background RRGGBB]   (the windows' solid colour on a true-colour screen; white by default)
//                        [--churn 1]   (once its windows are in, retitles the first without pause)

#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string instanceName = "vesk-test-client";
    std::string className = "VeskTestClient";
    std::string title = "Test window";
    int width = 300, height = 200, x = 100, y = 100;
    long pid = getpid();
    std::string machine;
    std::string type;
    std::vector<std::string> states;
    long desktop = -1;
    int count = 1;
    bool churn = false;
    std::string logPath;
    long background = -1;
};

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::string value = argv[i + 1];
        if (key == "--class") {
            const auto comma = value.find(',');
            options.instanceName = value.substr(0, comma);
            options.className = comma == std::string::npos ? value : value.substr(comma + 1);
        } else if (key == "--title") {
            options.title = value;
        } else if (key == "--geometry") {
            if (std::sscanf(value.c_str(), "%dx%d+%d+%d", &options.width, &options.height, &options.x, &options.y) != 4)
                return false;
        } else if (key == "--pid") {
            options.pid = std::atol(value.c_str());
        } else if (key == "--machine") {
            options.machine = value;
        } else if (key == "--type") {
            options.type = value;
        } else if (key == "--state") {
            options.states.push_back(value);
        } else if (key == "--desktop") {
            options.desktop = std::atol(value.c_str());
        } else if (key == "--count") {
            options.count = std::atoi(value.c_str());
        } else if (key == "--churn") {
            options.churn = value == "1";
        } else if (key == "--log") {
            options.logPath = value;
        } else if (key == "--background") {
            options.background = std::strtol(value.c_str(), nullptr, 16);
        } else {
            return false;
        }
    }
    return (argc % 2) == 1;
}

xcb_atom_t atom(xcb_connection_t* c, const std::string& name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.c_str()), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

void setText(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type, const std::string& text)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, 8, uint32_t(text.size()), text.data());
}

void setCardinals(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type,
                  const std::vector<uint32_t>& values)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, 32, uint32_t(values.size()), values.data());
}

void logLine(FILE* log, const char* format, auto... values)
{
    if (!log)
        return;
    std::fprintf(log, format, values...);
    std::fflush(log);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "vesk_x11_test_client: bad arguments\n");
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "vesk_x11_test_client: no X server\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    xcb_screen_t* screen = screens.data;
    FILE* log = options.logPath.empty() ? nullptr : std::fopen(options.logPath.c_str(), "a");

    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    const xcb_atom_t wmProtocols = atom(c, "WM_PROTOCOLS");
    const xcb_atom_t wmDelete = atom(c, "WM_DELETE_WINDOW");
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string machine = options.machine.empty() ? std::string(host) : options.machine;

    std::set<xcb_window_t> windows;
    for (int n = 0; n < options.count; ++n) {
        const xcb_window_t w = xcb_generate_id(c);
        const uint32_t background = options.background >= 0 ? uint32_t(options.background) : screen->white_pixel;
        const uint32_t values[] = {background, XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_KEY_PRESS
                                                   | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, int16_t(options.x), int16_t(options.y),
                          uint16_t(options.width), uint16_t(options.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
        const std::string title = options.count > 1 ? options.title + " " + std::to_string(n + 1) : options.title;
        const std::string wmClass = options.instanceName + '\0' + options.className + '\0';
        setText(c, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, wmClass);
        setText(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
        setText(c, w, atom(c, "_NET_WM_NAME"), utf8, title);
        setText(c, w, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, machine);
        if (options.pid > 0)
            setCardinals(c, w, atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, {uint32_t(options.pid)});
        setCardinals(c, w, wmProtocols, XCB_ATOM_ATOM, {wmDelete});
        xcb_size_hints_t hints{};
        xcb_icccm_size_hints_set_position(&hints, 1, options.x, options.y);
        xcb_icccm_size_hints_set_size(&hints, 1, options.width, options.height);
        xcb_icccm_set_wm_normal_hints(c, w, &hints);
        if (!options.type.empty()) {
            std::string name = options.type;
            for (char& ch : name)
                ch = char(std::toupper(static_cast<unsigned char>(ch)));
            setCardinals(c, w, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, {atom(c, "_NET_WM_WINDOW_TYPE_" + name)});
        }
        std::vector<uint32_t> states;
        for (std::string state : options.states) {
            for (char& ch : state)
                ch = char(std::toupper(static_cast<unsigned char>(ch)));
            states.push_back(atom(c, "_NET_WM_STATE_" + state));
        }
        if (!states.empty())
            setCardinals(c, w, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, states);
        if (options.desktop >= 0)
            setCardinals(c, w, atom(c, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, {uint32_t(options.desktop)});
        xcb_map_window(c, w);
        windows.insert(w);
    }
    xcb_flush(c);

    std::set<xcb_window_t> announced;
    const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME");
    unsigned long retitles = 0;
    while (!windows.empty()) {
        const bool churning = options.churn && announced.size() == windows.size();
        if (churning) {
            setText(c, *windows.begin(), netWmName, utf8, "churn " + std::to_string(++retitles));
            xcb_flush(c);
        }
        xcb_generic_event_t* event = churning ? xcb_poll_for_event(c) : xcb_wait_for_event(c);
        if (!event && churning)
            continue;
        if (!event)
            break;
        switch (event->response_type & 0x7f) {
        // A window is announced once the window manager has taken it in: it
        // reparents it, and maps it unless it is on a desktop not shown.
        case XCB_MAP_NOTIFY:
        case XCB_REPARENT_NOTIFY: {
            const xcb_window_t w = (event->response_type & 0x7f) == XCB_MAP_NOTIFY
                                       ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window
                                       : reinterpret_cast<xcb_reparent_notify_event_t*>(event)->window;
            if (windows.contains(w) && announced.insert(w).second) {
                std::printf("%u\n", w);
                std::fflush(stdout);
            }
            break;
        }
        case XCB_BUTTON_PRESS: {
            const auto* press = reinterpret_cast<xcb_button_press_event_t*>(event);
            logLine(log, "button %u %d %d\n", unsigned(press->detail), int(press->event_x), int(press->event_y));
            break;
        }
        case XCB_KEY_PRESS:
            logLine(log, "key %u\n", unsigned(reinterpret_cast<xcb_key_press_event_t*>(event)->detail));
            break;
        case XCB_CLIENT_MESSAGE: {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == wmProtocols && message->data.data32[0] == wmDelete) {
                logLine(log, "close %u\n", message->window);
                xcb_destroy_window(c, message->window);
                windows.erase(message->window);
                xcb_flush(c);
            }
            break;
        }
        default:
            break;
        }
        std::free(event);
    }
    if (log)
        std::fclose(log);
    xcb_disconnect(c);
    return 0;
}
