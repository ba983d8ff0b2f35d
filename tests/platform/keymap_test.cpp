// The key table. SDL keycodes are written as numbers here (characters are their code, other
// keys are scancode | 1 << 30) so that the test needs no SDL headers.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/sdl/keymap.h"

namespace {

constexpr int Mapped(int scancode) { return scancode | 1 << 30; }

TEST(KeymapTest, VirtualKeyCodes) {
  const struct {
    int keycode, scancode, code;
    const char* key;
  } cases[] = {
      {'a', 4, 'A', "a"},                     {'z', 29, 'Z', "z"},
      {'q', 20, 'Q', "q"},                    {'a', 20, 'A', "a on the q key (AZERTY)"},
      {'0', 39, '0', "0"},                    {'9', 38, '9', "9"},
      {'&', 30, '1', "AZERTY 1 key, by position"},
      {'=', 46, KEY_EQUALS, "="},             {'+', 48, KEY_EQUALS, "+ key of a German layout"},
      {27, 41, KEY_ESCAPE, "Escape"},         {8, 42, KEY_BACKSPACE, "Backspace"},
      {9, 43, KEY_TAB, "Tab"},                {13, 40, KEY_RETURN, "Return"},
      {' ', 44, KEY_SPACE, "Space"},          {127, 76, KEY_DELETE, "Delete"},
      {';', 51, KEY_SEMICOLON, ";"},          {',', 54, KEY_COMMA, ","},
      {'-', 45, KEY_MINUS, "-"},              {'.', 55, KEY_PERIOD, "."},
      {'/', 56, KEY_SLASH, "/"},              {'`', 53, KEY_TILDE, "`"},
      {'[', 47, KEY_OPENBRACKET, "["},        {'\\', 49, KEY_BACKSLASH, "\\"},
      {']', 48, KEY_CLOSEBRACKET, "]"},       {'\'', 52, KEY_QUOTES, "'"},
      {0xF6, 51, KEY_SEMICOLON, "o-umlaut, by position"},
      {Mapped(58), 58, KEY_F1, "F1"},         {Mapped(59), 59, 113, "F2"},
      {Mapped(69), 69, 123, "F12"},           {Mapped(80), 80, KEY_LEFT, "Left"},
      {Mapped(82), 82, KEY_UP, "Up"},         {Mapped(79), 79, KEY_RIGHT, "Right"},
      {Mapped(81), 81, KEY_DOWN, "Down"},     {Mapped(75), 75, KEY_PAGEUP, "PageUp"},
      {Mapped(78), 78, KEY_PAGEDOWN, "PageDown"}, {Mapped(77), 77, KEY_END, "End"},
      {Mapped(74), 74, KEY_HOME, "Home"},     {Mapped(73), 73, KEY_INSERT, "Insert"},
      {Mapped(72), 72, KEY_PAUSE, "Pause"},   {Mapped(57), 57, KEY_CAPSLOCK, "CapsLock"},
      {Mapped(98), 98, KEY_NUM0, "keypad 0"}, {Mapped(89), 89, 97, "keypad 1"},
      {Mapped(97), 97, 105, "keypad 9"},      {Mapped(85), 85, KEY_NUMMULTIPLY, "keypad *"},
      {Mapped(87), 87, KEY_NUMADD, "keypad +"}, {Mapped(86), 86, KEY_NUMSUBTRACT, "keypad -"},
      {Mapped(99), 99, KEY_NUMDECIMAL, "keypad ."}, {Mapped(84), 84, KEY_NUMDIVIDE, "keypad /"},
      {Mapped(225), 225, KEY_LSHIFT, "left Shift"},  {Mapped(229), 229, KEY_RSHIFT, "right Shift"},
      {Mapped(224), 224, KEY_LCONTROL, "left Ctrl"}, {Mapped(228), 228, KEY_RCONTROL, "right Ctrl"},
      {Mapped(226), 226, KEY_LALT, "left Alt"},      {Mapped(230), 230, KEY_RALT, "right Alt"},
      {Mapped(227), 227, KEY_LSYS, "left Super"},
      {Mapped(261), 261, 0, "media play: no code"},
      {0x4000012B, 299, 0, "beyond the tables"},
      {0, 0, 0, "unknown"},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyFor(c.keycode, c.scancode), c.code) << c.key;
}

}  // namespace
