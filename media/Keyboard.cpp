#include "media/Keyboard.h"

#include <stdexcept>

namespace zorbo {

namespace {
struct NameRun {
    int first;
    std::initializer_list<const char*> names;
};

const NameRun kNames[] = {
    {1, {"ESC"}},
    {2, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}},
    {12, {"-", "=", "BACKSPACE", "TAB"}},
    {16, {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"}},
    {26, {"[", " ]", "ENTER", "LCTRL"}},
    {30, {"A", "S", "D", "F", "G", "H", "J", "K", "L"}},
    {39, {";", "'", "`", "LSHIFT", "\\"}},
    {44, {"Z", "X", "C", "V", "B", "N", "M"}},
    {51, {",", ".", "/", "RSHIFT", "NUMPAD*", "LALT", "SPACE", "CAPSLOCK"}},
    {59, {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10"}},
    {69, {"NUMLOCK", "SCRLLOCK"}},
    {71, {"NUMPAD7", "NUMPAD8", "NUMPAD9", "NUMPAD-", "NUMPAD4", "NUMPAD5", "NUMPAD6", "NUMPAD+",
          "NUMPAD1", "NUMPAD2", "NUMPAD3", "NUMPAD0", "NUMPAD."}},
    {87, {"F11", "F12"}},
    {100, {"F13", "F14", "F15"}},
    {156, {"NUMPADENTER", "RCONTROL"}},
    {179, {"NUMPAD,"}},
    {181, {"NUMPAD/"}},
    {183, {"SYSRQ", "RALT"}},
    {197, {"PAUSE"}},
    {199, {"HOME", "UP", "PGUP"}},
    {203, {"LEFT"}},
    {205, {"RIGHT"}},
    {207, {"END", "DOWN", "PGDN", "INSERT", "DELETE"}},
    {219, {"LWIN", "RWIN", "APPS"}},
};
} // namespace

KeyboardDevice::KeyboardDevice() = default;

bool KeyboardDevice::Startup(InputService& di, int32_t /*hWindowHandle*/)
{
    owner_ = &di;
    open_ = di.DIObj().OpenKeyboard();
    for (const NameRun& run : kNames) {
        int code = run.first;
        for (const char* name : run.names)
            names_[static_cast<size_t>(code++)] = name;
    }
    return open_;
}

void KeyboardDevice::Check_Keyboard()
{
    bKeyPressed = false;
    if (!open_ || owner_ == nullptr)
        return;
    owner_->DIObj().ReadKeyboard(state_);
    for (int32_t code = 0; code < 256; ++code) {
        if (!open_)
            break;
        if (state_[static_cast<size_t>(code)] != 0) {
            bKeyPressed = true;
            if (KeyDown)
                KeyDown(code);
        }
    }
}

void KeyboardDevice::Shutdown()
{
    if (open_ && owner_ != nullptr)
        owner_->DIObj().CloseKeyboard();
    open_ = false;
}

const std::string& KeyboardDevice::KeyName(int32_t lKey) const
{
    if (lKey < 0 || lKey > 255)
        throw std::out_of_range("key scan code outside 0..255");
    return names_[static_cast<size_t>(lKey)];
}

} // namespace zorbo
