// A seeded random run through the real DLL in the player stand-in, judged only by what a
// listener hears: which song plays, for how long it has been heard, and whether it started
// from its beginning or goes on after a pause. The judge knows nothing of the plugin's own
// reading of the player. A failure prints its seed: VORN_LISTENER_SEED=<seed> replays it alone.

#include <stdio.h>
#include <stdlib.h>

#include <map>
#include <optional>
#include <random>

#include "resources/dialog_ids.h"
#include "tests/expected_report.h"
#include "tests/plugin_module_fixture.h"
#include "tests/temp_files.h"
#include "tools/companion_standin/station_mailslot.h"

namespace {

constexpr int WAIT = 10;
constexpr int SECONDS_PER_SEED = 1200;
constexpr unsigned SEEDS = 3; // for each kind of player window

const wchar_t* const TITLES[] = {L"春の雨", L"冬の灯台", L"song"};
const wchar_t* const ARTISTS[] = {L"ミナト", L"川村 葵", L""}; // without an artist: never sent
// What stations send between songs: a station ID, a title without an artist, a status text.
const wchar_t* const NO_SONG[] = {L"さくらFM ジングル", L" - 春の雨", L"Prebuffering : 42%"};

// One play of a song: from the second the listener first hears it to the one it gives way.
struct Play {
    std::string song; // its report; empty for a song that is never sent
    int heard = 0;    // seconds heard: playing, not paused, the song named
    bool reported = false;
    const char* excuse = nullptr; // the documented reason it may go unreported
};

// What the listener knows.
struct Ear {
    std::optional<PlaylistEntry> playing; // as it was when it started
    LRESULT playing_index = -1;           // in the list; -1 once removed from it
    bool repeat = false;
    std::optional<Play> play;
    std::string last_reported; // title, artist and album; a stop that a tick saw forgets it
    int second = 0;
    std::string failure;
    std::map<std::string, int> done; // how often each action was taken
};

class ListenerRun : public PluginOnEitherWindow {
  protected:
    unsigned pick(unsigned n) { return random() % n; }
    const wchar_t* any(const wchar_t* const (&texts)[3], unsigned n = 3) { return texts[pick(n)]; }

    PlaylistEntry random_entry() {
        const std::string name = std::to_string(next_name++);
        if (pick(3) != 0) {
            const wchar_t* title = any(TITLES);
            const wchar_t* artist = any(ARTISTS);
            PlaylistEntry file = {"C:\\Music\\" + name + ".mp3", as_ansi(title), as_ansi(artist),
                                  pick(2) ? as_ansi(L"よるラジオ") : "", "J-Pop"};
            songs[file.file_name][L""] =
                *artist ? expected_report(file.title, file.artist, file.album, file.genre) : "";
            return file;
        }
        const bool ogg = pick(2);
        PlaylistEntry station = {"http://radio.example.jp:8000/" + name + (ogg ? ".ogg" : "")};
        station.stream = StreamStation{ogg ? L"" : L"さくらFM", ogg ? L"" : L"J-Pop"};
        station.stream->kind = ogg ? StreamKind::Ogg : StreamKind::Shoutcast;
        station.stream->connecting_seconds = 1 + pick(2);
        songs[station.file_name]; // a station may name no song at all
        if (player.kind() == WindowKind::Unicode && pick(3) == 0) {
            station.extension_hint = ogg ? L".OGG" : L".MP3";
        }
        // Songs, some broken by a moment that names none (buffering, a jingle), and moments
        // between songs.
        for (int i = 0; i < 6; ++i) {
            const wchar_t* title = any(TITLES);
            const wchar_t* artist = any(ARTISTS, 2);
            const std::wstring text = std::wstring(artist) + L" - " + title;
            songs[station.file_name][text] =
                expected_report(as_ansi(title), as_ansi(artist), as_ansi(station.stream->name),
                                as_ansi(station.stream->genre));
            station.stream->titles.push_back({text, 3 + int(pick(20))});
            if (pick(2)) {
                station.stream->titles.push_back({any(NO_SONG), 1 + int(pick(6))});
                station.stream->titles.push_back({text, 3 + int(pick(20))});
            }
            if (pick(3) == 0) {
                station.stream->titles.push_back({any(NO_SONG), 1 + int(pick(15))});
            }
        }
        return station;
    }
    // The song heard now, or nothing: stopped, paused, or a station that names no song.
    std::optional<std::string> heard_now() const {
        if (player.play_status != PLAYER_PLAYING || !ear.playing) {
            return std::nullopt;
        }
        const auto& named = songs.at(ear.playing->file_name);
        const auto song = named.find(ear.playing->stream ? player.playing_title() : L"");
        return song == named.end() ? std::nullopt : std::optional(song->second);
    }
    // The song a report names, told apart by title, artist and album: not by genre.
    static std::string identity(const std::string& report) {
        return report.substr(0, report.find("<param key=\"song_genre\">"));
    }
    // A player before 5.5 cannot tell the plugin which file plays after a list edit: its
    // reports are not judged then.
    bool unjudged() const { return removed() && player.kind() == WindowKind::Ansi; }
    bool removed() const { return ear.playing && ear.playing_index < 0; }
    // Why the plays after the playing entry left the list may go unreported.
    const char* removal_excuse() const {
        if (unjudged()) {
            return "a player before 5.5, after the playing entry left the list";
        }
        if (removed() && ear.playing->stream) {
            return "a station whose entry left the list while it played";
        }
        return nullptr;
    }

    // What the listener does; the player's notifications of it are handled before anything
    // else is done, as the player's message loop handles posted messages before input.
    void act() {
        const LRESULT size = player.playlist.size();
        const LRESULT status = player.play_status;
        unsigned action = pick(40);
        if (status != PLAYER_PLAYING && pick(3) == 0) {
            action = status == PLAYER_PAUSED ? 3 : 0; // stopped or paused, the listener plays on
        }
        switch (action) {
        case 0:
        case 1:
            start(pick(size), "start or change");
            break;
        case 2:
            if (status != PLAYER_STOPPED) { // a double-click, or the player's own repeat
                start(player.list_pos, "replay");
            }
            break;
        case 3:
        case 4:
            if (status == PLAYER_PLAYING) {
                player.pause(), ++ear.done["pause"], trace("pause");
            } else if (status == PLAYER_PAUSED) {
                player.resume(), ++ear.done["resume"], trace("resume");
            }
            break;
        case 5:
            if (status != PLAYER_STOPPED) {
                end_play();
                ear.playing.reset();
                player.stop(), ++ear.done["stop"], trace("stop");
                handle();
                if (pick(2)) {
                    start(pick(size), "stop and play within a tick");
                }
            }
            break;
        case 6:
            if (pick(3) == 0) { // set between songs
                click_in_settings(REPEAT_CHECK_ID);
                ear.repeat = !ear.repeat;
                start(pick(size), "Repeat switched, then a start");
            }
            break;
        case 7:
            if (size > 2) {
                const LRESULT index = pick(2) ? player.list_pos : pick(size);
                const bool playing = index == ear.playing_index && status != PLAYER_STOPPED;
                ++ear.done[playing ? "remove the playing entry" : "remove another entry"];
                ear.playing_index = playing ? -1 : ear.playing_index - (index < ear.playing_index);
                player.remove_entry(index);
                trace("remove " + std::to_string(index));
                if (ear.play && removal_excuse() != nullptr) {
                    ear.play->excuse = removal_excuse();
                }
            }
            break;
        case 8: {
            const LRESULT index = pick(player.list_pos + 1);
            ++ear.done["insert at or before the list position"];
            ear.playing_index += ear.playing_index >= 0 && index <= ear.playing_index;
            player.insert_entry(index, random_entry());
            trace("insert " + std::to_string(index));
            break;
        }
        }
        handle();
    }
    void start(LRESULT index, const char* action) {
        ++ear.done[action];
        trace(std::string(action) + " " + std::to_string(index));
        end_play();
        ear.playing = player.playlist[index], ear.playing_index = index;
        player.play(index);
    }
    // A replayed seed tells, second by second, what the listener did and heard.
    void trace(const std::string& what) {
        if (getenv("VORN_LISTENER_SEED") != nullptr) {
            printf("%d: %s\n", ear.second, what.c_str());
        }
    }
    void handle() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }

    void one_second() {
        const std::optional<std::string> now = heard_now();
        if (now && (!ear.play || ear.play->song != *now)) {
            end_play();
            ear.play = Play{*now};
            if (removal_excuse() != nullptr) {
                ear.play->excuse = removal_excuse();
            } else if (!ear.repeat && identity(*now) == ear.last_reported) {
                ear.play->excuse = "Repeat off, and the same song as the last one reported";
            }
        }
        if (now) {
            ++ear.play->heard;
            trace("heard for " + std::to_string(ear.play->heard) + " s: " +
                  (now->empty() ? "a song never sent" : now->substr(now->find("title") + 7, 60)));
        }
        handle();
        SendMessageA(player.window(), WM_TIMER, 4441, 0);
        for (const std::string& report : mailslot.take_all()) {
            ear.last_reported = identity(report);
            if (unjudged()) {
                continue;
            }
            if (!now || report != *now) {
                return fail("a report of a song that is not heard now:\n" + report);
            }
            if (ear.play->reported) {
                return fail("a play of a song reported twice:\n" + report);
            }
            ear.play->reported = true;
        }
        if (player.play_status == PLAYER_STOPPED) {
            ear.last_reported.clear();
        }
        player.pass_time(1);
    }
    void end_play() {
        const std::optional<Play>& play = ear.play;
        if (play && !play->song.empty() && play->heard > WAIT + 1 && !play->reported &&
            play->excuse == nullptr) {
            fail("a play heard for " + std::to_string(play->heard) + " s was not reported:\n" +
                 play->song);
        }
        ear.play.reset();
    }
    void fail(const std::string& what) {
        if (ear.failure.empty()) {
            ear.failure = "second " + std::to_string(ear.second) + ": " + what;
        }
    }

    // One seed's run, from a freshly loaded module.
    std::string listen(unsigned seed, std::map<std::string, int>& done) {
        random.seed(seed);
        ear = Ear();
        write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nWait=10\r\n");
        player.stop();
        player.playlist.clear();
        for (int i = 0; i < 5; ++i) {
            player.playlist.push_back(random_entry());
        }
        init();
        KillTimer(player.window(), 4441); // only the run's own ticks
        handle();
        mailslot.take_all();
        for (; ear.second < SECONDS_PER_SEED && ear.failure.empty(); ++ear.second) {
            act();
            one_second();
        }
        end_play();
        for (const auto& [action, times] : ear.done) {
            done[action] += times;
        }
        player.messages.clear();
        return ear.failure;
    }

    std::mt19937 random;
    int next_name = 0;
    std::map<std::string, std::map<std::wstring, std::string>> songs; // by file, by shown title
    Ear ear;
    StationMailslot mailslot;
};

TEST_P(ListenerRun, EveryPlayHeardLongerThanWaitIsReportedOnceWhileHeard) {
    ASSERT_TRUE(mailslot.is_open());
    const char* replay = getenv("VORN_LISTENER_SEED");
    const unsigned first = replay ? strtoul(replay, nullptr, 10) : GetTickCount();
    std::map<std::string, int> done;
    for (unsigned seed = first; seed < first + (replay ? 1 : SEEDS); ++seed) {
        if (seed != first) { // every seed from a freshly loaded module
            TearDown();
            SetUp();
        }
        ASSERT_EQ(listen(seed, done), "") << "replay: VORN_LISTENER_SEED=" << seed;
    }
    for (const auto& [action, times] : done) {
        printf("%s: %d times\n", action.c_str(), times);
        EXPECT_GE(times, replay ? 0 : 10) << action;
    }
}

INSTANTIATE_TEST_SUITE_P(, ListenerRun, testing::Values(WindowKind::Ansi, WindowKind::Unicode),
                         window_kind_name);

} // namespace
