#pragma once

// Internet radio, as the real player plays it, for the player stand-in. A stream is one
// playlist entry named by its URL, whose songs change inside it without any change of entry:
// - the input plugin has no title, artist, album or genre for it, and answers nothing;
// - for the playing stream the player answers "streamtitle" (the station's current title, by
//   convention "Artist - Title"; empty while it is still connecting), "streamname",
//   "streamgenre" and "streamurl", comparing keys without regard to case;
// - it posts its title notification on every change of title, and on a variable-bitrate stream
//   also every few seconds without one, as the decoder's numbers change.

#include <optional>
#include <string>
#include <vector>

struct StreamTitle {
    std::wstring text;
    int seconds; // how long the station sends it
};

struct StreamStation {
    std::wstring name;               // icy-name
    std::wstring genre;              // icy-genre
    std::vector<StreamTitle> titles; // in the order the station sends them; the last one stays
    int connecting_seconds = 1;      // after every start, before the first title arrives
    int bitrate_notice_seconds = 2;  // a title notification without a change, this often
};

// The playing stream as the listener hears it: the station's titles follow one another in
// seconds of playing since the stream started, so paused time does not move them on.
class StreamReception {
  public:
    void start() { seconds_ = 0; }
    // One more second of playing; true when the player posts its title notification for it.
    bool play_second(const StreamStation& station);
    // What "streamtitle" answers now.
    std::wstring title(const StreamStation& station) const;
    // What the player answers for `key` of the playing stream at `url`; nothing for a key it
    // does not know, the song's four among them.
    std::optional<std::wstring> value(const StreamStation& station, const std::wstring& url,
                                      const char* key) const;

  private:
    int seconds_ = 0;
};
