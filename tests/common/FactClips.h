// SPDX-License-Identifier: GPL-3.0-or-later
// Short clips made by the ffmpeg command once per test program, for the media facts: several
// containers, sizes and codecs, sound tracks and subtitles in several languages, tags, a cover in
// an MP3, an HDR-marked picture, and damaged files. Stops the test program when ffmpeg cannot
// make them.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "common/TempFolder.h"

inline const TempFolder& FactClips() {
    static const auto folder = [] {
        auto made = std::make_unique<TempFolder>();
        made->Write("subs.srt", "1\n00:00:00,000 --> 00:00:00,500\nHello\n");
        const std::string F = "ffmpeg -hide_banner -loglevel error -y ";
        const std::string picture = "-f lavfi -i testsrc=size=640x360:rate=25:duration=1 ";
        const std::string sound = "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=1 ";
        const std::string commands[] = {
            F + picture + sound + "-f lavfi -i sine=frequency=300:duration=1 -i subs.srt -i subs.srt "
                "-map 0:v -map 1:a -map 2:a -map 3:s -map 4:s -c:v libx264 -preset ultrafast -c:a:0 aac -ac:a:0 2 "
                "-c:a:1 libopus -c:s srt -metadata:s:a:0 language=fre -metadata:s:a:1 language=eng "
                "-metadata:s:s:0 language=eng -metadata:s:s:1 language=ger -metadata title=\"Le film\" "
                "-metadata date=2004 film.mkv",
            F + "-f lavfi -i testsrc=size=1920x1080:rate=24:duration=0.5 " + sound +
                "-c:v libx264 -preset ultrafast -color_trc smpte2084 -color_primaries bt2020 -colorspace bt2020nc "
                "-c:a aac -metadata:s:a:0 language=eng -metadata artist=Someone -metadata album=Films "
                "-metadata date=2010-05-01 -metadata comment=\"A note\" hd.mp4",
            F + "-f lavfi -i testsrc=size=320x240:rate=25:duration=1 " + sound +
                "-c:v mpeg4 -vtag DIVX -c:a libmp3lame small.avi",
            F + picture + sound + "-c:v mpeg4 -c:a aac clip.mov",
            F + picture + sound + "-c:v mpeg2video -c:a mp2 -metadata:s:a:0 language=ger clip.ts",
            F + sound + "-c:a libmp3lame -metadata title=Tune -metadata artist=Band -metadata album=Record "
                "-metadata date=1999 song.mp3",
            F + sound + "-c:a libvorbis -metadata title=Vorbis tone.ogg",
            F + sound + "-c:a flac tone.flac",
            F + "-f lavfi -i testsrc=size=64x64 -frames:v 1 cover.png",
            F + sound + "-i cover.png -map 0:a -map 1:v -c:a libmp3lame -c:v png -disposition:v attached_pic cover.mp3",
            "head -c 3000 hd.mp4 > damaged.mp4 && head -c 2048 /dev/urandom > noise.mkv",
        };
        for (const std::string& command : commands) {
            const std::string run = "cd '" + made->Root() + "' && " + command;
            if (std::system(run.c_str()) == 0) continue;
            std::fprintf(stderr, "Could not make the clips: %s\n", run.c_str());  // every test after would fail for it
            std::abort();
        }
        return made;
    }();
    return *folder;
}
