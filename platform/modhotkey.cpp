#include "platform/modhotkey.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#include <xcb/xcb.h>

namespace modHotKey {

namespace {

constexpr xcb_keysym_t returnKey = 0xff0d;   // XK_Return
constexpr xcb_keysym_t keypadEnter = 0xff8d; // XK_KP_Enter
constexpr xcb_keysym_t numLockKey = 0xff7f;  // XK_Num_Lock

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* x11Connection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// Keycodes that carry any of the given keysyms in the present keyboard map.
std::vector<xcb_keycode_t> keycodesFor(xcb_connection_t* connection,
                                       std::initializer_list<xcb_keysym_t> keysyms)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    Reply<xcb_get_keyboard_mapping_reply_t> map(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
    std::vector<xcb_keycode_t> found;
    if (!map)
        return found;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perKeycode = map->keysyms_per_keycode;
    for (int k = 0; k < count; ++k) {
        for (int i = 0; i < perKeycode; ++i) {
            if (std::find(keysyms.begin(), keysyms.end(), syms[k * perKeycode + i]) !=
                keysyms.end()) {
                found.push_back(static_cast<xcb_keycode_t>(setup->min_keycode + k));
                break;
            }
        }
    }
    return found;
}

// The modifier bit NumLock sets; Mod2 on nearly every keyboard map.
uint16_t numLockMask(xcb_connection_t* connection)
{
    const std::vector<xcb_keycode_t> numLock = keycodesFor(connection, {numLockKey});
    Reply<xcb_get_modifier_mapping_reply_t> map(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (map && !numLock.empty()) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map.get());
        const int perModifier = map->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier)
            for (int i = 0; i < perModifier; ++i)
                if (codes[modifier * perModifier + i] == numLock.front())
                    return static_cast<uint16_t>(1u << modifier);
    }
    return XCB_MOD_MASK_2;
}

void sayOnce(const char* text)
{
    static bool said = false;
    if (!said)
        std::fprintf(stderr, "Orvella: %s\n", text);
    said = true;
}

} // namespace

HotKey::HotKey(QWidget& window, std::function<void()> toggle) : m_toggle(std::move(toggle))
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (grabOnX11())
            return;
        sayOnce("Alt+Enter is held by another program; full screen stays on the menu.");
        return;
    }
    // No grab exists here: the key works while a window of the player has the focus.
    for (const QKeyCombination key : {Qt::ALT | Qt::Key_Return, Qt::ALT | Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), &window);
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] { press(); });
    }
    sayOnce("no system-wide hot key on this desktop; Alt+Enter works while the player has the "
            "focus.");
}

bool HotKey::grabOnX11()
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return false;
    const xcb_window_t root = rootWindow(connection);
    m_keycodes = keycodesFor(connection, {returnKey, keypadEnter});
    const uint16_t numLock = numLockMask(connection);
    // Lock keys are modifiers to X: grab Alt+Enter with each combination of them too.
    const uint16_t alt = XCB_MOD_MASK_1;
    const uint16_t lock = XCB_MOD_MASK_LOCK;
    bool complete = !m_keycodes.empty();
    for (const xcb_keycode_t keycode : m_keycodes) {
        for (const uint16_t modifiers :
             {alt, uint16_t(alt | numLock), uint16_t(alt | lock), uint16_t(alt | numLock | lock)}) {
            const xcb_void_cookie_t cookie = xcb_grab_key_checked(
                connection, 1, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            Reply<xcb_generic_error_t> error(xcb_request_check(connection, cookie));
            if (error) {
                complete = false;
                continue;
            }
            m_grabbed.push_back({keycode, modifiers});
        }
    }
    if (!complete) {
        // Half a hot key would work only with some lock keys: give back what was taken.
        for (const Grab& grab : m_grabbed)
            xcb_ungrab_key(connection, grab.keycode, root, grab.modifiers);
        xcb_flush(connection);
        m_grabbed.clear();
        return false;
    }
    xcb_flush(connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

HotKey::~HotKey()
{
    if (m_grabbed.empty())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (xcb_connection_t* connection = x11Connection()) {
        const xcb_window_t root = rootWindow(connection);
        for (const Grab& grab : m_grabbed)
            xcb_ungrab_key(connection, grab.keycode, root, grab.modifiers);
        xcb_flush(connection);
    }
}

bool HotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (!(key->state & XCB_MOD_MASK_1) ||
        std::find(m_keycodes.begin(), m_keycodes.end(), key->detail) == m_keycodes.end())
        return false;
    press();
    return true;
}

void HotKey::press()
{
    // Acted on from the event loop once what is pending has run, never inside a loop of its
    // own: a quit taken in there would delete the hot key under its own call. Presses that
    // arrive before the toggle runs are counted, not queued: a burst costs one switch at most.
    if (m_pendingPresses++ == 0)
        QMetaObject::invokeMethod(
            this, [this] { HotKeyPressed(0); }, Qt::QueuedConnection);
}

void HotKey::HotKeyPressed(int id)
{
    // Each press toggles: an even number of them leaves full screen as it was.
    const unsigned presses = std::max(1u, std::exchange(m_pendingPresses, 0u));
    if (id != 0 || presses % 2 == 0)
        return;
    m_toggle();
}

} // namespace modHotKey
