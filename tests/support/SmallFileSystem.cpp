#include "tests/support/SmallFileSystem.h"

#include <sys/mount.h>

SmallFileSystem::SmallFileSystem(int kilobytes, bool readOnly)
{
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    m_mounted = m_dir.isValid() && ::mount("tmpfs", m_dir.path().toLocal8Bit().constData(), "tmpfs",
                                           readOnly ? MS_RDONLY : 0, options.constData()) == 0;
}

SmallFileSystem::~SmallFileSystem()
{
    if (m_mounted)
        ::umount2(m_dir.path().toLocal8Bit().constData(), MNT_DETACH);
}

QString SmallFileSystem::path(const QString& name) const
{
    return m_dir.filePath(name);
}
