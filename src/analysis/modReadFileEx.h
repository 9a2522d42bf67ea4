// SPDX-License-Identifier: GPL-3.0-or-later
// The CRC-32 of a file's whole contents, read as fast as the disk gives it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/ContentHash.h"
#include "analysis/cFile.h"

// Bytes asked of the kernel per read. Large reads keep the system-call count low; the kernel's
// read-ahead keeps the disk busy while a chunk is folded.
inline constexpr std::size_t kCRCChunkSize = std::size_t{1} << 20;

struct CRCResult {
    std::string Text;         // the CRC text; "" whenever no CRC was computed
    std::uint32_t Value = 0;  // the CRC; meaningful only when Text is not empty
    std::int64_t Bytes = 0;   // how many bytes the CRC covers; meaningful only when Text is not empty
    std::string Error;        // "" on success, otherwise a sentence naming the file and the reason
    bool Cancelled = false;   // the progress callback stopped it (Error says so too)
    bool ChangedWhileRead = false;  // the file grew, shrank or was written during the read (Error says so)
    // On success, when asked: the file's first bytes, as many as asked or all of a shorter file.
    std::vector<unsigned char> First;
    // Set by ReadFileContents only, and only on success:
    bool Hashed = false;
    ContentHash Hash;  // of the bytes the CRC covers
    FileStamp Stamp;   // the file as it was when it was opened, and still was when the read ended
    explicit operator bool() const { return Error.empty(); }
};

// Told after each chunk how many bytes are done and how many the file held when it was opened
// (done can pass total when the file grows meanwhile). Returning false stops the computation.
using CRCProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Reads the file at path to its end and returns the standard CRC-32 of everything read.
// - A file of 0 bytes has the value 0 and the text "0".
// - A file that cannot be opened or read (missing, no permission, I/O error, not a plain file)
//   gives "Could not read PATH: REASON" and an empty text, never a value that could be mistaken
//   for a CRC.
// - A stop asked by progress gives "Cancelled: PATH", Cancelled set and an empty text.
// The file is closed before the call returns. Any number of computations may run at once.
// With keepFirst, First keeps that many of the file's first bytes, for a look at what the file is.
CRCResult CalculateFileCRC(const std::string& path, const CRCProgress& progress = {}, std::size_t keepFirst = 0);

// As CalculateFileCRC, with the contents' hash (ContentHash.h) taken in the same read, and the
// file's stamp. A file whose size or modification time differs after the read from before it, or
// whose bytes read are not its size, gives "Could not read PATH: the file changed while it was
// read" with ChangedWhileRead set: whatever was read may be half of one version and half of another.
CRCResult ReadFileContents(const std::string& path, const CRCProgress& progress = {}, std::size_t keepFirst = 0);

// How this processor lets the CRC kernel above fold, for a bug report. The kernel chooses its own
// code from the CPU's features when it first runs, so this reads the same features and names the
// widest fold they allow, then each feature: "512-bit carry-less multiply (SSE4.2 yes, PCLMULQDQ
// yes, AVX2 yes, AVX-512 yes, VPCLMULQDQ yes)"; "table look-up (...)" when there is no multiply.
std::string CRCInstructionSupport();
