#include "TestWorkDir.h"

#include <QDir>

TestWorkDir::TestWorkDir() : m_previous(QDir::currentPath())
{
    Q_ASSERT(m_dir.isValid());
    QDir::setCurrent(m_dir.path());
}

TestWorkDir::~TestWorkDir()
{
    QDir::setCurrent(m_previous);
}
