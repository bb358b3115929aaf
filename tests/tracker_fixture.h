#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "tools/player_standin/player_standin.h"

// The companion's end of the per-user mailslot: every report the plugin delivers.
class MailslotReader {
  public:
    explicit MailslotReader(const char* path);
    ~MailslotReader();
    MailslotReader(const MailslotReader&) = delete;
    MailslotReader& operator=(const MailslotReader&) = delete;

    // The messages waiting, each with all its bytes (the report's final NUL included).
    std::vector<std::string> take_all();

  private:
    HANDLE slot_;
};

PlaylistEntry song(const char* title, const char* artist, const char* album = "",
                   const char* genre = "");

// The tracker installed on a player stand-in the way the plugin installs it, with the state
// and settings of a freshly loaded module and a mailslot reading the reports.
class TrackerTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The tracker as at module load, still installed on the player.
    void reset_tracker();
    void tick(int count = 1);
    void notify() { player.notify_status_changed(); }
    // Makes `entry` the current playlist entry; the player says it is playing.
    void load(const PlaylistEntry& entry);
    // Loads `entry` and sends notifications until one of them fetches it.
    void announce(const PlaylistEntry& entry);
    int fetch_count() const;
    std::vector<std::string> reports() { return mailslot->take_all(); }
    // The title of every report delivered since the last call.
    std::vector<std::string> reported_titles();

    PlayerStandin player;
    std::unique_ptr<MailslotReader> mailslot;
};
