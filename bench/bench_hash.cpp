// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a file whole, as fast as one core can, and folds it into a hash, to choose the contents'
// hash beside cat: bench_hash xxh3|sha256|crc FILE. The read is the same for each (1 MiB at a time,
// as the CRC engine reads), so the hashes' costs are what differ. "contents" reads as the program
// does: CRC and hash in one read, on every core for a large file.
#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>
#include <xxhash.h>
#if defined(__x86_64__)
#include <xxh_x86dispatch.h>
#endif

#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "analysis/modReadFileEx.h"

namespace {

bool ReadWhole(const char* path, const std::function<void(std::span<const unsigned char>)>& fold) {
    const int handle = open(path, O_RDONLY | O_CLOEXEC);
    if (handle < 0) return false;
    posix_fadvise(handle, 0, 0, POSIX_FADV_SEQUENTIAL);
    const auto buffer = std::make_unique<unsigned char[]>(kCRCChunkSize);
    ssize_t count;
    while ((count = read(handle, buffer.get(), kCRCChunkSize)) > 0) fold({buffer.get(), static_cast<std::size_t>(count)});
    close(handle);
    return count == 0;
}

bool XXH3(const char* path) {
    XXH3_state_t* state = XXH3_createState();
    XXH3_128bits_reset(state);
    const bool read = ReadWhole(path, [&](std::span<const unsigned char> bytes) {
#if defined(__x86_64__)
        XXH3_128bits_update_dispatch(state, bytes.data(), bytes.size());
#else
        XXH3_128bits_update(state, bytes.data(), bytes.size());
#endif
    });
    std::printf("%016llx\n", static_cast<unsigned long long>(XXH3_128bits_digest(state).high64));
    XXH3_freeState(state);
    return read;
}

bool SHA256(const char* path) {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    EVP_DigestInit_ex(context, EVP_sha256(), nullptr);
    const bool read = ReadWhole(path, [&](std::span<const unsigned char> bytes) { EVP_DigestUpdate(context, bytes.data(), bytes.size()); });
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    EVP_DigestFinal_ex(context, digest, &length);
    EVP_MD_CTX_free(context);
    std::printf("%02x...\n", digest[0]);
    return read;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "bench_hash xxh3|sha256|crc|contents FILE\n");
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "xxh3") return XXH3(argv[2]) ? 0 : 1;
    if (mode == "sha256") return SHA256(argv[2]) ? 0 : 1;
    const CRCResult result = mode == "crc" ? CalculateFileCRC(argv[2]) : ReadFileContents(argv[2]);
    std::printf("%s %s\n", result.Text.c_str(), result.Hash.Hex().c_str());
    return result ? 0 : 1;
}
