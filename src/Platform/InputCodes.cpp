#include "Platform/InputCapture.h"

#include <linux/input-event-codes.h>

bool InputCodes::isKeyboardKey(std::uint16_t code)
{
    if (code == KEY_RESERVED || code > KEY_MAX)
        return false;
    if (code >= BTN_MISC && code < KEY_OK)
        return false;
    if (code >= BTN_DPAD_UP && code <= BTN_DPAD_RIGHT)
        return false;
    return code < BTN_TRIGGER_HAPPY;
}

bool InputCodes::isMouseButton(std::uint16_t code)
{
    return code >= BTN_MOUSE && code <= BTN_TASK;
}

bool InputCodes::accepts(InputDeviceClass deviceClass, std::uint16_t code)
{
    return deviceClass == InputDeviceClass::keyboard ? isKeyboardKey(code) : isMouseButton(code);
}
