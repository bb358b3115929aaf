// Playback as the user drives it, announced as the player announces it, and the two ways the
// player ends.

#include "tools/player_standin/player_standin.h"

#include "plugin/host_interface.h"

void PlayerStandin::post_notification(WPARAM kind) {
    PostMessageW(window_, WM_WA_IPC, kind, IPC_CB_MISC);
}

void PlayerStandin::play(LRESULT index) {
    if (play_status != PLAYER_STOPPED) {
        post_notification(IPC_CB_MISC_TITLE);
        post_notification(IPC_CB_MISC_STATUS);
    }
    list_pos = index;
    removed_playing_.reset();
    play_status = PLAYER_PLAYING;
    stream_.start();
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_TITLE_RATING);
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_STATUS);
}

void PlayerStandin::pause() {
    play_status = PLAYER_PAUSED;
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_STATUS);
    post_notification(IPC_CB_MISC_PAUSE);
}

void PlayerStandin::resume() {
    play_status = PLAYER_PLAYING;
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_STATUS);
    post_notification(IPC_CB_MISC_UNPAUSE);
}

void PlayerStandin::stop() {
    play_status = PLAYER_STOPPED;
    removed_playing_.reset();
    post_notification(IPC_CB_MISC_TITLE);
    post_notification(IPC_CB_MISC_STATUS);
}

void PlayerStandin::remove_entry(LRESULT index) {
    if (index < 0 || size_t(index) >= playlist.size()) {
        return;
    }
    if (index == list_pos && play_status != PLAYER_STOPPED && !removed_playing_) {
        removed_playing_ = playlist[index];
    }
    playlist.erase(playlist.begin() + index);
    if (index <= list_pos && list_pos > 0) {
        --list_pos;
    }
}

void PlayerStandin::insert_entry(LRESULT index, const PlaylistEntry& entry) {
    playlist.insert(playlist.begin() + index, entry);
    if (index <= list_pos) {
        ++list_pos;
    }
}

void PlayerStandin::pass_time(int seconds) {
    for (int i = 0; i < seconds; ++i) {
        const PlaylistEntry* stream = play_status == PLAYER_PLAYING ? playing_stream() : nullptr;
        if (stream != nullptr && stream_.play_second(*stream->stream)) {
            post_notification(IPC_CB_MISC_TITLE);
        }
    }
}

std::wstring PlayerStandin::playing_title() const {
    const PlaylistEntry* playing = playing_entry();
    if (playing == nullptr) {
        return L"";
    }
    const PlaylistEntry& entry = *playing;
    if (entry.stream) {
        const std::wstring name = kept(entry.wide_file_name, entry.file_name);
        if (playing_stream() != &entry) {
            return name;
        }
        if (!stream_.tags_read(*entry.stream)) {
            return stream_.shown_title(*entry.stream, name);
        }
    }
    return tagged_title(entry);
}

// The entry that plays, or would play from stopped: the one removed while it played, else the
// one at the list position; none where the position has no entry.
const PlaylistEntry* PlayerStandin::playing_entry() const {
    if (removed_playing_) {
        return &*removed_playing_;
    }
    if (list_pos < 0 || size_t(list_pos) >= playlist.size()) {
        return nullptr;
    }
    return &playlist[list_pos];
}

// The entry playing or paused, if it is a stream.
const PlaylistEntry* PlayerStandin::playing_stream() const {
    const PlaylistEntry* entry = play_status == PLAYER_STOPPED ? nullptr : playing_entry();
    return entry != nullptr && entry->stream ? entry : nullptr;
}

void PlayerStandin::notify_status_changed() {
    SendMessageA(window_, WM_WA_IPC, IPC_CB_MISC_STATUS, IPC_CB_MISC);
}

void PlayerStandin::call_quit_once() {
    if (!quit_called_ && quit_plugins) {
        quit_called_ = true;
        quit_plugins();
    }
}

void PlayerStandin::exit() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    call_quit_once();
}

void PlayerStandin::end_session() {
    SendMessageW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
}
