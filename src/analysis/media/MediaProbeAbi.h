// SPDX-License-Identifier: GPL-3.0-or-later
// The narrow C interface between the core and the media module, the one part of Reelvault that
// links FFmpeg. The core loads the module on first use, calls rv_media_probe_entry and refuses a
// table whose Version is not the one it was built with, so a module left over from another build
// is named and refused rather than called with the wrong layout. Change any struct here, or what
// a field means, and RV_MEDIA_PROBE_VERSION must change too.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RV_MEDIA_PROBE_VERSION 3u
#define RV_MEDIA_PROBE_ENTRY "rv_media_probe_entry"

// One file, opened and checked by the core: a plain file that is not empty.
typedef struct RvMediaRequest {
    int Handle;                   // read with pread only; the core closes it
    int64_t Size;
    const char* Path;             // a hint to FFmpeg by its extension, never opened by name
    const unsigned char* Header;  // the file's first bytes, as read by the core
    size_t HeaderSize;            // up to 8192, fewer only when the file is shorter
    int64_t DeadlineNs;           // on std::chrono::steady_clock, in nanoseconds since its epoch
    int64_t TimeoutMs;            // the time allowed, for the sentence of a probe that gave up
} RvMediaRequest;

// The streams kept of each kind; a file with more says how many it has.
#define RV_MEDIA_MAX_STREAMS 16

// Texts are NUL-terminated, cut to their buffer at a whole UTF-8 character, "" when unknown.
typedef struct RvMediaStreamFacts {
    char Codec[32];     // FFmpeg's name of the codec ("aac", "subrip")
    char Language[16];  // the stream's language tag as written ("fre", "en")
    int Channels;       // audio only; 0 when unknown
    int SampleRate;     // audio only, in Hz; 0 when unknown
} RvMediaStreamFacts;

// What the probe learnt of a media file from the container it opened: no frame is decoded for it.
typedef struct RvMediaFacts {
    char Container[64];  // the demuxer's name ("mov,mp4,m4a,3gp,3g2,mj2")
    // The first moving picture (a cover or still image does not count); all 0 or "" without one.
    char VideoCodec[32];
    int Width;
    int Height;
    double FrameRate;  // frames per second, the average where the container knows it
    int64_t BitRate;   // bits per second of the video stream, else of the whole file; 0 when unknown
    int HDR;           // 1 when the picture's transfer is PQ or HLG
    int AudioCount;    // streams in the file; the first RV_MEDIA_MAX_STREAMS are in Audio
    RvMediaStreamFacts Audio[RV_MEDIA_MAX_STREAMS];
    int SubtitleCount;
    RvMediaStreamFacts Subtitles[RV_MEDIA_MAX_STREAMS];
    char Title[256];
    char Artist[256];
    char Album[256];
    char Date[32];  // the date tag as written ("2004", "2004-05-01")
    char Comment[512];
} RvMediaFacts;

typedef struct RvMediaVerdict {
    int Code;          // 0 for media; otherwise negative (FFmpeg's code, or the negated errno)
    int64_t LengthMs;  // > 0 when Code is 0
    int Failed;        // 1: could not be examined (read error, time-out, memory), as opposed to not media
    char Why[256];     // when Code is not 0: why, as the end of a sentence, NUL-terminated
    RvMediaFacts Facts;  // when Code is 0
} RvMediaVerdict;

// One frame wanted of a file, opened and checked by the core as for a probe.
typedef struct RvFrameRequest {
    int Handle;          // read with pread only; the core closes it
    int64_t Size;
    const char* Path;    // a hint to FFmpeg by its extension, never opened by name
    int64_t DeadlineNs;  // on std::chrono::steady_clock, in nanoseconds since its epoch
    int64_t TimeoutMs;   // the time allowed, for the sentence of a frame that gave up
    int Width;           // the stored picture's width at most (never enlarged)
    int ThumbEdge;       // the square the RGB picture must fit in (never enlarged); 0: none wanted
} RvFrameRequest;

// What came of it. The module owns the buffers until FreeFrame is given the result.
typedef struct RvFrameResult {
    int Code;                   // 0 for a frame; otherwise negative (FFmpeg's code, or the negated errno)
    int Failed;                 // 1: could not be examined (read error, time-out, memory), as opposed to no frame in it
    char Why[256];              // when Code is not 0: why, as the end of a sentence, NUL-terminated
    unsigned char* Jpeg;        // the stored picture, a baseline JPEG
    size_t JpegSize;
    int JpegWidth, JpegHeight;
    unsigned char* Rgb;         // ThumbWidth x ThumbHeight pixels, 3 bytes each, rows packed; null when ThumbEdge was 0
    int ThumbWidth, ThumbHeight;
} RvFrameResult;

typedef struct RvMediaProbe {
    uint32_t Version;  // RV_MEDIA_PROBE_VERSION; always the first field
    // Readies FFmpeg for the whole process; "" when it is usable, or why not. Called once, first.
    const char* (*SetUp)(void);
    // Safe to call from several threads at once.
    void (*Probe)(const RvMediaRequest* request, RvMediaVerdict* verdict);
    // FFmpeg's release and the version of each of its libraries that is loaded, for a bug report.
    const char* (*Versions)(void);
    // 1 when a demuxer of sound or moving pictures claims the extension of the path, so that FFmpeg
    // must look at the file whatever its contents; 0 otherwise.
    int (*NameClaimed)(const char* path);
    // Takes one picture of the file: the cover art embedded in it where there is one, otherwise the
    // first frame from about a tenth of the way in (the start when its length is unknown); a still
    // picture file gives itself. Safe to call from several threads at once.
    void (*MakeFrame)(const RvFrameRequest* request, RvFrameResult* result);
    // Frees the buffers of a result of MakeFrame; safe on a result that holds none.
    void (*FreeFrame)(RvFrameResult* result);
} RvMediaProbe;

typedef const RvMediaProbe* (*RvMediaProbeEntry)(void);

#ifdef __cplusplus
}
#endif
