#pragma once

// Key numbers as the windows' key handlers and the tools know them: the Windows
// virtual-key codes, free of any toolkit so that tools below the windows can name keys.
namespace vk {
constexpr int Backspace = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12; // Alt
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int PageUp = 0x21;
constexpr int PageDown = 0x22;
constexpr int End = 0x23;
constexpr int Home = 0x24;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int Insert = 0x2D;
constexpr int Delete = 0x2E;
constexpr int Digit0 = 0x30; // '0' .. '9' are 0x30 .. 0x39
constexpr int A = 0x41;      // 'A' .. 'Z' are 0x41 .. 0x5A
constexpr int Z = 0x5A;
constexpr int F1 = 0x70; // F1 .. F12 are 0x70 .. 0x7B
constexpr int Backslash = 0xDC;
} // namespace vk
