#include "shell/VirtualKeys.h"

#include <gtest/gtest.h>

#include <Qt>

TEST(VirtualKeys, MapsQtKeysToWindowsNumbers)
{
    const std::vector<std::pair<int, int>> cases = {
        {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23},    {Qt::Key_Home, 0x24},
        {Qt::Key_Left, 0x25},   {Qt::Key_Up, 0x26},       {Qt::Key_Right, 0x27},  {Qt::Key_Down, 0x28},
        {Qt::Key_Delete, 0x2E}, {Qt::Key_A, 0x41},        {Qt::Key_Z, 0x5A},      {Qt::Key_M, 0x4D},
        {Qt::Key_0, 0x30},      {Qt::Key_9, 0x39},        {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D},
        {Qt::Key_Escape, 0x1B}, {Qt::Key_Space, 0x20},    {Qt::Key_F1, 0x70},     {Qt::Key_F12, 0x7B},
        {Qt::Key_Shift, 0x10},  {Qt::Key_Insert, 0x2D},   {Qt::Key_Tab, 0x09},    {Qt::Key_Backslash, 0xDC},
    };
    for (const auto& [qtKey, virtualKey] : cases) {
        EXPECT_EQ(shell::VirtualKeyFromQtKey(qtKey), virtualKey) << "Qt key 0x" << std::hex << qtKey;
    }
}

TEST(VirtualKeys, KeysWithoutANumberGiveZero)
{
    for (const int qtKey : {int(Qt::Key_unknown), int(Qt::Key_Launch0), int(Qt::Key_Eacute), int(Qt::Key_F35), 0}) {
        EXPECT_EQ(shell::VirtualKeyFromQtKey(qtKey), 0) << "Qt key 0x" << std::hex << qtKey;
    }
}
