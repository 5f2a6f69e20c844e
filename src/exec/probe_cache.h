#pragma once
// What a description of a media file answered, kept for the life of the instance so
// that no file is described twice while it stays the same. An answer is what the probe
// tool printed for "-i <file>" (its exit status and every byte of its output, the
// closing stream report included) and the tools' own description of the file's streams.
// It is filed under the file's identity: its device and inode name the entry, so each
// file has one entry, and its size, modification time and change time must still match
// for the entry to answer (a rewrite that puts the modification time back still moves
// the change time). The tools write the entries; the duration probe and the tools read them.
//
// The cache is a folder of small files, one per described file, each written under a
// temporary name and renamed into place, so that several tools and the core may use it
// at once and a reader never sees half an entry.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace transcoda {

// The environment variable through which the runner tells every tool where the cache is.
inline constexpr const char* kProbeCacheVariable = "TRANSCODA_PROBE_CACHE";

struct FileIdentity {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t Size = 0;
    int64_t ModifiedNs = 0;  // modification time, nanoseconds since the epoch
    int64_t ChangedNs = 0;   // status change time (ctime), nanoseconds since the epoch
    bool operator==(const FileIdentity&) const = default;
};

// The identity of a regular file as it is now (symbolic links followed); nullopt for a
// missing file and for anything that is not a regular file.
std::optional<FileIdentity> IdentityOf(const std::string& path);

struct ProbeAnswer {
    int ExitCode = 1;
    std::string Output;       // the probe's console output, byte for byte
    std::string Description;  // the tools' description of the streams
};

// One entry as it is stored, and read back; nullopt for anything else.
std::string FormatProbeEntry(const FileIdentity& identity, const ProbeAnswer& answer);
std::optional<ProbeAnswer> ParseProbeEntry(std::string_view text, const FileIdentity& identity);

class ProbeCache {
public:
    // A cache in `folder` (with or without its trailing "/"); an empty folder is no
    // cache: nothing is found, nothing is kept.
    explicit ProbeCache(std::string folder);

    // The cache of this instance, in its work folder; no cache while there is none.
    static ProbeCache OfThisInstance();
    // The cache the runner named in this tool's environment; no cache without one.
    static ProbeCache FromEnvironment();

    bool Enabled() const { return !folder_.empty(); }
    const std::string& Folder() const { return folder_; }
    // kProbeCacheVariable + "=" + folder, for the environment of a tool; empty when
    // there is no cache.
    std::string EnvironmentEntry() const;

    // The answer kept for the file with this identity, when the file has not changed.
    std::optional<ProbeAnswer> Find(const FileIdentity& identity) const;
    // The same for the file at `path` as it is now.
    std::optional<ProbeAnswer> Find(const std::string& path) const;
    // Keeps the answer for the file that had `identity` when it was read, replacing the
    // file's earlier entry. False when nothing could be written.
    bool Store(const FileIdentity& identity, const ProbeAnswer& answer) const;

private:
    std::string EntryPath(const FileIdentity& identity) const;
    std::string folder_;
};

}  // namespace transcoda
