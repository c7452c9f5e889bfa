#pragma once

#include <QString>
#include <memory>

class QLockFile;

// One running copy of the register per program folder. The lock is a file beside INFO.MDB holding the
// owner's process id; a lock left behind by a copy that crashed (its process is gone) is taken over.
class SingleInstance
{
public:
    // The lock file of the program folder.
    static QString lockPath();

    explicit SingleInstance(const QString &path = lockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this copy holds the lock; false when another copy that is still running holds it.
    bool acquire();
    bool held() const;

private:
    std::unique_ptr<QLockFile> m_lock;
};
