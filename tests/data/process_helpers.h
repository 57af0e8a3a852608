#pragma once
// Second processes for the locking and permission tests: a writer that holds a
// transaction on the table file, and a reader that runs as an unprivileged user.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <sqlite3.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace uriage::data::testing {

// A forked child; the parent talks to it over two pipes, one byte at a time.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<void(ChildProcess&)>& body)
    {
        if (pipe(toParent_) != 0 || pipe(toChild_) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(toParent_[0]);
            close(toChild_[1]);
            inChild_ = true;
            body(*this);
            _exit(0);
        }
        close(toParent_[1]);
        close(toChild_[0]);
    }
    ~ChildProcess() { wait(); }

    bool started() const { return pid_ > 0; }
    // Parent: waits for the child's next byte; 0 when the child has ended.
    char receive() { char c = 0; return read(toParent_[0], &c, 1) == 1 ? c : 0; }
    // Parent: everything the child writes until it ends.
    QByteArray receiveAll()
    {
        QByteArray all;
        char buffer[512];
        for (ssize_t n; (n = read(toParent_[0], buffer, sizeof buffer)) > 0;)
            all.append(buffer, n);
        return all;
    }
    void tell(char c) { [[maybe_unused]] auto n = write(inChild_ ? toParent_[1] : toChild_[1], &c, 1); }
    void send(const QByteArray& bytes) { [[maybe_unused]] auto n = write(toParent_[1], bytes.constData(), bytes.size()); }
    // Child: waits for the parent's byte (or the parent's end).
    char await() { char c = 0; return read(toChild_[0], &c, 1) == 1 ? c : 0; }
    int wait()
    {
        if (pid_ <= 0)
            return -1;
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
    bool inChild_ = false;
    int toParent_[2] = {-1, -1};
    int toChild_[2] = {-1, -1};
};

// Child side: runs SQL on the table file, ending the process on failure.
inline sqlite3* openWriter(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        _exit(3);
    return db;
}

inline void run(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        _exit(4);
}

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// Runs `action` as the user nobody in a child process and returns the text it
// produced; empty with *skipped set when this process cannot change its user.
inline QString runAsNobody(const std::function<QString()>& action, bool* skipped)
{
    *skipped = geteuid() != 0;
    if (*skipped)
        return {};
    ChildProcess child([&](ChildProcess& self) {
        if (setgroups(0, nullptr) != 0 || setgid(kNoGroup) != 0 || setuid(kNobody) != 0)
            _exit(5);
        self.send(action().toUtf8());
    });
    const QByteArray text = child.receiveAll();
    child.wait();
    return QString::fromUtf8(text);
}

} // namespace uriage::data::testing
