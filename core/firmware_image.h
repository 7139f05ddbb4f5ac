#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/atomic_file.h"
#include "core/file_failure.h"
#include "core/file_on_disk.h"

namespace tavlo {

// One firmware file held wholly in memory, followed by one extra zero byte that is not part of
// the file (it ends the last zero-terminated string, so no string search runs off the buffer).
class FirmwareImage {
public:
    FirmwareImage();
    FirmwareImage(const FirmwareImage&) = delete;
    FirmwareImage& operator=(const FirmwareImage&) = delete;
    ~FirmwareImage();

    // Reads the whole file. Replaces the image only on success; on failure the image keeps its
    // bytes, name, modified flag and match, and LastError() says why.
    bool Load(const std::string& path);

    // Makes the image refer to an embedded resource's bytes (not copied, not owned), to be saved
    // under `fileName`. Such an image is only saved, never searched.
    bool LoadFromResource(std::string_view resourceName, std::string_view resourceType,
                          const std::string& fileName);

    // Writes the image to its file through AtomicFile: the user's file is never lost. With
    // makeBackup what stands at the file's name becomes the ".bak" backup. A backup name that is
    // the file's own entry (a file named like its backup, or a link to the backup name), a
    // write-protected file and a write-protected backup stop the save before anything is
    // written. A loaded image goes back to the file that Load read (a symbolic link named at
    // Load stays, its target is replaced). When that file was changed or replaced on disk since,
    // or its name or folder now lead elsewhere, the save writes nothing and says FileChanged, so
    // the caller can ask the user; told to overwrite, it makes whatever stands at the file's
    // name the backup and replaces it, a link put there included, which is replaced and never
    // followed. Nothing is shown: LastFailure() says why a save failed.
    SaveOutcome Save(bool makeBackup, IfFileChanged ifChanged);

    // The same, keeping a changed file; true when saved.
    bool Save(bool makeBackup) {
        return Save(makeBackup, IfFileChanged::Keep) == SaveOutcome::Saved;
    }

    bool IsModified() const { return modified_; }

    // First occurrence of the pattern that has at least one image byte after it, or nullptr.
    const std::uint8_t* FindBytes(const std::uint8_t* pattern, int patternLength) const;

    // Search and replacement of the power-on message.
    void ResetSearch() { matchOffset_ = -1; }
    const std::uint8_t* FindNextText(std::string_view text) const;
    bool LocateMessage(std::string_view searchText);
    std::uint32_t MessageLength() const;
    void ReplaceMessage(std::string_view text);

    const std::uint8_t* Data() const { return data_; }
    std::uint32_t Length() const { return length_; }
    const std::string& FileName() const { return fileName_; }
    // Where the current match starts in the image, or -1 for none.
    std::int64_t MatchOffset() const { return matchOffset_; }
    bool IsResourceBacked() const { return resourceBacked_; }

    // Why the last Load or Save failed, in plain words ("No such file or directory", ...).
    const std::string& LastError() const { return lastError_; }
    // Why the last Save failed (or, FileChanged, what changed), for the caller's message.
    const FileFailure& LastFailure() const { return lastFailure_; }
    // Whether the last successful Save made a backup: none when the file was no longer on disk.
    bool BackupMade() const { return backupMade_; }

    // The backup name of a path: the extension of its final component (a "." that is not the
    // path's very first character) replaced by ".bak", or ".bak" appended.
    static std::string BackupName(std::string_view path);

private:
    void Clear();

    bool modified_ = false;
    bool resourceBacked_ = false;
    std::int64_t matchOffset_ = -1;  // wide enough for every byte of a 4 GiB file
    std::string fileName_;
    std::uint32_t length_ = 0;
    std::uint8_t* data_ = nullptr;  // owned unless resourceBacked_
    std::string lastError_;
    FileFailure lastFailure_;
    bool backupMade_ = false;
    std::optional<FileAsRead> asRead_;  // the file Load read (then the last save wrote)
};

// First position in [data, data + length) where the pattern occurs with at least one byte of the
// range after it, or nullptr.
const std::uint8_t* SearchBytes(const std::uint8_t* data, std::uint32_t length,
                                const std::uint8_t* pattern, int patternLength);

// The image seen as zero-terminated strings: the first occurrence of `text` inside one string,
// with at least one byte of the range after it, or nullptr.
const std::uint8_t* SearchStrings(const std::uint8_t* data, std::uint32_t length,
                                  std::string_view text);

// The search of the image's members over its `length` bytes at `data` (a match offset of -1 is
// none): where the next match of `text` after the one at `matchOffset` starts, or -1; and the
// length L of the message at `offset`, up to the next zero byte and never past the end.
std::int64_t NextMatchOffset(const std::uint8_t* data, std::uint32_t length,
                             std::int64_t matchOffset, std::string_view text);
std::uint32_t MessageLengthAt(const std::uint8_t* data, std::uint32_t length, std::int64_t offset);

// `text` padded with spaces or cut to exactly n bytes.
std::string FitToLength(std::string_view text, std::size_t n);

}  // namespace tavlo
