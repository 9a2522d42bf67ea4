// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/Volume.h"

#include <blkid/blkid.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

struct ProbeDeleter {
    void operator()(blkid_struct_probe* probe) const { blkid_free_probe(probe); }
};
using Probe = std::unique_ptr<blkid_struct_probe, ProbeDeleter>;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Value(blkid_probe probe, const char* name) {
    const char* value = nullptr;
    return blkid_probe_lookup_value(probe, name, &value, nullptr) == 0 && value ? value : "";
}

// The superblock itself: exact, and never stale, unlike the cache blkid keeps in /run.
bool ReadSuperblock(const std::string& device, Volume& volume) {
    const Probe probe(blkid_new_probe_from_filename(device.c_str()));
    if (!probe) return false;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_UUID | BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE);
    if (blkid_do_safeprobe(probe.get()) != 0) return false;
    volume.UUID = Value(probe.get(), "UUID");
    volume.Label = Value(probe.get(), "LABEL");
    if (const std::string type = Value(probe.get(), "TYPE"); !type.empty()) volume.FSType = type;
    return true;
}

// udev names the links after the tag with blanks and other bytes written as \xHH.
std::string Unescaped(const std::string& name) {
    std::string text;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() && std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            text += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            text += name[i];
        }
    }
    return text;
}

// The name of the link in folder that leads to device; "" when none does.
std::string LinkTo(const char* folder, const std::string& device) {
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error) return {};
    for (const fs::directory_entry& link : fs::directory_iterator(folder, error)) {
        std::error_code ignored;
        if (fs::canonical(link.path(), ignored) == target) return Unescaped(link.path().filename().string());
    }
    return {};
}

std::int64_t SizeOf(const std::string& place) {
    struct statvfs info {};
    if (statvfs(place.c_str(), &info) != 0) return 0;
    return static_cast<std::int64_t>(info.f_blocks) * static_cast<std::int64_t>(info.f_frsize);
}

std::string IdentityOf(const Mount& mount, const Volume& volume) {
    if (mount.Network) return "net:" + mount.Source;
    if (!volume.UUID.empty()) return "uuid:" + Lower(volume.UUID);
    if (mount.Source.starts_with("/dev/"))
        return "fs:" + volume.FSType + ":" + volume.Label + ":" + std::to_string(volume.Size);
    return "mnt:" + volume.FSType + ":" + mount.Target;
}

}  // namespace

Volume IdentifyVolume(const Mount& mount) {
    Volume volume;
    volume.FSType = mount.FSType;
    volume.Size = SizeOf(mount.Target);
    if (!mount.Network && mount.Source.starts_with("/dev/") && !ReadSuperblock(mount.Source, volume)) {
        volume.UUID = LinkTo("/dev/disk/by-uuid", mount.Source);
        volume.Label = LinkTo("/dev/disk/by-label", mount.Source);
    }
    volume.Identity = IdentityOf(mount, volume);
    return volume;
}
