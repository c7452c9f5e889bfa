#include "app/SingleInstance.h"

#include "base/AppPaths.h"

#include <QLockFile>

QString SingleInstance::lockPath()
{
    return AppPaths::inProgramFolder(AppPaths::programName() + QStringLiteral(".lock"));
}

SingleInstance::SingleInstance(const QString &path) : m_lock(std::make_unique<QLockFile>(path))
{
    // No age limit: a register runs for days. A lock is stale only when its process no longer runs,
    // which QLockFile checks by the process id and name it wrote.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    if (m_lock->isLocked())
        return true;
    if (m_lock->tryLock(0))
        return true;
    // tryLock already removes a lock whose owner is gone; a lock file that could not be read or written
    // (for example one left empty by a power cut) gets one more chance through an explicit clean-up.
    if (m_lock->error() == QLockFile::LockFailedError && m_lock->removeStaleLockFile())
        return m_lock->tryLock(0);
    return false;
}

bool SingleInstance::held() const
{
    return m_lock->isLocked();
}
