#include "Platform/QtWindowEventSource.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace {

// Native scan codes are X/xkb key codes (evdev + 8) on xcb and Wayland.
constexpr quint32 xKeycodeOffset = 8;

std::uint16_t codeForQtKey(int key)
{
    static constexpr std::array letters{KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                                        KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                                        KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    static constexpr std::array digits{KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
    static constexpr std::array others{
        std::pair{int(Qt::Key_Space), KEY_SPACE},       std::pair{int(Qt::Key_Return), KEY_ENTER},
        std::pair{int(Qt::Key_Enter), KEY_KPENTER},     std::pair{int(Qt::Key_Backspace), KEY_BACKSPACE},
        std::pair{int(Qt::Key_Delete), KEY_DELETE},     std::pair{int(Qt::Key_Tab), KEY_TAB},
        std::pair{int(Qt::Key_Backtab), KEY_TAB},       std::pair{int(Qt::Key_CapsLock), KEY_CAPSLOCK},
        std::pair{int(Qt::Key_Escape), KEY_ESC},        std::pair{int(Qt::Key_Shift), KEY_LEFTSHIFT},
        std::pair{int(Qt::Key_Control), KEY_LEFTCTRL},  std::pair{int(Qt::Key_Alt), KEY_LEFTALT},
        std::pair{int(Qt::Key_Meta), KEY_LEFTMETA},     std::pair{int(Qt::Key_Up), KEY_UP},
        std::pair{int(Qt::Key_Down), KEY_DOWN},         std::pair{int(Qt::Key_Left), KEY_LEFT},
        std::pair{int(Qt::Key_Right), KEY_RIGHT},       std::pair{int(Qt::Key_Home), KEY_HOME},
        std::pair{int(Qt::Key_End), KEY_END},           std::pair{int(Qt::Key_PageUp), KEY_PAGEUP},
        std::pair{int(Qt::Key_PageDown), KEY_PAGEDOWN}, std::pair{int(Qt::Key_Insert), KEY_INSERT},
        std::pair{int(Qt::Key_Comma), KEY_COMMA},       std::pair{int(Qt::Key_Period), KEY_DOT},
        std::pair{int(Qt::Key_Slash), KEY_SLASH},       std::pair{int(Qt::Key_Minus), KEY_MINUS},
        std::pair{int(Qt::Key_Equal), KEY_EQUAL},       std::pair{int(Qt::Key_Semicolon), KEY_SEMICOLON},
    };
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return std::uint16_t(letters[std::size_t(key - Qt::Key_A)]);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return std::uint16_t(digits[std::size_t(key - Qt::Key_0)]);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F10)
        return std::uint16_t(KEY_F1 + (key - Qt::Key_F1));
    if (key == Qt::Key_F11 || key == Qt::Key_F12)
        return std::uint16_t(KEY_F11 + (key - Qt::Key_F11));
    for (const auto &[qtKey, code] : others) {
        if (qtKey == key)
            return std::uint16_t(code);
    }
    return 0;
}

std::uint16_t codeForButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return BTN_LEFT;
    case Qt::RightButton:
        return BTN_RIGHT;
    case Qt::MiddleButton:
        return BTN_MIDDLE;
    case Qt::BackButton:
        return BTN_SIDE;
    case Qt::ForwardButton:
        return BTN_EXTRA;
    default:
        return BTN_TASK;
    }
}

}

QtWindowEventSource::QtWindowEventSource(InputDeviceClass deviceClass)
    : m_deviceClass(deviceClass)
{
}

QtWindowEventSource::~QtWindowEventSource()
{
    stop();
}

bool QtWindowEventSource::start(Handler handler)
{
    if (m_installed)
        return true;
    if (!QCoreApplication::instance())
        return false;
    m_handler = std::move(handler);
    QCoreApplication::instance()->installEventFilter(this);
    m_installed = true;
    return true;
}

void QtWindowEventSource::stop()
{
    if (m_installed && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_installed = false;
}

std::uint16_t QtWindowEventSource::keyCode(const QKeyEvent &event)
{
    if (event.nativeScanCode() > xKeycodeOffset)
        return std::uint16_t(event.nativeScanCode() - xKeycodeOffset);
    return codeForQtKey(event.key());
}

bool QtWindowEventSource::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (m_deviceClass != InputDeviceClass::keyboard)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        // Qt reports a held key as release-press pairs; only the presses are kept, as repeats.
        if (key->isAutoRepeat() && event->type() == QEvent::KeyRelease)
            return false;
        const std::uint16_t code = keyCode(*key);
        if (code != 0)
            m_handler(RawInputEvent{code, event->type() == QEvent::KeyRelease ? 0 : key->isAutoRepeat() ? 2 : 1});
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        if (m_deviceClass != InputDeviceClass::mouse)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        m_handler(RawInputEvent{codeForButton(mouse->button()), event->type() == QEvent::MouseButtonRelease ? 0 : 1});
        return false;
    }
    default:
        return false;
    }
}
