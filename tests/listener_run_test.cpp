// A seeded random run through the real DLL in the player stand-in, judged only by what a
// listener hears: which song plays, for how long it has been heard, and whether it started
// from its beginning or goes on after a pause. The judge knows nothing of the plugin's own
// reading of the player. A failure prints its seed: VORN_LISTENER_SEED=<seed> replays it
// alone, telling second by second what the listener did and heard.

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
constexpr int SECONDS_PER_SEED = 1000;
constexpr unsigned SEEDS = 3; // for each kind of player window

const wchar_t* const TITLES[] = {L"春の雨", L"冬の灯台", L"song"};
const wchar_t* const ARTISTS[] = {L"ミナト", L"川村 葵", L""}; // without an artist: never sent
// What stations send that names no song: a station ID, a title without an artist, buffering.
const wchar_t* const NO_SONG[] = {L"さくらFM ジングル", L" - 春の雨", L"Prebuffering : 42%"};

const char OLDER_PLAYER[] = "a player before 5.5, after the playing entry left the list";

// One play of a song: from the second the listener first hears it to the one it gives way.
struct Play {
    std::string song; // its report; empty for a song that is never sent
    int heard = 0;    // seconds heard: playing, not paused, the song named
    bool reported = false;
    const char* excuse = nullptr; // the documented reason it may go unreported
    bool repeat = false;          // at its start
    // Repeat off, and the same song right after itself, which was reported: not sent again.
    bool again = false;
};

// What the listener knows.
struct Ear {
    std::optional<PlaylistEntry> playing; // as it was when it started
    LRESULT playing_index = -1;           // in the list; -1 once removed from it
    bool repeat = false;
    std::optional<Play> play;
    // The song of the play before (identity()), and whether it was reported in that play or,
    // with Repeat off, in the plays of it right before; a stop that a tick saw forgets that.
    std::string previous;
    bool previous_reported = false;
    // On an older player the playing entry left the list: what the plugin read since may stay
    // its last song until a song is reported or a tick sees a stop.
    bool misread = false;
    int second = 0;
};

class ListenerRun : public PluginOnEitherWindow {
  protected:
    unsigned pick(unsigned n) { return random() % n; }
    const wchar_t* any(const wchar_t* const (&texts)[3], unsigned n = 3) { return texts[pick(n)]; }

    PlaylistEntry random_entry() {
        const std::string name = std::to_string(next_name++);
        const wchar_t* title = any(TITLES);
        const wchar_t* artist = any(ARTISTS);
        if (pick(3) != 0) {
            PlaylistEntry file = {"C:\\Music\\" + name + ".mp3", as_ansi(title), as_ansi(artist),
                                  pick(2) ? as_ansi(L"よるラジオ") : "", "J-Pop"};
            songs[file.file_name][L""] =
                *artist ? expected_report(file.title, file.artist, file.album, file.genre) : "";
            return file;
        }
        const bool ogg = pick(2);
        PlaylistEntry station = {"http://radio.example.jp:8000/" + name + (ogg ? ".ogg" : "")};
        StreamStation& stream =
            station.stream.emplace(StreamStation{ogg ? L"" : L"さくらFM",
                                                 ogg ? L"" : L"J-Pop",
                                                 {},
                                                 1 + int(pick(2)),
                                                 2,
                                                 ogg ? StreamKind::Ogg : StreamKind::Shoutcast});
        if (player.kind() == WindowKind::Unicode && pick(3) == 0) {
            station.extension_hint = ogg ? L".OGG" : L".MP3";
        }
        // Songs, some broken by a moment that names none, and such moments between songs.
        auto& named = songs[station.file_name];
        for (int i = 0; i < 6; ++i) {
            title = any(TITLES), artist = any(ARTISTS, 2);
            const std::wstring text = std::wstring(artist) + L" - " + title;
            named[text] = expected_report(as_ansi(title), as_ansi(artist), as_ansi(stream.name),
                                          as_ansi(stream.genre));
            stream.titles.push_back({text, 3 + int(pick(20))});
            if (pick(2)) {
                stream.titles.push_back({any(NO_SONG), 1 + int(pick(6))});
                stream.titles.push_back({text, 3 + int(pick(20))});
            }
            if (pick(3) == 0) {
                stream.titles.push_back({any(NO_SONG), 1 + int(pick(15))});
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
    // Once the playing entry has left the list, a player before 5.5 cannot tell the plugin
    // which file plays, and what is reported is not judged; a station is no longer followed.
    bool removed() const { return ear.playing && ear.playing_index < 0; }
    bool unjudged() const { return removed() && player.kind() == WindowKind::Ansi; }
    const char* removal_excuse() const {
        return unjudged() ? OLDER_PLAYER
               : removed() && ear.playing->stream
                   ? "a station whose entry left the list while it played"
                   : nullptr;
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
        if (action < 2) {
            start(pick(size), "start or change");
        } else if (action == 2 && status != PLAYER_STOPPED) {
            start(player.list_pos, "replay"); // a double-click, or the player's own repeat
        } else if (action < 5 && status == PLAYER_PLAYING) {
            player.pause(), note("pause");
        } else if (action < 5 && status == PLAYER_PAUSED) {
            player.resume(), note("resume");
        } else if (action == 5 && status != PLAYER_STOPPED) {
            end_play(), ear.playing.reset();
            player.stop(), note("stop");
            handle();
            if (pick(2)) {
                start(pick(size), "play within the stop's tick");
            }
        } else if (action == 6 && pick(3) == 0) { // set between songs
            click_in_settings(REPEAT_CHECK_ID);
            ear.repeat = !ear.repeat;
            start(pick(size), "Repeat switched, then a start");
        } else if (action == 7 && size > 2) {
            const LRESULT index = pick(2) ? player.list_pos : pick(size);
            const bool playing = index == ear.playing_index && status != PLAYER_STOPPED;
            note(playing ? "remove the playing entry" : "remove another entry");
            ear.playing_index = playing ? -1 : ear.playing_index - (index < ear.playing_index);
            player.remove_entry(index);
            ear.misread |= unjudged();
            if (ear.play && removal_excuse() != nullptr) {
                ear.play->excuse = removal_excuse();
            }
        } else if (action == 8) {
            const LRESULT index = pick(player.list_pos + 1);
            note("insert at or before the list position");
            ear.playing_index += ear.playing_index >= 0 && index <= ear.playing_index;
            player.insert_entry(index, random_entry());
        }
        handle();
    }
    void start(LRESULT index, const char* action) {
        note(action);
        end_play();
        ear.playing = player.playlist[index], ear.playing_index = index;
        player.play(index);
    }
    void note(const char* action) { ++done[action], trace(action); }
    void trace(const std::string& what) const {
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
            ear.play->repeat = ear.repeat;
            const std::string song = identity(*now);
            ear.play->excuse = removal_excuse();
            if (ear.play->excuse == nullptr && ear.misread) {
                ear.play->excuse = OLDER_PLAYER;
            }
            ear.play->again = ear.play->excuse == nullptr && !ear.repeat && song == ear.previous &&
                              ear.previous_reported;
            trace("heard: " + (now->empty() ? "a song never sent" : song.substr(75)));
        }
        if (now) {
            ++ear.play->heard;
        }
        handle();
        SendMessageA(player.window(), WM_TIMER, 4441, 0);
        for (const std::string& report : mailslot.take_all()) {
            trace("reported: " + identity(report).substr(75));
            if (unjudged()) {
                continue;
            }
            ASSERT_TRUE(now && report == *now) << second() << "a song not heard now is reported:\n"
                                               << report;
            ASSERT_FALSE(ear.play->reported) << second() << "a play is reported twice";
            ASSERT_FALSE(ear.play->again) << second() << "the same song right after itself is "
                                          << "reported again with Repeat off:\n"
                                          << report;
            ASSERT_GE(ear.play->heard, WAIT + 1) << second() << "a song is reported early";
            ear.play->reported = true, ear.misread = false;
        }
        if (player.play_status == PLAYER_STOPPED) {
            ear.previous_reported = false, ear.misread = false;
        }
        player.pass_time(1);
    }
    void end_play() {
        const std::optional<Play> play = std::move(ear.play);
        ear.play.reset();
        if (play) {
            const std::string song = identity(play->song);
            ear.previous_reported =
                play->reported || (!play->repeat && ear.previous_reported && song == ear.previous);
            ear.previous = song;
        }
        EXPECT_FALSE(play && !play->song.empty() && play->heard > WAIT + 1 && !play->reported &&
                     play->excuse == nullptr && !play->again)
            << second() << "a play heard for " << play->heard << " s is not reported:\n"
            << play->song;
    }
    std::string second() const { return "second " + std::to_string(ear.second) + ": "; }

    // One seed's run, from a freshly loaded module, up to its first failure.
    void listen(unsigned seed) {
        random.seed(seed);
        ear = Ear();
        songs.clear(), next_name = 0;
        write_file(player.ini_path, "[vorn station song Plugin for winamp]\r\nWait=10\r\n");
        player.stop();
        player.playlist.clear(), player.list_pos = 0;
        for (int i = 0; i < 5; ++i) {
            player.playlist.push_back(random_entry());
        }
        init();
        KillTimer(player.window(), 4441); // only the run's own ticks
        handle();
        mailslot.take_all();
        for (; ear.second < SECONDS_PER_SEED && !HasFailure(); ++ear.second) {
            act();
            one_second();
        }
        end_play();
        player.messages.clear();
    }

    std::mt19937 random;
    int next_name = 0;
    std::map<std::string, std::map<std::wstring, std::string>> songs; // by file, by shown title
    Ear ear;
    std::map<std::string, int> done; // how often the listener did each thing
    StationMailslot mailslot;
};

TEST_P(ListenerRun, EveryPlayHeardLongerThanWaitIsReportedOnceWhileHeard) {
    ASSERT_TRUE(mailslot.is_open());
    const char* replay = getenv("VORN_LISTENER_SEED");
    const unsigned first = replay ? strtoul(replay, nullptr, 10) : GetTickCount();
    for (unsigned seed = first; seed < first + (replay ? 1 : SEEDS); ++seed) {
        if (seed != first) { // every seed from a freshly loaded module
            TearDown();
            SetUp();
        }
        SCOPED_TRACE(testing::Message() << "replay: VORN_LISTENER_SEED=" << seed);
        listen(seed);
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_TRUE(replay || done.size() == 10) << "every action, many times";
    for (const auto& [action, times] : done) {
        EXPECT_TRUE(replay || times >= 10) << action << ": " << times << " times";
    }
}

INSTANTIATE_TEST_SUITE_P(, ListenerRun, testing::Values(WindowKind::Ansi, WindowKind::Unicode),
                         window_kind_name);

} // namespace
