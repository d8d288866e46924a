#pragma once

#include <QByteArray>
#include <QString>

namespace files {

// Whose permission bits a new file gets.
enum class Privacy {
    Document, // as any document the user saves: the umask decides
    LikeDiary // a copy of the diary: exactly the diary's bits, never wider
};

// The one way the program writes a file. The target is checked first (checkOutputTarget); the
// bytes go into a temporary file beside it, named with this process's id so a later run can
// tell a leftover from a file still being written; only a complete, synced file is renamed
// into place, and the folder is synced after, so the new name outlives a power cut too. A failure,
// or a kill, leaves the target as it was. Failures throw JetError with a Kannada message naming the
// target.
class SafeOutput {
public:
    // `diaryFile` is the diary whose bits a LikeDiary copy takes.
    explicit SafeOutput(const QString& target, Privacy privacy = Privacy::Document,
                        const QString& diaryFile = {});
    ~SafeOutput(); // removes the temporary file unless it was committed
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    // The file that will be written (a link followed).
    QString target() const { return m_target; }
    // For writers that need a name (SQLite): the temporary file exists, empty, with the chosen
    // bits. Closes this side's descriptor (SQLite locks the file with POSIX locks, which any close
    // of another descriptor would drop) and returns the temporary file's name.
    QString handOver();

    // Appends bytes; throws on a failed write (a full disk among them).
    void write(const QByteArray& bytes);
    // Syncs the file and renames it over the target.
    void commit();
    // As commit, but never replaces: false (and nothing published) when the target exists.
    bool commitIfAbsent();

private:
    void finish();
    void published();
    [[noreturn]] void fail(int error) const;

    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    bool m_committed = false;
};

// Writes `bytes` as the whole of `target` through a SafeOutput.
void writeFile(const QString& target, const QByteArray& bytes);

// Moves the finished file `from` to `to` without ever replacing a file: renamed with
// RENAME_NOREPLACE, or where the file system lacks it hard-linked (a link never replaces either)
// and the old name removed. 0 when moved, EEXIST when `to` exists (`from` is left as it was), or
// the error that stopped it, which errno holds as well. Syncing the folder is the caller's.
int moveWithoutReplacing(const QString& from, const QString& to);

// A temporary name beside `target` in the program's own pattern, for work files that are not
// outputs (a new diary being built): "." + name + ".velmora-PID-RANDOM.tmp".
QString temporaryNameFor(const QString& target);

} // namespace files
