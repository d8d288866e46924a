#include "legacy/JetReader.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// mdbtools.h wraps its own includes of glib in extern "C"; these come first.
#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>

#include "legacy/LegacyError.h"
#include "legacy/LegacyLayout.h"
#include "platform/paths/NativePath.h"

namespace legacy {

namespace {

// What the child sends, each message led by one of these bytes.
enum Message : char {
    kVersion = 'V',  // u8 Jet version
    kCounts = 'C',   // u32 rows of each register
    kRow = 'R',      // u8 register, then one cell per column
    kFailure = 'F',  // u32 length, the reason in UTF-8
    kFinished = 'D', // everything was read
};

// The longest text a cell may bring: a Jet text holds 255 characters, far less than this.
constexpr quint32 kMaxCellBytes = 1 << 20;
// A child that sends nothing for this long is taken to be stuck in a damaged file.
constexpr int kSilenceLimitMs = 60000;

// ---- the child: libmdb reads the file and writes messages to a pipe ----

class ChildWriter {
public:
    explicit ChildWriter(int fd) : m_fd(fd) {}

    void byte(char value) { m_buffer.push_back(value); }
    void u32(quint32 value) { append(&value, sizeof value); }
    void f64(double value) { append(&value, sizeof value); }
    void bytes(const char* data, quint32 size)
    {
        u32(size);
        append(data, size);
    }
    void append(const void* data, size_t size)
    {
        const auto* p = static_cast<const char*>(data);
        m_buffer.insert(m_buffer.end(), p, p + size);
        if (m_buffer.size() > 65536)
            flush();
    }
    void flush()
    {
        size_t done = 0;
        while (done < m_buffer.size()) {
            const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ::_exit(3); // the reading side has gone; nothing left to tell
            done += size_t(n);
        }
        m_buffer.clear();
    }

private:
    int m_fd;
    std::vector<char> m_buffer;
};

// The child's copy of its stderr, where libmdb reports the damage it steps over.
int warningsFd = -1;

// The first line libmdb wrote to stderr, or nothing.
std::string firstWarning()
{
    if (warningsFd < 0 || ::lseek(warningsFd, 0, SEEK_END) <= 0)
        return {};
    char text[512] = {};
    ::lseek(warningsFd, 0, SEEK_SET);
    const ssize_t n = ::read(warningsFd, text, sizeof text - 1);
    std::string line(text, n > 0 ? size_t(n) : 0);
    const size_t end = line.find('\n');
    return end == std::string::npos ? line : line.substr(0, end);
}

int fail(ChildWriter& out, std::string reason)
{
    const std::string warning = firstWarning();
    if (!warning.empty())
        reason += "; the file is damaged (the Jet reader reported: " + warning + ")";
    out.byte(kFailure);
    out.bytes(reason.data(), quint32(reason.size()));
    return 0;
}

std::string typeName(int type)
{
    static const char* const names[] = {
        "?",      "Yes/No",    "Byte",   "Integer", "Long Integer", "Currency", "Single",
        "Double", "Date/Time", "Binary", "Text",    "OLE object",   "Memo"};
    return type >= 0 && type <= MDB_MEMO ? names[type] : "type " + std::to_string(type);
}

bool typeFits(int type, ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Serial: return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT;
    case ColumnKind::Date:
    case ColumnKind::Time: return type == MDB_DATETIME;
    case ColumnKind::Text:
        // Not memo: its pages are read while the row's page is needed for the day numbers.
        return type == MDB_TEXT;
    }
    return false;
}

// The columns the register needs, in order and of fitting types; else what is different.
std::string columnMismatch(MdbTableDef* table, const LegacyRegister& layout)
{
    std::string found;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        found += (i ? ", " : "") + std::string(column->name);
    }
    std::string wanted;
    for (const LegacyColumn& c : layout.columns)
        wanted += (wanted.empty() ? "" : ", ") + std::string(c.name);
    const std::string table_name = layout.table;
    if (table->num_cols != unsigned(layout.columns.size()))
        return "its table '" + table_name + "' has the columns (" + found + ") instead of (" +
               wanted + ")";
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        const LegacyColumn& want = layout.columns[i];
        if (g_ascii_strcasecmp(column->name, want.name) != 0)
            return "its table '" + table_name + "' has the columns (" + found + ") instead of (" +
                   wanted + ")";
        if (!typeFits(column->col_type, want.kind))
            return "the column '" + std::string(want.name) + "' of its table '" + table_name +
                   "' is of another type (" + typeName(column->col_type) + ")";
    }
    return {};
}

struct BoundTable {
    MdbTableDef* table = nullptr;
    std::vector<std::vector<char>> buffers;
    std::vector<int> lengths;
};

int sendRows(MdbHandle* mdb, int index, BoundTable& bound, ChildWriter& out)
{
    const LegacyRegister& layout = legacyRegisters()[index];
    MdbTableDef* table = bound.table;
    const size_t size = mdb->bind_size;
    bound.buffers.assign(table->num_cols, std::vector<char>(size + 1));
    bound.lengths.assign(table->num_cols, 0);
    for (unsigned i = 0; i < table->num_cols; ++i)
        mdb_bind_column(table, int(i) + 1, bound.buffers[i].data(), &bound.lengths[i]);
    mdb_rewind_table(table);
    unsigned rows = 0;
    while (mdb_fetch_row(table)) {
        if (++rows > table->num_rows)
            break;
        out.byte(kRow);
        out.byte(char(index));
        for (unsigned i = 0; i < table->num_cols; ++i) {
            const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
            const int length = bound.lengths[i];
            // NULL and an empty text look alike here: both are of length 0.
            if (length <= 0 || column->cur_value_len == 0) {
                out.byte(char(RawValue::Kind::Null));
                continue;
            }
            switch (layout.columns[int(i)].kind) {
            case ColumnKind::Serial:
                out.byte(char(RawValue::Kind::Number));
                out.f64(std::strtod(bound.buffers[i].data(), nullptr));
                break;
            case ColumnKind::Date:
            case ColumnKind::Time:
                // The raw day number: libmdb's formatted dates lose years and centuries.
                out.byte(char(RawValue::Kind::Number));
                out.f64(mdb_get_double(mdb->pg_buf, column->cur_value_start));
                break;
            case ColumnKind::Text:
                if (size_t(length) >= size)
                    return fail(out, "a text in its table '" + std::string(layout.table) +
                                         "' is longer than the reader can take");
                out.byte(char(RawValue::Kind::Text));
                out.bytes(bound.buffers[i].data(), quint32(length));
                break;
            }
        }
    }
    if (rows != table->num_rows)
        return fail(out, "its table '" + std::string(layout.table) + "' counts " +
                             std::to_string(table->num_rows) + " records but " +
                             std::to_string(rows) +
                             " could be read (the file is truncated or damaged)");
    return 1;
}

int readInChild(const char* path, ChildWriter& out)
{
    MdbHandle* mdb = mdb_open(path, MDB_NOFLAGS);
    if (!mdb)
        return fail(out, "it cannot be opened as a Jet database (it is damaged or of another "
                         "kind)");
    const guint32 version = mdb->f->jet_version;
    out.byte(kVersion);
    out.byte(char(version));
    if (version >= MDB_VER_ACCDB_2007)
        return fail(out, "it is of a newer Jet version (" + std::to_string(version) +
                             "), which cannot be brought over; only Jet 3 and Jet 4 files can");
    struct stat file {};
    const auto page = size_t(mdb->fmt->pg_size);
    if (::stat(path, &file) == 0 &&
        (size_t(file.st_size) % page != 0 || size_t(file.st_size) < 2 * page))
        return fail(out, "it is truncated (its " + std::to_string(file.st_size) +
                             " bytes are not a whole number of its " + std::to_string(page) +
                             "-byte pages)");
    if (version == MDB_VER_JET3) {
        // The header's code page would turn five of the Varnel bytes into '?'; as Latin-1
        // every byte comes back as the character of the same number.
        iconv_close(mdb->iconv_in);
        mdb->iconv_in = iconv_open("UTF-8", "ISO-8859-1");
    }
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        return fail(out, "its list of tables cannot be read (the file is damaged)");
    const QList<LegacyRegister>& layouts = legacyRegisters();
    std::vector<BoundTable> tables(size_t(layouts.size()));
    for (int i = 0; i < layouts.size(); ++i) {
        const std::string name = layouts[i].table;
        // Looked up in the one catalog read above: mdb_read_table_by_name would read it anew
        // and free the entries the tables read before still point to.
        MdbTableDef* table = nullptr;
        for (unsigned e = 0; e < mdb->num_catalog && !table; ++e) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, e));
            if (entry->object_type == MDB_TABLE &&
                g_ascii_strcasecmp(entry->object_name, name.c_str()) == 0)
                table = mdb_read_table(entry);
        }
        if (!table)
            return fail(out, "it has no table '" + name + "'");
        tables[size_t(i)].table = table;
        if (!mdb_read_columns(table))
            return fail(out, "the columns of its table '" + name + "' cannot be read");
        const std::string mismatch = columnMismatch(table, layouts[i]);
        if (!mismatch.empty())
            return fail(out, mismatch);
        if (table->num_rows > unsigned(kMaxRegisterRows))
            return fail(out, "its table '" + name + "' counts " + std::to_string(table->num_rows) +
                                 " records, more than the " + std::to_string(kMaxRegisterRows) +
                                 " a register can hold");
    }
    out.byte(kCounts);
    for (const BoundTable& bound : tables)
        out.u32(bound.table->num_rows);
    for (int i = 0; i < layouts.size(); ++i) {
        if (!sendRows(mdb, i, tables[size_t(i)], out))
            return 0;
    }
    // libmdb steps over some damage with only a warning: such a file is not read exactly.
    if (!firstWarning().empty())
        return fail(out, "its records could not all be read exactly");
    out.byte(kFinished);
    return 0;
}

[[noreturn]] void runChild(const QByteArray& path, int fd)
{
    ::signal(SIGPIPE, SIG_DFL);
    // A file that makes libmdb crash is reported as damaged; it leaves no core file behind.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    FILE* warnings = std::tmpfile();
    warningsFd = warnings ? ::fileno(warnings) : -1;
    if (warningsFd >= 0)
        ::dup2(warningsFd, STDERR_FILENO);
    ChildWriter out(fd);
    readInChild(path.constData(), out);
    out.flush();
    // Nothing of this process's own (Qt, open diaries) may run its exit handlers here.
    ::_exit(0);
}

// ---- the parent: reads the messages and waits for the child ----

class Child {
public:
    Child(pid_t pid, int fd) : m_pid(pid), m_fd(fd) {}
    ~Child()
    {
        ::close(m_fd);
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Waits for the child to end after its last message: empty when it ended normally, else
    // how it failed.
    QString finish()
    {
        while (!m_ended && !m_timedOut) {
            m_at = m_buffer.size();
            fill();
        }
        if (m_timedOut)
            return QStringLiteral("the Jet reader stopped responding on it (the file is "
                                  "damaged)");
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        if (WIFSIGNALED(status))
            return QStringLiteral("the Jet reader failed on it (signal %1; the file is damaged)")
                .arg(WTERMSIG(status));
        return {};
    }

    bool atEnd() const { return m_ended || m_timedOut; }

    // False at the end of the stream.
    bool read(void* into, size_t size)
    {
        auto* p = static_cast<char*>(into);
        while (size > 0) {
            if (m_at == m_buffer.size() && !fill())
                return false;
            const size_t n = std::min(size, size_t(m_buffer.size() - m_at));
            std::memcpy(p, m_buffer.constData() + m_at, n);
            m_at += qsizetype(n);
            p += n;
            size -= n;
        }
        return true;
    }

private:
    bool fill()
    {
        pollfd waiting{m_fd, POLLIN, 0};
        int ready;
        while ((ready = ::poll(&waiting, 1, kSilenceLimitMs)) < 0 && errno == EINTR) {
        }
        if (ready == 0) {
            m_timedOut = true;
            return false;
        }
        m_buffer.resize(65536);
        ssize_t n;
        while ((n = ::read(m_fd, m_buffer.data(), size_t(m_buffer.size()))) < 0 && errno == EINTR) {
        }
        m_buffer.resize(n > 0 ? n : 0);
        m_at = 0;
        m_ended = n <= 0;
        return n > 0;
    }

    pid_t m_pid;
    int m_fd;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    bool m_timedOut = false;
    bool m_ended = false;
};

[[noreturn]] void refuse(const QString& path, const QString& reason)
{
    throw LegacyError(QStringLiteral("The legacy diary '%1' cannot be brought over: %2. "
                                     "Nothing was changed.")
                          .arg(path, reason));
}

} // namespace

RawDiary readJetDiary(const QString& path, const ReadProgress& progress)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        refuse(path, QString::fromLocal8Bit(std::strerror(errno)));
    const QByteArray encoded = files::nativePath(path);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        runChild(encoded, fds[1]);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        refuse(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    Child child(pid, fds[0]);

    const QList<LegacyRegister>& layouts = legacyRegisters();
    RawDiary diary;
    diary.registers.resize(layouts.size());
    int total = 0;
    int read = 0;
    // Reading stopped short, or the stream makes no sense: the child is stopped (by the
    // destructor) unless it has already gone.
    const auto damaged = [&]() -> QString {
        const QString failed = child.atEnd() ? child.finish() : QString();
        return failed.isEmpty() ? QStringLiteral("its records could not be read (the file is "
                                                 "damaged)")
                                : failed;
    };
    for (;;) {
        char message = 0;
        if (!child.read(&message, 1))
            refuse(path, damaged());
        if (message == kFinished)
            break;
        switch (message) {
        case kVersion: {
            quint8 version = 0;
            if (!child.read(&version, 1))
                refuse(path, damaged());
            diary.jetVersion = version;
            break;
        }
        case kCounts:
            for (int i = 0; i < layouts.size(); ++i) {
                quint32 count = 0;
                if (!child.read(&count, sizeof count))
                    refuse(path, damaged());
                total += int(count);
                diary.registers[i].reserve(count);
            }
            if (progress)
                progress(0, total);
            break;
        case kFailure: {
            quint32 size = 0;
            QByteArray reason;
            if (child.read(&size, sizeof size) && size < kMaxCellBytes) {
                reason.resize(size);
                if (!child.read(reason.data(), size))
                    reason.clear();
            }
            refuse(path, reason.isEmpty() ? damaged() : QString::fromUtf8(reason));
        }
        case kRow: {
            quint8 index = 0;
            if (!child.read(&index, 1) || index >= layouts.size())
                refuse(path, damaged());
            RawRow row;
            row.reserve(layouts[index].columns.size());
            for (qsizetype c = 0; c < layouts[index].columns.size(); ++c) {
                RawValue value;
                if (!child.read(&value.kind, 1))
                    refuse(path, damaged());
                if (value.kind == RawValue::Kind::Number) {
                    if (!child.read(&value.number, sizeof value.number))
                        refuse(path, damaged());
                } else if (value.kind == RawValue::Kind::Text) {
                    quint32 size = 0;
                    if (!child.read(&size, sizeof size) || size > kMaxCellBytes)
                        refuse(path, damaged());
                    value.utf8.resize(size);
                    if (!child.read(value.utf8.data(), size))
                        refuse(path, damaged());
                } else if (value.kind != RawValue::Kind::Null) {
                    refuse(path, damaged());
                }
                row.append(std::move(value));
            }
            diary.registers[index].append(std::move(row));
            ++read;
            if (progress)
                progress(read, total);
            break;
        }
        default: refuse(path, damaged());
        }
    }
    const QString failed = child.finish();
    if (!failed.isEmpty())
        refuse(path, failed);
    return diary;
}

} // namespace legacy
