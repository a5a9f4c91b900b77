// Re-runs on a real Linux disk, for what only the kernel can show: marks on
// files (immutable, append-only), the sticky bit, owners, access control
// lists and extended attributes, the real clock, descriptor limits.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "kscgen_process.h"
#include "test_support.h"

namespace kscgen {
namespace {

namespace fs = std::filesystem;
using testing::Holds;
using testing::KscgenRun;
using testing::ListNames;
using testing::ReadFile;
using testing::RunKscgenBehind;
using testing::TempFolder;
using testing::Touch;

const char kAsNobody[] = "setpriv --reuid=65534 --regid=65534 --clear-groups";

// The songs folder in `root`, open to every user (as a shared library is),
// the path to it open to all.
std::string SharedSongs(const std::string& root, mode_t mode = 0777) {
  const std::string folder = root + "/songs";
  fs::create_directory(folder);
  chmod(root.c_str(), 0755);
  chmod(folder.c_str(), mode);
  return folder;
}

std::string SharedSongs(const TempFolder& root, mode_t mode = 0777) {
  return SharedSongs(root.path(), mode);
}

// Marks set with chattr, taken off again when the test ends, or the
// temporary folder could not be removed.
class FileMarks {
 public:
  ~FileMarks() {
    for (const std::string& path : marked_) Chattr("-ia", path);
  }
  bool Set(const std::string& flag, const std::string& path) {
    if (!Chattr(flag, path)) return false;
    marked_.push_back(path);
    return true;
  }

 private:
  static bool Chattr(const std::string& flag, const std::string& path) {
    return std::system(("chattr " + flag + " '" + path + "' 2>/dev/null").c_str()) == 0;
  }
  std::vector<std::string> marked_;
};

TEST(RerunDiskTest, AKscFileMarkedImmutableOrAppendOnlySkipsItsVideoOnly) {
  TempFolder root;
  const std::string folder = SharedSongs(root, 0755);
  for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) Touch(folder + "/" + name);
  Touch(folder + "/a.KSC", "hand-made a");
  Touch(folder + "/b.KSC", "hand-made b");
  FileMarks marks;
  if (!marks.Set("+i", folder + "/a.KSC") || !marks.Set("+a", folder + "/b.KSC")) {
    GTEST_SKIP() << "chattr +i and +a need root and a file system that keeps them";
  }
  KscgenRun dry = RunKscgenBehind("", "-n -t 0 '" + folder + "'");
  EXPECT_EQ(dry.exit_code, 1) << dry.out;
  EXPECT_TRUE(Holds(dry.out, u8"\t跳过：KSC文件被设为不可更改\t\t\n")) << dry.out;
  EXPECT_TRUE(Holds(dry.out, u8"\t跳过：KSC文件被设为只能追加\t\t\n")) << dry.out;
  EXPECT_TRUE(Holds(dry.out, u8"\t新建\t\n")) << dry.out;

  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 1) << run.out;
  EXPECT_TRUE(Holds(run.out,
                    u8"\n新建 1 个，更新 0 个，未变 0 个\n\n以下 2 个视频未生成KSC文件：\n"
                    u8"a.mpg（KSC文件被设为不可更改）\nb.mpg（KSC文件被设为只能追加）\n"))
      << run.out;
  EXPECT_EQ(ReadFile(folder + "/a.KSC"), "hand-made a");
  EXPECT_EQ(ReadFile(folder + "/b.KSC"), "hand-made b");
  EXPECT_FALSE(ReadFile(folder + "/c.KSC").empty());
}

TEST(RerunDiskTest, AnotherUsersKscFileInAStickyFolderSkipsItsVideoOnly) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to run as another user";
  TempFolder root;
  const std::string folder = SharedSongs(root, 01777);  // like /tmp
  for (const char* name : {"a.mpg", "b.mpg"}) Touch(folder + "/" + name);
  Touch(folder + "/a.KSC", "root's");
  chmod((folder + "/a.KSC").c_str(), 0666);  // writable by all, but root's
  KscgenRun dry = RunKscgenBehind(kAsNobody, "-n -t 0 '" + folder + "'");
  EXPECT_EQ(dry.exit_code, 1) << dry.out;
  EXPECT_TRUE(Holds(dry.out, u8"\t跳过：KSC文件属于其他用户，文件夹不允许替换它\t\t\n")) << dry.out;

  KscgenRun run = RunKscgenBehind(kAsNobody, "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 1) << run.out;
  EXPECT_TRUE(Holds(run.out, u8"a.mpg（KSC文件属于其他用户，文件夹不允许替换它）")) << run.out;
  EXPECT_EQ(ReadFile(folder + "/a.KSC"), "root's");
  EXPECT_FALSE(ReadFile(folder + "/b.KSC").empty());
}

// The output of a shell command, its last line break taken off.
std::string Output(const std::string& command) {
  std::string out;
  FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
  char buf[256];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  pclose(p);
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// An exFAT file system in an image, mounted through FUSE on a loop device
// for the test's time.
class ExfatImage {
 public:
  explicit ExfatImage(const TempFolder& root) : image_(root / "exfat.img"), mount_(root / "mnt") {
    fs::create_directory(mount_);
    if (std::system(
            ("truncate -s 8M '" + image_ + "' && mkfs.exfat '" + image_ + "' >/dev/null 2>&1")
                .c_str()) != 0) {
      return;
    }
    device_ = Output("losetup -f --show '" + image_ + "'");
    if (device_.empty()) return;
    mounted_ =
        std::system(
            ("mount.exfat-fuse '" + device_ + "' '" + mount_ + "' >/dev/null 2>&1").c_str()) == 0;
  }
  ~ExfatImage() {
    if (mounted_) std::system(("umount '" + mount_ + "'").c_str());
    if (!device_.empty()) std::system(("losetup -d '" + device_ + "'").c_str());
  }
  bool mounted() const { return mounted_; }
  const std::string& path() const { return mount_; }

 private:
  std::string image_;
  std::string mount_;
  std::string device_;
  bool mounted_ = false;
};

// On exFAT, as on Windows, Ａ.KSC and ａ.KSC are one file: two videos of
// those names get one KSC file and one number, named as a pair, and a
// re-run finds it unchanged instead of flipping it between the two.
TEST(RerunDiskTest, OnExfatLettersOfAnyScriptAreOneNameInEitherCase) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to mount an exFAT image";
  TempFolder root;
  ExfatImage exfat(root);
  if (!exfat.mounted()) {
    GTEST_SKIP() << "cannot mount an exFAT image through FUSE here (mkfs.exfat, losetup and "
                    "mount.exfat-fuse: scripts/install-deps.sh installs exfatprogs, exfat-fuse)";
  }
  const std::string folder = exfat.path();
  for (const char* name : {u8"Ａ.mpg", u8"ａ.avi", u8"Σ.mpg", u8"σ.avi"}) {
    Touch(folder + "/" + name);
  }
  KscgenRun run = RunKscgenBehind("", "-t 0 -s 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 0) << run.out;
  EXPECT_TRUE(Holds(run.out, u8"新建 2 个，更新 0 个，未变 0 个")) << run.out;
  EXPECT_TRUE(Holds(run.out, u8"ａ.avi 与 Ａ.mpg\nσ.avi 与 Σ.mpg\n")) << run.out;
  KscgenRun again = RunKscgenBehind("", "-t 0 -s 0 '" + folder + "'");
  EXPECT_TRUE(Holds(again.out, u8"2 个KSC文件都已是最新，没有改动")) << again.out;
}

// A KSC file its owner may write but not read: what it holds (its date
// among it) is unknown, so it is left as it is and its video skipped.
TEST(RerunDiskTest, AKscFileItsOwnerMayWriteButNotReadIsLeftAsItIs) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to run as another user";
  TempFolder root;
  const std::string folder = SharedSongs(root);
  for (const char* name : {"a.mpg", "b.mpg"}) Touch(folder + "/" + name);
  const std::string old = "karaoke.tag('\xCA\xB1\xBC\xE4', '1999/1/1');\r\n";  // 时间 in GBK
  Touch(folder + "/a.KSC", old);
  ASSERT_EQ(chown((folder + "/a.KSC").c_str(), 65534, 65534), 0);
  ASSERT_EQ(chmod((folder + "/a.KSC").c_str(), 0220), 0);
  for (const char* args : {"-n -t 0 '", "-t 0 '"}) {
    KscgenRun run = RunKscgenBehind(kAsNobody, args + folder + "'");
    EXPECT_EQ(run.exit_code, 1) << run.out;
    EXPECT_TRUE(Holds(run.out, u8"无法读取已有的KSC文件（没有权限）")) << run.out;
  }
  EXPECT_EQ(ReadFile(folder + "/a.KSC"), old);
  EXPECT_FALSE(ReadFile(folder + "/b.KSC").empty());
}

// A record of what kscgen wrote that its owner may not read is no record of
// none: the KSC file that would change is left as it is, and so is the
// record.
TEST(RerunDiskTest, ARecordItsOwnerMayNotReadKeepsTheFilesThatWouldChange) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to run as another user";
  TempFolder root;
  const std::string folder = SharedSongs(root);
  Touch(folder + "/a.mpg");
  KscgenRun first = RunKscgenBehind(kAsNobody, "-t 0 '" + folder + "'");
  ASSERT_EQ(first.exit_code, 0) << first.out;
  const std::string record = folder + "/.kscgen.written";
  const std::string ksc = ReadFile(folder + "/a.KSC");
  const std::string written = ReadFile(record);
  ASSERT_EQ(chmod(record.c_str(), 0200), 0);
  KscgenRun second = RunKscgenBehind(kAsNobody, "-t 0 -s 5 '" + folder + "'");
  EXPECT_EQ(second.exit_code, 1) << second.out;
  EXPECT_TRUE(Holds(second.out, u8"无法读取已写入内容的记录：")) << second.out;
  EXPECT_TRUE(Holds(second.out, u8"（没有权限）")) << second.out;
  EXPECT_TRUE(Holds(second.out, u8"无法读取已写入内容的记录，未更新，以免覆盖手工修改"))
      << second.out;
  EXPECT_EQ(ReadFile(folder + "/a.KSC"), ksc);
  EXPECT_EQ(ReadFile(record), written);
}

// A KSC file that cannot be replaced for a reason of its own, here a mount
// at its name (the rename fails with EBUSY), costs only its video.
TEST(RerunDiskTest, AKscFileThatIsBusySkipsItsVideoOnly) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to mount a file at the KSC file's name";
  TempFolder root;
  const std::string folder = SharedSongs(root, 0755);
  for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) Touch(folder + "/" + name);
  Touch(folder + "/b.KSC", "under the mount");
  Touch(root / "over", "mounted");
  if (std::system(
          ("mount --bind '" + root / "over" + "' '" + folder + "/b.KSC' 2>/dev/null").c_str()) !=
      0) {
    GTEST_SKIP() << "cannot bind-mount a file here";
  }
  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  const std::string names = ListNames(folder);
  std::system(("umount '" + folder + "/b.KSC'").c_str());
  EXPECT_EQ(run.exit_code, 1) << run.out;
  EXPECT_TRUE(Holds(run.out,
                    u8"\n新建 2 个，更新 0 个，未变 0 个\n\n以下 1 个视频未生成KSC文件：\n"
                    u8"b.mpg（无法替换KSC文件（正在使用中））\n"))
      << run.out;
  EXPECT_EQ(names, "a.KSC|a.mpg|b.KSC|b.mpg|c.KSC|c.mpg");
  EXPECT_EQ(ReadFile(root / "over"), "mounted");
}

// An access control list as the kernel keeps it (system.posix_acl_access):
// version 2, then each entry's tag, permissions and id, little-endian.
std::string Acl(std::initializer_list<std::array<std::uint32_t, 3>> entries) {
  std::string bytes;
  auto put = [&](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(2, 4);
  for (const auto& e : entries) {
    put(e[0], 2);
    put(e[1], 2);
    put(e[2], 4);
  }
  return bytes;
}

std::string Attribute(const std::string& path, const char* name) {
  char value[1024];
  ssize_t n = lgetxattr(path.c_str(), name, value, sizeof value);
  return n < 0 ? std::string("(none)") : std::string(value, static_cast<std::size_t>(n));
}

struct Kept {
  unsigned uid;
  unsigned gid;
  unsigned mode;
};

Kept StatOf(const std::string& path) {
  struct stat st {};
  lstat(path.c_str(), &st);
  return {st.st_uid, st.st_gid, st.st_mode & 07777u};
}

TEST(RerunDiskTest, AnUpdateKeepsOwnerGroupAccessListAndAttributes) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to give files to other users";
  TempFolder root;
  const std::string folder = SharedSongs(root);
  const std::string ksc = folder + "/a.KSC";
  Touch(folder + "/a.mpg");
  Touch(ksc, "old");
  constexpr std::uint32_t kNoId = 0xFFFFFFFF;
  // user::rw- user:bin:rw- group::r-- mask::rw- other::---
  const std::string acl =
      Acl({{0x01, 6, kNoId}, {0x02, 6, 2}, {0x04, 4, kNoId}, {0x10, 6, kNoId}, {0x20, 0, kNoId}});
  if (setxattr(ksc.c_str(), "user.note", "kept", 4, 0) != 0 ||
      setxattr(ksc.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0) {
    GTEST_SKIP() << "the temporary folder's file system keeps no extended attributes or "
                    "access control lists here: "
                 << std::strerror(errno);
  }
  ASSERT_EQ(chown(ksc.c_str(), 65534, 1), 0);  // nobody:daemon
  const Kept before = StatOf(ksc);
  ASSERT_EQ(before.mode, 0660u);  // the group's bits are the list's mask
  // A file without a list, in a folder whose new files inherit one.
  const std::string plain = folder + "/b.KSC";
  Touch(folder + "/b.mpg");
  Touch(plain, "old");
  ASSERT_EQ(chmod(plain.c_str(), 0640), 0);
  const std::string inherited =
      Acl({{0x01, 7, kNoId}, {0x02, 7, 2}, {0x04, 5, kNoId}, {0x10, 7, kNoId}, {0x20, 5, kNoId}});
  ASSERT_EQ(
      setxattr(folder.c_str(), "system.posix_acl_default", inherited.data(), inherited.size(), 0),
      0)
      << std::strerror(errno);

  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  ASSERT_EQ(run.exit_code, 0) << run.out;
  ASSERT_NE(ReadFile(ksc), "old");
  const Kept after = StatOf(ksc);
  EXPECT_EQ(after.uid, 65534u);
  EXPECT_EQ(after.gid, 1u);
  EXPECT_EQ(after.mode, 0660u);
  EXPECT_EQ(Attribute(ksc, "system.posix_acl_access"), acl);  // group::r-- still
  EXPECT_EQ(Attribute(ksc, "user.note"), "kept");
  ASSERT_NE(ReadFile(plain), "old");
  EXPECT_EQ(Attribute(plain, "system.posix_acl_access"), "(none)");  // bin gains nothing
  EXPECT_EQ(StatOf(plain).mode, 0640u);
}

// An attribute only root may set (security.*) cannot go with the owner's
// update: the file is updated all the same, and the message names it.
TEST(RerunDiskTest, AnAttributeTheOwnerMayNotSetIsNamedAsLost) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to set a security attribute";
  TempFolder root;
  const std::string folder = SharedSongs(root);
  const std::string ksc = folder + "/a.KSC";
  Touch(folder + "/a.mpg");
  Touch(ksc, "old");
  if (setxattr(ksc.c_str(), "security.kscgen-test", "x", 1, 0) != 0 ||
      setxattr(ksc.c_str(), "user.note", "kept", 4, 0) != 0) {
    GTEST_SKIP() << "the temporary folder's file system keeps no such attributes here: "
                 << std::strerror(errno);
  }
  ASSERT_EQ(chown(ksc.c_str(), 65534, 65534), 0);
  KscgenRun run = RunKscgenBehind(kAsNobody, "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 0) << run.out;
  EXPECT_TRUE(Holds(run.out,
                    u8"\n\n注意：\n“a.mpg”的KSC文件已更新，但未能保留扩展属性 "
                    u8"security.kscgen-test\n"))
      << run.out;
  EXPECT_NE(ReadFile(ksc), "old");
  EXPECT_EQ(Attribute(ksc, "user.note"), "kept");
}

TEST(RerunDiskTest, WhoMayReadAKscFileStaysWhoMayReadIt) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to run as another user";
  constexpr std::uint32_t kNoId = 0xFFFFFFFF;
  // user::rw- user:nobody:rw- group::r-- mask::rw- other::---: nobody may
  // write the file through the list, but it is not theirs.
  const std::string named = Acl(
      {{0x01, 6, kNoId}, {0x02, 6, 65534}, {0x04, 4, kNoId}, {0x10, 6, kNoId}, {0x20, 0, kNoId}});
  struct Case {
    const char* as;  // nobody, in the group daemon (1) or not
    unsigned uid;    // a.KSC's owner and group
    unsigned gid;
    bool with_list;
    const char* skipped;  // the reason a.mpg is skipped, or empty when a.KSC is updated
  };
  const Case cases[] = {
      {"setpriv --reuid=65534 --regid=65534 --groups=1", 65534, 1, false, ""},
      // A new file could not have the group, nor another user's file its owner.
      {"setpriv --reuid=65534 --regid=65534 --clear-groups", 65534, 1, false,
       u8"KSC文件属于当前用户不在其中的组，替换后组和读取权限会改变，未改动"},
      {"setpriv --reuid=65534 --regid=65534 --clear-groups", 0, 0, true,
       u8"KSC文件属于其他用户，替换后所有者和读取权限会改变，未改动"},
  };
  for (const Case& c : cases) {
    TempFolder root;
    const std::string folder = SharedSongs(root);
    const std::string ksc = folder + "/a.KSC";
    Touch(folder + "/a.mpg");
    Touch(ksc, "old");
    ASSERT_EQ(chown(ksc.c_str(), c.uid, c.gid), 0);
    ASSERT_EQ(chmod(ksc.c_str(), 0640), 0);
    if (c.with_list &&
        setxattr(ksc.c_str(), "system.posix_acl_access", named.data(), named.size(), 0) != 0) {
      GTEST_SKIP() << "no access control lists here: " << std::strerror(errno);
    }
    const Kept before = StatOf(ksc);
    KscgenRun run = RunKscgenBehind(c.as, "-t 0 '" + folder + "'");
    const Kept after = StatOf(ksc);
    EXPECT_EQ(after.uid, before.uid) << c.as;
    EXPECT_EQ(after.gid, before.gid) << c.as;
    EXPECT_EQ(after.mode, before.mode) << c.as;
    if (c.with_list) EXPECT_EQ(Attribute(ksc, "system.posix_acl_access"), named);
    if (*c.skipped == '\0') {
      EXPECT_EQ(run.exit_code, 0) << c.as << "\n" << run.out;
      EXPECT_NE(ReadFile(ksc), "old");
    } else {
      EXPECT_EQ(run.exit_code, 1) << c.as << "\n" << run.out;
      EXPECT_TRUE(Holds(run.out, std::string(u8"a.mpg（") + c.skipped + u8"）")) << run.out;
      EXPECT_EQ(ReadFile(ksc), "old");
    }
  }
}

// Inode flags the owner may set (no dump, no access times) go with the file.
TEST(RerunDiskTest, AnUpdateKeepsTheOwnersInodeFlags) {
  TempFolder root;
  const std::string folder = SharedSongs(root);
  const std::string ksc = folder + "/a.KSC";
  Touch(folder + "/a.mpg");
  Touch(ksc, "old");
  if (std::system(("chattr +dA '" + ksc + "' 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "the temporary folder's file system keeps no inode flags here";
  }
  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  ASSERT_EQ(run.exit_code, 0) << run.out;
  ASSERT_NE(ReadFile(ksc), "old");
  const std::string flags = Output("lsattr -d '" + ksc + "' | cut -d' ' -f1");
  EXPECT_NE(flags.find('d'), std::string::npos) << flags;
  EXPECT_NE(flags.find('A'), std::string::npos) << flags;
}

// What a keeper meets first: the next day's run must not rewrite the
// library with the new date.
TEST(RerunDiskTest, TheNextDaysRunLeavesTheOldSongsAlone) {
  if (std::system("command -v faketime >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "faketime is not installed (scripts/install-deps.sh installs it)";
  }
  TempFolder root;
  const std::string folder = SharedSongs(root, 0755);
  Touch(folder + "/a-x.mpg");
  // A sanitizer's runtime need not come first when faketime's is preloaded.
  const std::string on = "ASAN_OPTIONS=verify_asan_link_order=0 faketime ";
  KscgenRun first = RunKscgenBehind(on + "'2026-12-07 12:00:00'", "-t 1 '" + folder + "'");
  ASSERT_EQ(first.exit_code, 0) << first.out;
  Touch(folder + "/b-y.mpg");
  KscgenRun next = RunKscgenBehind(on + "'2026-12-08 12:00:00'", "-t 1 '" + folder + "'");
  EXPECT_EQ(next.exit_code, 0) << next.out;
  EXPECT_TRUE(Holds(next.out, u8"新建 1 个，更新 0 个，未变 1 个")) << next.out;
  EXPECT_TRUE(Holds(ReadFile(folder + "/a-x.KSC"), "karaoke.tag('时间', '2026/12/7');\r\n"));
  EXPECT_TRUE(Holds(ReadFile(folder + "/b-y.KSC"), "karaoke.tag('时间', '2026/12/8');\r\n"));
}

TEST(RerunDiskTest, ATreeThreeHundredFoldersDeepUnderSixtyFourDescriptors) {
  TempFolder root;
  std::string path = root.path();
  for (int level = 1; level <= 300; ++level) {
    path += "/d";
    fs::create_directory(path);
    Touch(path + "/" + std::to_string(level) + ".mpg");
  }
  KscgenRun run = RunKscgenBehind("prlimit --nofile=64 --", "-R -t 0 '" + root.path() + "'");
  EXPECT_EQ(run.exit_code, 0) << run.out;
  EXPECT_TRUE(Holds(run.out, u8"新建 300 个")) << run.out;
  EXPECT_FALSE(ReadFile(path + "/300.KSC").empty());
}

// Out of descriptors while listing, on a real disk: the listing fails as a
// whole, naming the folder, and nothing is written (a run over part of the
// tree would number it unlike a run over all of it).
TEST(RerunDiskTest, ATreeListedWithoutDescriptorsWritesNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' runtime itself needs descriptors the limit takes away";
#endif
  TempFolder root;
  for (const char* name : {"a", "b", "c"}) {
    fs::create_directory(root / name);
    Touch(root / name + "/x.mpg");
  }
  Touch(root / "y.mpg");
  KscgenRun run = RunKscgenBehind("prlimit --nofile=5 --", "-R -t 0 '" + root.path() + "'");
  EXPECT_EQ(run.exit_code, 1) << run.out;
  EXPECT_TRUE(Holds(run.out, u8"（打开的文件太多）")) << run.out;
  EXPECT_FALSE(Holds(run.out, u8"本次已写入")) << run.out;  // no run began
  for (const auto& e : fs::recursive_directory_iterator(root.path())) {
    EXPECT_NE(e.path().extension(), ".KSC") << e.path();
  }
}

}  // namespace
}  // namespace kscgen
