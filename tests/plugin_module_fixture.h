#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "plugin/host_interface.h"
#include "tests/message_box_capture.h"
#include "tools/player_standin/player_standin.h"

using GetPlugin = winampGeneralPurposePlugin*(__cdecl*)();

// gen_vorn.dll loaded by name next to the test program, with the player stand-in as its host
// and an ini file of the test's own. The module is unloaded after each test, so every test
// starts from the state at load.
class PluginModuleTest : public ::testing::Test {
  protected:
    explicit PluginModuleTest(WindowKind kind = WindowKind::Unicode) : player(kind) {}
    void SetUp() override;
    void TearDown() override;

    // What the player does after loading the module; returns the message boxes init showed.
    std::vector<CapturedBox> init(const std::function<void()>& while_box_up = {});
    void quit();
    // The user opens the plugin's settings, clicks `control` and OK.
    void click_in_settings(int control);

    // Seconds of the real pattern: the posted notifications are handled, the plugin's timer
    // ticks, and a playing stream moves on.
    void play_for(int seconds);

    int count(UINT message, WPARAM wParam, LPARAM lParam) const; // recorded by the player
    int fetches() const { return count(WM_WA_IPC, 0, IPC_GETLISTPOS); }
    int ini_value(const char* key) const; // -1 when absent

    PlayerStandin player;
    LONG_PTR player_proc = 0; // the stand-in's own window procedure
    HMODULE module = nullptr;
    GetPlugin get_plugin = nullptr;
    winampGeneralPurposePlugin* record = nullptr;
    bool initialised = false;
};

// The same, on a player window of each kind.
class PluginOnEitherWindow : public ::testing::WithParamInterface<WindowKind>,
                             public PluginModuleTest {
  protected:
    PluginOnEitherWindow() : PluginModuleTest(GetParam()) {}
};

std::string window_kind_name(const ::testing::TestParamInfo<WindowKind>& info);
