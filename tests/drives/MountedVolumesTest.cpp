// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/MountedVolumes.h"

#include <gtest/gtest.h>

#include "common/LoopDrive.h"
#include "common/TempFolder.h"
#include "drives/DriveSet.h"
#include "drives/MountTable.h"

namespace {

constexpr const char* kUUID = "5e1c0a2b-0001-4a2b-9c3d-5e6f7a8b9c0d";

MountedVolume Mounted(const std::string& target, const std::string& identity) {
    MountedVolume volume;
    volume.At.Target = target;
    volume.At.Root = "/";
    volume.Is.Identity = identity;
    return volume;
}

Drive Known(int id, const std::string& identity, const std::string& name) {
    Drive drive;
    drive.DriveID = id;
    drive.Identity = identity;
    drive.Name = name;
    return drive;
}

}  // namespace

TEST(MountedVolumes, KnowARealDriveByItsUUIDWhereverAndHoweverItIsMounted) {
    TempFolder folder;
    LoopDrive drive(folder.Path("a.img"), kUUID, "FILMS");
    // libmount un-escapes what the kernel's table writes as \040 and \012.
    const std::string odd = folder.Path("my films\nnew été");
    if (!drive.Mount(odd)) GTEST_SKIP() << drive.Skip();
    std::filesystem::create_directories(odd + "/sub");

    MountedVolumes now = MountedVolumes::Read();
    ASSERT_EQ(now.Error(), "");
    const MountedVolumes::Location at = now.Locate(odd + "/sub/a.avi");
    ASSERT_NE(at.On, nullptr);
    EXPECT_EQ(at.On->At.Target, odd);
    EXPECT_EQ(at.On->Is.Identity, std::string("uuid:") + kUUID);
    EXPECT_EQ(at.On->Is.Label, "FILMS");
    EXPECT_EQ(at.On->Is.FSType, "ext4");
    EXPECT_GT(at.On->Is.Size, 0);
    EXPECT_EQ(at.PathInside, "/sub/a.avi");

    // A bind mount shows a folder of the drive: paths through it are paths inside that folder,
    // and it is not a place where the drive's root is.
    const std::string bound = folder.Path("bound");
    std::filesystem::create_directories(bound);
    ASSERT_EQ(std::system(("mount --bind '" + odd + "/sub' '" + bound + "'").c_str()), 0);
    now = MountedVolumes::Read();
    EXPECT_EQ(now.Locate(bound + "/b.avi").PathInside, "/sub/b.avi");
    DriveSet drives;
    drives.Add(Known(1, std::string("uuid:") + kUUID, "FILMS"));
    drives.SeeMounts(now);
    EXPECT_EQ(drives.ByID(1)->Places, std::vector<std::string>{odd});
    EXPECT_FALSE(drives.ByID(1)->Cloned);
    EXPECT_TRUE(drives.ByID(1)->Holds(odd + "/x.avi"));
    EXPECT_FALSE(drives.ByID(1)->Holds(folder.Path("elsewhere/x.avi")));
    std::system(("umount '" + bound + "'").c_str());

    drive.Unmount();
    drives.SeeMounts(MountedVolumes::Read());
    EXPECT_FALSE(drives.ByID(1)->Plugged());
    EXPECT_TRUE(drives.Unplugged(1));
}

TEST(MountedVolumes, AnEmptyFolderWhereADriveBelongsIsNotTheDisk) {
    const MountedVolumes now = MountedVolumes::Of(
        {Mounted("/", "fs:ext4::1"), Mounted("/media/usb0", "uuid:u"), Mounted("/media/me/FILMS", "uuid:f"),
         Mounted("/run/media/me/DATA", "uuid:d")},
        {"/", "/mnt/films", "/srv/music"});
    for (const char* away : {"/mnt/films/a.avi", "/mnt/films", "/srv/music/x/y.mp3", "/media/usb1/a.avi",
                             "/media/me/FILMS-2/a.avi", "/run/media/me/OTHER/a.avi"})
        EXPECT_TRUE(now.InDrivePlaceLeftEmpty(away)) << away;
    for (const char* there : {"/home/me/a.avi", "/mnt/other/a.avi", "/media/usb0/sub/a.avi", "/media/me/FILMS/a.avi",
                              "/run/media/me/DATA/a/b.avi", "/mnt/filmsx/a.avi"})
        EXPECT_FALSE(now.InDrivePlaceLeftEmpty(there)) << there;
}

TEST(DriveSet, NamesNewDrivesByLabelMadeUnique) {
    DriveSet drives;
    Volume films;
    films.Label = "FILMS";
    EXPECT_EQ(drives.NewName(films, "/media/me/FILMS"), "FILMS");
    drives.Add(Known(1, "uuid:1", "FILMS"));
    EXPECT_EQ(drives.NewName(films, "/media/me/FILMS1"), "FILMS-2");
    drives.Add(Known(2, "uuid:2", "FILMS-2"));
    EXPECT_EQ(drives.NewName(films, "/x"), "FILMS-3");
    Volume unlabelled;
    unlabelled.FSType = "xfs";
    EXPECT_EQ(drives.NewName(unlabelled, "/srv/store"), "store");
    EXPECT_EQ(drives.NewName(unlabelled, "/"), "xfs");
}

TEST(MountTable, NetworkAndDevicelessFilesystemsAreKnownByWhatTheyAre) {
    TempFolder folder;
    const std::string table = folder.Write(
        "mountinfo",
        "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "40 26 0:50 / /mnt/nas rw,relatime - nfs4 server:/export rw,vers=4.2\n"
        "41 26 0:51 / /home/me/remote\\040films rw,relatime - fuse.sshfs me@host:/films rw\n"
        "42 26 0:52 /sub /srv/share rw,relatime - cifs //server/share rw\n"
        "43 26 0:53 / /run/scratch rw,relatime - tmpfs tmpfs rw\n");
    const MountTable read = MountTable::Read(table.c_str(), folder.Write("fstab", "").c_str());
    ASSERT_EQ(read.Error(), "");
    const auto identity = [&](const std::string& path) { return IdentifyVolume(*read.Containing(path)).Identity; };
    EXPECT_EQ(identity("/mnt/nas/a.avi"), "net:server:/export");
    EXPECT_EQ(identity("/home/me/remote films/a.avi"), "net:me@host:/films");
    EXPECT_EQ(identity("/srv/share/a.avi"), "net://server/share");
    EXPECT_EQ(identity("/run/scratch/a.avi"), "mnt:tmpfs:/run/scratch");
    EXPECT_EQ(read.Containing("/srv/share/a.avi")->Root, "/sub");
    EXPECT_TRUE(read.Containing("relative/path") == nullptr);
}
