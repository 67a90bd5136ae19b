#pragma once

#include <QString>
#include <QTemporaryDir>

// A tmpfs of a few kilobytes, to make writes fail for want of space. Needs
// the right to mount (the tests run as root); `isMounted()` says whether it
// could be had.
class SmallFileSystem
{
public:
    // `readOnly`: nobody, root included, may write in it (an installed
    // program's folder).
    explicit SmallFileSystem(int kilobytes, bool readOnly = false);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool isMounted() const { return m_mounted; }
    QString path(const QString& name) const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
