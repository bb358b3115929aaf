#pragma once

// The player stand-in's playlist: a UTF-8 text file, one step a line, fields separated by tabs.
//
//   SECONDS <tab> TITLE <tab> ARTIST <tab> ALBUM <tab> GENRE [<tab> FILE]
//                                                             play this song for SECONDS; FILE
//                                                             is the name of its file
//                                                             (default C:\Music\<index>.mp3)
//   stream <tab> SECONDS <tab> URL <tab> STATION <tab> GENRE   play an MP3 internet radio
//                                                             station for SECONDS; the title
//                                                             lines that follow are what it
//                                                             sends
//   ogg <tab> SECONDS <tab> URL <tab> STATION                 play an Ogg Vorbis station; its
//                                                             title lines are what the player
//                                                             shows ("Prebuffering : 50%" too)
//   podcast <tab> SECONDS <tab> URL <tab> TITLE <tab> ARTIST <tab> ALBUM <tab> GENRE
//                                                             play a podcast episode over HTTP,
//                                                             whose tag holds the four fields
//   title <tab> SECONDS <tab> TEXT                            the station sends TEXT (by
//                                                             convention "Artist - Title") for
//                                                             SECONDS of playing
//   pause <tab> SECONDS                                       pause the song, then resume it
//   play <tab> SECONDS                                        go on playing the current song
//   stop <tab> SECONDS                                        stop playback for SECONDS
//
// Blank lines and lines starting with # are ignored; missing song fields are empty.
// A player with a Unicode window keeps the texts in UTF-16, an older one in code page 932.

#include <string>
#include <vector>

#include "tools/player_standin/stream_station.h"

struct StreamLine {
    int seconds;
    std::string text; // in UTF-8 as written
};

struct PlaylistStep {
    enum Kind { Song, Stream, Pause, Play, Stop } kind;
    int seconds;
    // Song and Stream steps, in UTF-8 as written; a stream's file is its URL.
    std::string title, artist, album, genre, file;
    // Stream steps only: which kind, the station's name, and the titles it sends.
    StreamKind stream_kind;
    std::string station;
    std::vector<StreamLine> stream_titles;
};

// The steps of the file; false with `error` set when it cannot be read or a line is wrong.
bool read_playlist(const std::string& path, std::vector<PlaylistStep>& steps, std::string& error);
