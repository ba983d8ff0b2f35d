// The key table: SDL keycodes and scancodes to Windows virtual-key codes. Depends on SDL2.
#include "platform/sdl/keymap.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <utility>

#include "platform/platform.h"

namespace {

// Keys that name a character: the code follows what the layout puts on the key.
constexpr std::pair<int, int> kCharacterKeys[] = {
    {SDLK_BACKSPACE, KEY_BACKSPACE}, {SDLK_TAB, KEY_TAB},
    {SDLK_RETURN, KEY_RETURN},       {SDLK_ESCAPE, KEY_ESCAPE},
    {SDLK_SPACE, KEY_SPACE},         {SDLK_DELETE, KEY_DELETE},
    {SDLK_SEMICOLON, KEY_SEMICOLON}, {SDLK_EQUALS, KEY_EQUALS},
    {SDLK_PLUS, KEY_EQUALS},         {SDLK_COMMA, KEY_COMMA},
    {SDLK_MINUS, KEY_MINUS},         {SDLK_PERIOD, KEY_PERIOD},
    {SDLK_SLASH, KEY_SLASH},         {SDLK_BACKQUOTE, KEY_TILDE},
    {SDLK_LEFTBRACKET, KEY_OPENBRACKET}, {SDLK_BACKSLASH, KEY_BACKSLASH},
    {SDLK_RIGHTBRACKET, KEY_CLOSEBRACKET}, {SDLK_QUOTE, KEY_QUOTES},
};

// Every other key by its position; the printable positions of a US keyboard serve for layout
// characters that have no code of their own.
constexpr std::pair<int, int> kPositionKeys[] = {
    {SDL_SCANCODE_CAPSLOCK, KEY_CAPSLOCK},
    {SDL_SCANCODE_PRINTSCREEN, KEY_PRINTSCREEN},
    {SDL_SCANCODE_SCROLLLOCK, KEY_SCROLLLOCK},
    {SDL_SCANCODE_PAUSE, KEY_PAUSE},
    {SDL_SCANCODE_INSERT, KEY_INSERT},
    {SDL_SCANCODE_HOME, KEY_HOME},
    {SDL_SCANCODE_PAGEUP, KEY_PAGEUP},
    {SDL_SCANCODE_DELETE, KEY_DELETE},
    {SDL_SCANCODE_END, KEY_END},
    {SDL_SCANCODE_PAGEDOWN, KEY_PAGEDOWN},
    {SDL_SCANCODE_RIGHT, KEY_RIGHT},
    {SDL_SCANCODE_LEFT, KEY_LEFT},
    {SDL_SCANCODE_DOWN, KEY_DOWN},
    {SDL_SCANCODE_UP, KEY_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, KEY_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, KEY_NUMDIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, KEY_NUMMULTIPLY},
    {SDL_SCANCODE_KP_MINUS, KEY_NUMSUBTRACT},
    {SDL_SCANCODE_KP_PLUS, KEY_NUMADD},
    {SDL_SCANCODE_KP_ENTER, KEY_RETURN},
    {SDL_SCANCODE_KP_0, KEY_NUM0},
    {SDL_SCANCODE_KP_PERIOD, KEY_NUMDECIMAL},
    {SDL_SCANCODE_APPLICATION, KEY_MENU},
    {SDL_SCANCODE_CLEAR, KEY_CLEAR},
    {SDL_SCANCODE_LCTRL, KEY_LCONTROL},
    {SDL_SCANCODE_LSHIFT, KEY_LSHIFT},
    {SDL_SCANCODE_LALT, KEY_LALT},
    {SDL_SCANCODE_LGUI, KEY_LSYS},
    {SDL_SCANCODE_RCTRL, KEY_RCONTROL},
    {SDL_SCANCODE_RSHIFT, KEY_RSHIFT},
    {SDL_SCANCODE_RALT, KEY_RALT},
    {SDL_SCANCODE_RGUI, KEY_RSYS},
    {SDL_SCANCODE_RETURN, KEY_RETURN},
    {SDL_SCANCODE_ESCAPE, KEY_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, KEY_BACKSPACE},
    {SDL_SCANCODE_TAB, KEY_TAB},
    {SDL_SCANCODE_SPACE, KEY_SPACE},
    {SDL_SCANCODE_MINUS, KEY_MINUS},
    {SDL_SCANCODE_EQUALS, KEY_EQUALS},
    {SDL_SCANCODE_LEFTBRACKET, KEY_OPENBRACKET},
    {SDL_SCANCODE_RIGHTBRACKET, KEY_CLOSEBRACKET},
    {SDL_SCANCODE_BACKSLASH, KEY_BACKSLASH},
    {SDL_SCANCODE_SEMICOLON, KEY_SEMICOLON},
    {SDL_SCANCODE_APOSTROPHE, KEY_QUOTES},
    {SDL_SCANCODE_GRAVE, KEY_TILDE},
    {SDL_SCANCODE_COMMA, KEY_COMMA},
    {SDL_SCANCODE_PERIOD, KEY_PERIOD},
    {SDL_SCANCODE_SLASH, KEY_SLASH},
};

struct key_tables {
  std::array<uint8_t, 128> by_character{};  // keycodes below 128 are characters
  std::array<uint8_t, SDL_NUM_SCANCODES> by_position{};

  key_tables() {
    for (int c = 'a'; c <= 'z'; ++c) by_character[c] = static_cast<uint8_t>(c - 'a' + 'A');
    for (int c = '0'; c <= '9'; ++c) by_character[c] = static_cast<uint8_t>(c);
    for (auto [keycode, vk] : kCharacterKeys) by_character[keycode] = static_cast<uint8_t>(vk);

    for (int s = SDL_SCANCODE_A; s <= SDL_SCANCODE_Z; ++s) by_position[s] = static_cast<uint8_t>(s - SDL_SCANCODE_A + 'A');
    for (int s = SDL_SCANCODE_1; s <= SDL_SCANCODE_9; ++s) by_position[s] = static_cast<uint8_t>(s - SDL_SCANCODE_1 + '1');
    by_position[SDL_SCANCODE_0] = '0';
    for (int s = SDL_SCANCODE_F1; s <= SDL_SCANCODE_F12; ++s) by_position[s] = static_cast<uint8_t>(s - SDL_SCANCODE_F1 + KEY_F1);
    for (int s = SDL_SCANCODE_F13; s <= SDL_SCANCODE_F24; ++s) by_position[s] = static_cast<uint8_t>(s - SDL_SCANCODE_F13 + KEY_F1 + 12);
    for (int s = SDL_SCANCODE_KP_1; s <= SDL_SCANCODE_KP_9; ++s) by_position[s] = static_cast<uint8_t>(s - SDL_SCANCODE_KP_1 + KEY_NUM0 + 1);
    for (auto [scancode, vk] : kPositionKeys) by_position[scancode] = static_cast<uint8_t>(vk);
  }
};

const key_tables& Tables() {
  static const key_tables tables;
  return tables;
}

}  // namespace

int VirtualKeyFor(int sdl_keycode, int sdl_scancode) {
  const auto& tables = Tables();
  if (sdl_keycode >= 0 && sdl_keycode < 128 && tables.by_character[sdl_keycode]) {
    return tables.by_character[sdl_keycode];
  }
  if (sdl_scancode > 0 && sdl_scancode < SDL_NUM_SCANCODES) return tables.by_position[sdl_scancode];
  return 0;
}
