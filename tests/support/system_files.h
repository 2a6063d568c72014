#pragma once

// What tests of file handling need from the system they run on, each in the
// way that system offers (system_files_unix.cpp, _win.cpp).

#include <QString>

#include <memory>

namespace velt::test {

// Gives the file at `target` a second name, `link`, without copying it: a
// symbolic link on Linux, a hard link on Windows (whose QFile::link makes a
// shortcut, a file of its own). False when that fails.
bool linkFile(const QString &target, const QString &link);

// How many files this process holds open. On Windows every kind of handle
// counts, which reading a list changes only by the files it opens.
int openFileCount();

// While it lives, saving `fileName` (which must exist) fails after the save
// has begun, as it fails for users of this system: on Linux through a 4 KiB
// file-size limit, so the write stops part-way as on a full disk (root
// included); on Windows through another program holding the file open
// without sharing it, as an editor or a spreadsheet may, so the old file
// cannot be replaced.
class SaveObstacle
{
public:
    explicit SaveObstacle(const QString &fileName);
    ~SaveObstacle();
    SaveObstacle(const SaveObstacle &) = delete;
    SaveObstacle &operator=(const SaveObstacle &) = delete;

    // What the message of a save it stopped says of the cause.
    static QString reason();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// While it lives, the folder `path` takes no new file, while the files in it
// stay writable: read-only for an ordinary user, immutable for root, whom
// permissions do not stop. active() is false where neither can be had (a
// file system without the flag, Windows).
class FolderRefusingNewFiles
{
public:
    explicit FolderRefusingNewFiles(const QString &path);
    ~FolderRefusingNewFiles();
    FolderRefusingNewFiles(const FolderRefusingNewFiles &) = delete;
    FolderRefusingNewFiles &operator=(const FolderRefusingNewFiles &) = delete;

    bool active() const { return m_active; }

private:
    QString m_path;
    bool m_active = false;
    bool m_immutable = false;
};

// Makes a named pipe at `path`; false where the system has none (Windows).
bool makeNamedPipe(const QString &path);

} // namespace velt::test
