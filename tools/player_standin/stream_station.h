#pragma once

// Network streams as the real player plays them, for the player stand-in. A stream is one
// playlist entry named by its URL, whose songs can change inside it without any change of
// entry. What the player answers for it depends on the input plugin that plays it:
// - an MP3 or AAC station (the MPEG plugin): nothing for the song's four keys; "streamtitle"
//   (the station's current title, by convention "Artist - Title"; empty while it is still
//   connecting), "streamname", "streamgenre" and "streamurl", keys compared without regard to
//   case;
// - an Ogg Vorbis station: nothing for every key; its songs, and "Connecting..." or
//   "Prebuffering : N%" while it connects or buffers, only in the title the player shows;
// - a podcast episode, an MP3 file over HTTP with its own tag (the MPEG plugin): nothing for the
//   four keys until the player has connected and read the tag, then the entry's own title,
//   artist, album and genre; the station keys answered, empty.
// The player posts its title notification on every change of what it shows, when a podcast's
// tag has been read, and, as the decoder's numbers change, every few seconds without one.

#include <optional>
#include <string>
#include <vector>

enum class StreamKind { Shoutcast, Ogg, Podcast };

struct StreamTitle {
    std::wstring text;
    int seconds; // how long the station sends it
};

struct StreamStation {
    std::wstring name;               // icy-name
    std::wstring genre;              // icy-genre
    std::vector<StreamTitle> titles; // in the order the station sends them; the last one stays
    int connecting_seconds = 1;      // after every start, before the first title or the tag
    int bitrate_notice_seconds = 2;  // a title notification without a change, this often
    StreamKind kind = StreamKind::Shoutcast;
};

// The playing stream as the listener hears it: the station's titles follow one another in
// seconds of playing since the stream started, so paused time does not move them on.
class StreamReception {
  public:
    void start() { seconds_ = 0; }
    // One more second of playing; true when the player posts its title notification for it.
    bool play_second(const StreamStation& station);
    bool connected(const StreamStation& station) const {
        return seconds_ >= station.connecting_seconds;
    }
    // A podcast episode whose tag the player has read answers the four keys from it.
    bool tags_read(const StreamStation& station) const {
        return station.kind == StreamKind::Podcast && connected(station);
    }
    // The station's current title; empty while connecting, and always for a podcast.
    std::wstring title(const StreamStation& station) const;
    // What the player answers for `key` of the playing stream at `url`; nothing for a key its
    // input plugin does not know.
    std::optional<std::wstring> value(const StreamStation& station, const std::wstring& url,
                                      const char* key) const;
    // The title the player shows for it while its tags name nothing.
    std::wstring shown_title(const StreamStation& station, const std::wstring& url) const;

  private:
    int seconds_ = 0;
};
