#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/companion_standin/station_mailslot.h"
#include "tools/player_standin/player_standin.h"

PlaylistEntry song(const char* title, const char* artist, const char* album = "",
                   const char* genre = "");

// The tracker installed on a player stand-in as the plugin installs it, with the state and
// settings of a freshly loaded module, and the companion's mailslot open.
class TrackerTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    void reset_tracker(); // as at module load, still installed; the record emptied
    void tick(int count = 1);
    void notify() { player.notify_status_changed(); }
    void load(const PlaylistEntry& entry);     // the current entry; the player is playing
    void announce(const PlaylistEntry& entry); // loads it and notifies until it is fetched
    int fetch_count() const;
    std::vector<std::string> reported_titles(); // of the reports since the last call

    PlayerStandin player;
    std::unique_ptr<StationMailslot> mailslot;
};
