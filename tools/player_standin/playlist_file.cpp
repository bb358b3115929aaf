#include "tools/player_standin/playlist_file.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> split_tabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

bool read_seconds(const std::string& text, int& seconds) {
    char* end = nullptr;
    const long value = strtol(text.c_str(), &end, 10);
    seconds = static_cast<int>(value);
    return !text.empty() && *end == '\0' && value >= 0 && value <= 86400;
}

} // namespace

bool read_playlist(const std::string& path, std::vector<PlaylistStep>& steps, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<std::string> fields = split_tabs(line);
        const std::string at = path + ":" + std::to_string(number) + ": ";
        if (fields[0] == "title") {
            fields.resize(3);
            StreamLine title{0, fields[2]};
            if (steps.empty() || steps.back().kind != PlaylistStep::Stream ||
                steps.back().stream_kind == StreamKind::Podcast) {
                error = at + "a title belongs to the stream or ogg line before it";
                return false;
            }
            if (!read_seconds(fields[1], title.seconds)) {
                error = at + "expected a number of seconds";
                return false;
            }
            steps.back().stream_titles.push_back(title);
            continue;
        }
        PlaylistStep step{PlaylistStep::Song, 0, "", "", "", "", "", StreamKind::Shoutcast, "", {}};
        if (fields[0] == "stream" || fields[0] == "ogg") {
            fields.resize(5);
            step.kind = PlaylistStep::Stream;
            step.stream_kind = fields[0] == "ogg" ? StreamKind::Ogg : StreamKind::Shoutcast;
            step.file = fields[2];
            step.station = fields[3];
            step.genre = fields[4];
            fields.erase(fields.begin());
        } else if (fields[0] == "podcast") {
            fields.resize(7);
            step.kind = PlaylistStep::Stream;
            step.stream_kind = StreamKind::Podcast;
            step.file = fields[2];
            step.title = fields[3];
            step.artist = fields[4];
            step.album = fields[5];
            step.genre = fields[6];
            fields.erase(fields.begin());
        } else if (fields[0] == "pause" || fields[0] == "play" || fields[0] == "stop") {
            step.kind = fields[0] == "pause"  ? PlaylistStep::Pause
                        : fields[0] == "play" ? PlaylistStep::Play
                                              : PlaylistStep::Stop;
            fields.erase(fields.begin());
        } else {
            fields.resize(6);
            step.title = fields[1];
            step.artist = fields[2];
            step.album = fields[3];
            step.genre = fields[4];
            step.file = fields[5];
        }
        if (fields.empty() || !read_seconds(fields[0], step.seconds)) {
            error = at + "expected a number of seconds";
            return false;
        }
        steps.push_back(step);
    }
    return true;
}
